#pragma once

#include "acadstrc.h"
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
