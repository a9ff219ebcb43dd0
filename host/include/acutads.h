#pragma once

#include "acadhost/port.h"
#include "adsdef.h"

ACHOST_PORT int acutPrintf(const ACHAR* format, ...);
ACHOST_PORT struct resbuf* acutNewRb(int v);
ACHOST_PORT int acutRelRb(struct resbuf* rb);
ACHOST_PORT struct resbuf* acutBuildList(int rtype, ...);
