#pragma once

#include "acadstrc.h"
#include "rxboiler.h"
#include "rxobject.h"

struct AcAp {
  enum DocLockMode {
    kNone = 0x00,
    kAutoWrite = 0x01,
    kNotLocked = 0x02,
    kWrite = 0x04,
    kProtectedAutoWrite = 0x14,
    kRead = 0x20,
    kXWrite = 0x40,
  };
};

class AcApDocument;

class ACHOST_PORT AcApDocManagerReactor : public AcRxObject {
 public:
  ACRX_DECLARE_MEMBERS(AcApDocManagerReactor);
  virtual void documentCreateStarted(AcApDocument* pDocCreating);
  virtual void documentCreated(AcApDocument* pDocCreating);
  virtual void documentToBeDestroyed(AcApDocument* pDocToDestroy);
  virtual void documentLockModeWillChange(AcApDocument*, AcAp::DocLockMode myCurrentMode,
                                          AcAp::DocLockMode myNewMode, AcAp::DocLockMode currentMode,
                                          const ACHAR* pGlobalCmdName);
  virtual void documentLockModeChangeVetoed(AcApDocument*, const ACHAR* pGlobalCmdName);
  virtual void documentLockModeChanged(AcApDocument*, AcAp::DocLockMode myPreviousMode,
                                       AcAp::DocLockMode myCurrentMode, AcAp::DocLockMode currentMode,
                                       const ACHAR* pGlobalCmdName);
  virtual void documentBecameCurrent(AcApDocument*);
  virtual void documentActivated(AcApDocument* pActivatedDoc);

 protected:
  AcApDocManagerReactor() = default;
  // Refuses the lock change being reported, so the command that asked for it does not run.
  Acad::ErrorStatus veto();
};

class ACHOST_PORT AcApDocument : public AcRxObject {
 public:
  ACRX_DECLARE_MEMBERS(AcApDocument);
  virtual const ACHAR* fileName() const = 0;
  virtual const ACHAR* docTitle() const = 0;
  virtual AcAp::DocLockMode myLockMode() const = 0;
};

class ACHOST_PORT AcApDocManager : public AcRxObject {
 public:
  ACRX_DECLARE_MEMBERS(AcApDocManager);
  virtual AcApDocument* curDocument() const = 0;
  virtual AcApDocument* mdiActiveDocument() const = 0;
  virtual int documentCount() const = 0;
  virtual void addReactor(AcApDocManagerReactor* pReactor) = 0;
  virtual void removeReactor(AcApDocManagerReactor* pReactor) = 0;
  // Queues the string to run in that document as if typed, after whatever is queued already.
  virtual Acad::ErrorStatus sendStringToExecute(AcApDocument* pAcTargetDocument, const ACHAR* pszExecute,
                                                bool bActivate = true, bool bWrapUpInactiveDoc = false,
                                                bool bEchoString = true) = 0;
};

// The document manager; null when the host has none.
ACHOST_PORT AcApDocManager* acDocManagerPtr();
#define acDocManager acDocManagerPtr()
