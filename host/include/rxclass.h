#pragma once

#include "rxboiler.h"
#include "rxobject.h"

class ACHOST_PORT AcRxClass : public AcRxObject {
 public:
  ACRX_DECLARE_MEMBERS(AcRxClass);
  const ACHAR* name() const;
  AcRxClass* myParent() const;
  AcRxObject* create();
  bool isDerivedFrom(const AcRxClass* other) const;

  struct Impl;
  explicit AcRxClass(Impl* impl);
  ~AcRxClass() override;
  Impl* impl() const { return impl_; }

 private:
  Impl* impl_;
};

ACHOST_PORT AcRxClass* newAcRxClass(const ACHAR* className, const ACHAR* parentClassName,
                                    int proxyFlags = 0, AcRxObject* (*pseudoConstructor)() = nullptr,
                                    const ACHAR* dxfName = nullptr, const ACHAR* appName = nullptr);
ACHOST_PORT void deleteAcRxClass(AcRxClass* pClassObj);
// Links every registered class to its parent, once a module has added its own.
ACHOST_PORT void acrxBuildClassHierarchy();
