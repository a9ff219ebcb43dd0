// The command stack. Like the SDK's, this header takes HINSTANCE from the Windows headers
// (or the framework's) that the unit includes before it.
#pragma once

#include "acadstrc.h"
#include "rxboiler.h"
#include "rxdict.h"
#include "rxobject.h"

typedef void (*AcRxFunctionPtr)();

#define ACRX_COMMAND_DOCK ACRX_T("ACAD_REGISTERED_COMMANDS")

#define ACRX_CMD_MODAL 0x00000000
#define ACRX_CMD_TRANSPARENT 0x00000001
#define ACRX_CMD_USEPICKSET 0x00000002
#define ACRX_CMD_REDRAW 0x00000004
#define ACRX_CMD_NOPERSPECTIVE 0x00000008
#define ACRX_CMD_NOMULTIPLE 0x00000010
#define ACRX_CMD_NOTILEMODE 0x00000020
#define ACRX_CMD_NOPAPERSPACE 0x00000040
#define ACRX_CMD_NOOEM 0x00000100
#define ACRX_CMD_UNDEFINED 0x00000200
#define ACRX_CMD_INPROGRESS 0x00000400
#define ACRX_CMD_DEFUN 0x00000800
#define ACRX_CMD_NONEWSTACK 0x00010000
#define ACRX_CMD_NOINTERNALLOCK 0x00020000
#define ACRX_CMD_DOCREADLOCK 0x00080000
#define ACRX_CMD_DOCEXCLUSIVELOCK 0x00100000
#define ACRX_CMD_SESSION 0x00200000
#define ACRX_CMD_INTERRUPTIBLE 0x00400000
#define ACRX_CMD_NOHISTORY 0x00800000

class AcEdUIContext;

class ACHOST_PORT AcEdCommand : public AcRxObject {
 public:
  ACRX_DECLARE_MEMBERS(AcEdCommand);
  virtual AcRxFunctionPtr functionAddr() const = 0;
  virtual Adesk::Int32 commandFlags() const = 0;
  virtual const ACHAR* globalName() const = 0;
  virtual const ACHAR* localName() const = 0;
// Declared as the SDK declares it, const and all.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wignored-qualifiers"
#endif
  virtual const HINSTANCE resourceHandle() const = 0;
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
};

class ACHOST_PORT AcEdCommandStack : public AcRxObject {
 public:
  ACRX_DECLARE_MEMBERS(AcEdCommandStack);
  virtual Acad::ErrorStatus addCommand(const ACHAR* cmdGroupName, const ACHAR* cmdGlobalName,
                                       const ACHAR* cmdLocalName, Adesk::Int32 commandFlags,
                                       AcRxFunctionPtr FunctionAddr, AcEdUIContext* UIContext = nullptr,
                                       int fcode = -1, HINSTANCE hResourceHandle = nullptr,
                                       AcEdCommand** cmdPtrRet = nullptr) = 0;
  virtual AcEdCommand* lookupGlobalCmd(const ACHAR* cmdName) = 0;
  virtual AcEdCommand* lookupLocalCmd(const ACHAR* cmdName) = 0;
  virtual AcEdCommand* lookupCmd(const ACHAR* cmdName, bool globalFlag) = 0;
  virtual Acad::ErrorStatus removeCmd(const ACHAR* cmdGroupName, const ACHAR* cmdGlobalName) = 0;
  virtual Acad::ErrorStatus removeGroup(const ACHAR* groupName) = 0;
};

#define acedRegCmds AcEdCommandStack::cast(acrxSysRegistry()->at(ACRX_COMMAND_DOCK))
