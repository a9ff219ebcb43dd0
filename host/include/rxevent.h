#pragma once

#include "rxboiler.h"
#include "rxobject.h"

class ACHOST_PORT AcRxEventReactor : public AcRxObject {
 public:
  ACRX_DECLARE_MEMBERS(AcRxEventReactor);
};

// An event source that reactors register with.
class ACHOST_PORT AcRxEvent : public AcRxObject {
 public:
  ACRX_DECLARE_MEMBERS(AcRxEvent);
  virtual void addReactor(AcRxEventReactor* newObj) = 0;
  virtual void removeReactor(AcRxEventReactor* delObj) = 0;
};
