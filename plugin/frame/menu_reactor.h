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

  virtual void Attach();
  virtual void Detach();
  virtual AcRxObject* Subject() const;
  virtual bool IsAttached() const;

 private:
  static AcRxClass* gpDesc;
  bool mbAutoInitAndRelease;
};

AcRxObject* makeCMenuReactor();
