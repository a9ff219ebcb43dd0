#pragma once

#include "acadhost/port.h"
#include "rxdefs.h"

class AcRxClass;

class ACHOST_PORT AcRxObject {
 public:
  virtual ~AcRxObject();
  static AcRxClass* desc();
  static AcRxObject* cast(const AcRxObject* inPtr) { return const_cast<AcRxObject*>(inPtr); }
  virtual AcRxClass* isA() const;
  bool isKindOf(const AcRxClass* aClass) const;
};

// Declares desc(), cast() and isA() the way the host's own classes do.
#define ACRX_DECLARE_MEMBERS(CLASS_NAME)                                                        \
  static AcRxClass* desc();                                                                     \
  static CLASS_NAME* cast(const AcRxObject* inPtr) {                                            \
    return (inPtr == nullptr || !inPtr->isKindOf(CLASS_NAME::desc())) ? nullptr                 \
                                                                      : (CLASS_NAME*)inPtr;     \
  }                                                                                             \
  virtual AcRxClass* isA() const override

typedef AcRxObject* (*AppNameChangeFuncPtr)(const AcRxClass*, ACHAR*&, int);

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
ACHOST_PORT void acrxBuildClassHierarchy();
ACHOST_PORT int acrx_abort(const ACHAR* format, ...);
