// The macros that give a class derived from AcRxObject its runtime identity.
#pragma once

#include "acadhost/port.h"
#include "AdAChar.h"

class AcRxClass;
class AcRxObject;

// Ends the process with a message: for a fault the module cannot go on from.
extern "C" ACHOST_PORT void acrx_abort(const ACHAR* format, ...);

// Declares desc(), cast() and isA() the way the host's own classes do.
#define ACRX_DECLARE_MEMBERS(CLASS_NAME)                                                        \
  static AcRxClass* desc();                                                                     \
  static CLASS_NAME* cast(const AcRxObject* inPtr) {                                            \
    return (inPtr == nullptr || !inPtr->isKindOf(CLASS_NAME::desc())) ? nullptr                 \
                                                                      : (CLASS_NAME*)inPtr;     \
  }                                                                                             \
  virtual AcRxClass* isA() const override
