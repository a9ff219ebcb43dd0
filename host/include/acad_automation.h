// AutoCAD's automation interfaces, the part of the 2015 type library the add-on uses, in the
// form a type-library import gives them: raw property accessors returning HRESULTs, and
// wrappers (GetSupportPath, PutSupportPath, ...) that raise _com_error on a failure.
#pragma once

#include <comdef.h>

// MinGW-w64's <comdef.h> declares the standard interface smart pointers only with
// USE___UUIDOF; the one AutoCAD's application hands out is needed here.
#if !defined(_MSC_VER) && !USE___UUIDOF
_COM_SMARTPTR_TYPEDEF(IDispatch, __uuidof(IDispatch));
#endif

struct IAcadApplication;
struct IAcadPreferences;
struct IAcadPreferencesFiles;

__CRT_UUID_DECL(IAcadApplication, 0x1C9CCE52, 0xF48B, 0x42CC, 0x87, 0x7B, 0xF7, 0x49, 0x05, 0xEC, 0x7D, 0xBC)
__CRT_UUID_DECL(IAcadPreferences, 0x09C5A76D, 0xD972, 0x48CE, 0xB8, 0x5E, 0xF2, 0x18, 0x39, 0xEF, 0x55, 0x7A)
__CRT_UUID_DECL(IAcadPreferencesFiles, 0xB007F777, 0x7DAD, 0x4FB5, 0x9F, 0xCA, 0xBE, 0xF0, 0x91, 0x2E, 0x0B, 0xEA)

_COM_SMARTPTR_TYPEDEF(IAcadApplication, __uuidof(IAcadApplication));
_COM_SMARTPTR_TYPEDEF(IAcadPreferences, __uuidof(IAcadPreferences));
_COM_SMARTPTR_TYPEDEF(IAcadPreferencesFiles, __uuidof(IAcadPreferencesFiles));

struct IAcadPreferencesFiles : IDispatch {
  _bstr_t GetSupportPath();
  void PutSupportPath(_bstr_t path);
  _bstr_t GetTemplateDwgPath();
  void PutTemplateDwgPath(_bstr_t path);
  _bstr_t GetPlotLogFilePath();
  void PutPlotLogFilePath(_bstr_t path);

  virtual HRESULT __stdcall get_SupportPath(BSTR* path) = 0;
  virtual HRESULT __stdcall put_SupportPath(BSTR path) = 0;
  virtual HRESULT __stdcall get_TemplateDwgPath(BSTR* path) = 0;
  virtual HRESULT __stdcall put_TemplateDwgPath(BSTR path) = 0;
  virtual HRESULT __stdcall get_PlotLogFilePath(BSTR* path) = 0;
  virtual HRESULT __stdcall put_PlotLogFilePath(BSTR path) = 0;
};

struct IAcadPreferences : IDispatch {
  IAcadPreferencesFilesPtr GetFiles();

  virtual HRESULT __stdcall get_Files(IAcadPreferencesFiles** files) = 0;
};

struct IAcadApplication : IDispatch {
  IAcadPreferencesPtr GetPreferences();

  virtual HRESULT __stdcall get_Preferences(IAcadPreferences** preferences) = 0;
};

namespace acad_automation_detail {

template <typename Interface>
_bstr_t getString(Interface* self, HRESULT (__stdcall Interface::*get)(BSTR*)) {
  BSTR result = nullptr;
  HRESULT hr = (self->*get)(&result);
  if (FAILED(hr)) _com_issue_errorex(hr, self, __uuidof(Interface));
  return _bstr_t(result, false);
}

template <typename Interface>
void putString(Interface* self, HRESULT (__stdcall Interface::*put)(BSTR), const _bstr_t& value) {
  HRESULT hr = (self->*put)(value);
  if (FAILED(hr)) _com_issue_errorex(hr, self, __uuidof(Interface));
}

}  // namespace acad_automation_detail

inline _bstr_t IAcadPreferencesFiles::GetSupportPath() {
  return acad_automation_detail::getString(this, &IAcadPreferencesFiles::get_SupportPath);
}
inline void IAcadPreferencesFiles::PutSupportPath(_bstr_t path) {
  acad_automation_detail::putString(this, &IAcadPreferencesFiles::put_SupportPath, path);
}
inline _bstr_t IAcadPreferencesFiles::GetTemplateDwgPath() {
  return acad_automation_detail::getString(this, &IAcadPreferencesFiles::get_TemplateDwgPath);
}
inline void IAcadPreferencesFiles::PutTemplateDwgPath(_bstr_t path) {
  acad_automation_detail::putString(this, &IAcadPreferencesFiles::put_TemplateDwgPath, path);
}
inline _bstr_t IAcadPreferencesFiles::GetPlotLogFilePath() {
  return acad_automation_detail::getString(this, &IAcadPreferencesFiles::get_PlotLogFilePath);
}
inline void IAcadPreferencesFiles::PutPlotLogFilePath(_bstr_t path) {
  acad_automation_detail::putString(this, &IAcadPreferencesFiles::put_PlotLogFilePath, path);
}

inline IAcadPreferencesFilesPtr IAcadPreferences::GetFiles() {
  IAcadPreferencesFiles* files = nullptr;
  HRESULT hr = get_Files(&files);
  if (FAILED(hr)) _com_issue_errorex(hr, this, __uuidof(IAcadPreferences));
  return IAcadPreferencesFilesPtr(files, false);
}

inline IAcadPreferencesPtr IAcadApplication::GetPreferences() {
  IAcadPreferences* preferences = nullptr;
  HRESULT hr = get_Preferences(&preferences);
  if (FAILED(hr)) _com_issue_errorex(hr, this, __uuidof(IAcadApplication));
  return IAcadPreferencesPtr(preferences, false);
}
