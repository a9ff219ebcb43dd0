#pragma once

#include "AdAChar.h"
#include "adesk.h"

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

typedef void (*AcRxFunctionPtr)();

#define ACRX_DYNAMIC_LINKER ACRX_T("DynamicLinker")
#define ACRX_CLASS_DICTIONARY ACRX_T("ClassDictionary")
#define ACRX_COMMAND_DOCK ACRX_T("ACAD_REGISTERED_COMMANDS")
#define ACAD_EDITOR_OBJ ACRX_T("AcEditor")
