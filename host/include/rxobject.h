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
