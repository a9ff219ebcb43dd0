// AutoCAD's Files settings (Options dialog, Files tab), reached through its automation objects:
// Application.Preferences.Files. Every call that fails raises _com_error.
//
// The module of the ObjectARX family that shipped the type library we import binds through its
// interfaces; the modules of later families bind by name through IDispatch, so that no
// interface identifier of a later type library has to be known. Each module links one of
// acad_files_typed.cpp and acad_files_by_name.cpp.
#pragma once

#include "frame/host_interface.h"

#include <comdef.h>

#include <string>

// MinGW-w64's <comdef.h> declares the standard interface smart pointers only with
// USE___UUIDOF; Visual C++'s declares IDispatchPtr, which AutoCAD's application hands out.
#if !defined(_MSC_VER) && !USE___UUIDOF
_COM_SMARTPTR_TYPEDEF(IDispatch, __uuidof(IDispatch));
#endif

enum class FileSetting { SupportPath, TemplateDwgPath, PlotLogFilePath };

class AcadFiles {
 public:
  // The running AutoCAD's Files object.
  static AcadFiles open();
  std::wstring get(FileSetting setting) const;
  void put(FileSetting setting, const std::wstring& value) const;

 private:
  explicit AcadFiles(IDispatchPtr files) : files_(std::move(files)) {}
  IDispatchPtr files_;
};

// The application object AutoCAD hands out; GetIDispatch(TRUE) gives us a reference, which
// the holder takes over rather than adding one.
inline IDispatchPtr acad_application() { return IDispatchPtr(acedGetAcadWinApp()->GetIDispatch(TRUE), false); }
