// The product's services to the database layer: here, the per-user registry root.
#include "dbapserv.h"

#include "host.h"

const ACHAR* AcDbHostApplicationServices::getUserRegistryProductRootKey() {
  static std::wstring root;
  root = acadhost::productRoot();
  return root.c_str();
}

AcDbHostApplicationServices* acdbHostApplicationServices() {
  static AcDbHostApplicationServices* services = new AcDbHostApplicationServices;
  return services;
}
