// The document-manager reactor that carries the quit sequence, and its runtime class.
#pragma once

#include "frame/host_interface.h"

class CMenuReactor : public AcApDocManagerReactor {
 public:
  static AcRxClass* desc();
  static CMenuReactor* cast(const AcRxObject* inPtr) {
    return (inPtr == nullptr || !inPtr->isKindOf(CMenuReactor::desc())) ? nullptr : (CMenuReactor*)inPtr;
  }
  AcRxClass* isA() const override;
  static void rxInit();

  explicit CMenuReactor(bool autoInitAndRelease = true);
  ~CMenuReactor() override;

  // The first QUIT or EXIT is held back: the projects go back to the stock library, the menu
  // is unloaded and the quit is issued again.
  void documentLockModeChanged(AcApDocument* param2, AcAp::DocLockMode myPreviousMode,
                               AcAp::DocLockMode myCurrentMode, AcAp::DocLockMode currentMode,
                               const ACHAR* pGlobalCmdName) override;

  virtual void Attach();
  virtual void Detach();
  virtual AcApDocManager* Subject() const;
  virtual bool IsAttached() const;

 private:
  static AcRxClass* gpDesc;
  bool mbAutoInitAndRelease;  // true while registered with the document manager
};

AcRxObject* makeCMenuReactor();

// Set once the quit sequence has run; it runs once per module lifetime.
extern bool partialCuiUnloaded;
// The document-manager reactor made at start-up; null before, or when it could not be made.
extern CMenuReactor* pMReactor;
