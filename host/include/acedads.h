#pragma once

#include "acadhost/port.h"
#include "adsdef.h"

ACHOST_PORT int acedGetVar(const ACHAR* sym, struct resbuf* result);
ACHOST_PORT int acedSetVar(const ACHAR* sym, const struct resbuf* val);
ACHOST_PORT int acedDefun(const ACHAR* pszName, int nFuncNum);
ACHOST_PORT int acedUndef(const ACHAR* sname, int nFuncNum);
ACHOST_PORT int acedRegFunc(int (*fhdl)(void), int fcode);
ACHOST_PORT int acedGetFunCode();
ACHOST_PORT int acedInvoke(const struct resbuf* args, struct resbuf** result);
// Queues AutoLISP text for AutoCAD to evaluate once it is ready for a command.
ACHOST_PORT int ads_queueexpr(const ACHAR* expr);
