// Registration services: the runtime class tree and the emergency exit.
#pragma once

#include "acadhost/port.h"
#include "rxdefs.h"

ACHOST_PORT void acrxBuildClassHierarchy();
ACHOST_PORT int acrx_abort(const ACHAR* format, ...);
