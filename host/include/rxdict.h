#pragma once

#include "rxboiler.h"
#include "rxnames.h"
#include "rxobject.h"

class ACHOST_PORT AcRxDictionary : public AcRxObject {
 public:
  ACRX_DECLARE_MEMBERS(AcRxDictionary);
  virtual AcRxObject* at(const ACHAR* key) const = 0;
  virtual AcRxObject* atPut(const ACHAR* key, AcRxObject* pObject) = 0;
  virtual AcRxObject* remove(const ACHAR* key) = 0;
  virtual bool has(const ACHAR* entryName) const = 0;
  virtual Adesk::UInt32 numEntries() const = 0;
};

extern "C" ACHOST_PORT AcRxDictionary* acrxSysRegistry();

#define acrxClassDictionary AcRxDictionary::cast(acrxSysRegistry()->at(ACRX_CLASS_DICTIONARY))
