#pragma once

#include "acadhost/port.h"
#include "AdAChar.h"

// The services the running product offers to the database layer; only what the add-on uses.
class AcDbHostApplicationServices {
 public:
  virtual ~AcDbHostApplicationServices() = default;
  // The product's per-user registry root under HKEY_CURRENT_USER, for example
  // "Software\Autodesk\AutoCAD\R24.3\ACAD-7107:409".
  ACHOST_PORT virtual const ACHAR* getUserRegistryProductRootKey();
};

ACHOST_PORT AcDbHostApplicationServices* acdbHostApplicationServices();
