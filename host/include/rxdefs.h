#pragma once

#include "AdAChar.h"
#include "adesk.h"

class AcRxClass;

// Called when a class's application name is asked for a file of an older version.
typedef void (*AppNameChangeFuncPtr)(const AcRxClass* classObj, ACHAR*& newAppName, int saveVer);

struct AcRx {
  enum AppMsgCode {
    kNullMsg = 0,
    kInitAppMsg = 1,
    kUnloadAppMsg = 2,
    kLoadDwgMsg = 3,
    kUnloadDwgMsg = 4,
    kInvkSubrMsg = 5,
    kCfgMsg = 6,
    kEndMsg = 7,
    kQuitMsg = 8,
    kSaveMsg = 9,
    kDependencyMsg = 10,
    kNoDependencyMsg = 11,
    kOleUnloadAppMsg = 12,
    kPreQuitMsg = 13,
    kInitDialogMsg = 14,
    kEndDialogMsg = 15,
    kSuspendMsg = 16,
  };
  enum AppRetCode { kRetOK = 0, kRetError = 3 };
};
