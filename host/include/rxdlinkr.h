#pragma once

#include "rxboiler.h"
#include "rxdict.h"
#include "rxnames.h"
#include "rxobject.h"

class ACHOST_PORT AcRxDynamicLinker : public AcRxObject {
 public:
  ACRX_DECLARE_MEMBERS(AcRxDynamicLinker);
  virtual bool loadModule(const ACHAR* fileName, bool printit, bool asCmd = false) = 0;
  virtual bool unloadModule(const ACHAR* fileName, bool asCmd = false) = 0;
  virtual bool unlockApplication(void* appId) const = 0;
  virtual bool lockApplication(void* appId) const = 0;
  virtual bool isApplicationLocked(const ACHAR* modulename) const = 0;
  virtual bool registerAppMDIAware(void* appId) const = 0;
  virtual bool registerAppNotMDIAware(void* appId) const = 0;
};

#define acrxDynamicLinker AcRxDynamicLinker::cast(acrxSysRegistry()->at(ACRX_DYNAMIC_LINKER))
