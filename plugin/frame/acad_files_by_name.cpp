// Files settings through IDispatch, by property name: what every release's automation objects
// answer, whatever their type library's interface identifiers.
#include "frame/acad_files.h"

namespace {

const wchar_t* propertyName(FileSetting setting) {
  switch (setting) {
    case FileSetting::SupportPath: return L"SupportPath";
    case FileSetting::TemplateDwgPath: return L"TemplateDwgPath";
    case FileSetting::PlotLogFilePath: break;
  }
  return L"PlotLogFilePath";
}

// Raises the failure as the generated wrappers do: the server's own code and description when
// it reports an exception, the call's result otherwise.
void raise(HRESULT hr, EXCEPINFO& info) {
  if (hr != DISP_E_EXCEPTION) throw _com_error(hr);
  if (info.pfnDeferredFillIn) info.pfnDeferredFillIn(&info);
  const HRESULT code = info.scode ? info.scode : info.wCode ? MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, info.wCode) : hr;
  IErrorInfo* errorInfo = nullptr;
  ICreateErrorInfo* create = nullptr;
  if (SUCCEEDED(CreateErrorInfo(&create))) {
    create->SetSource(info.bstrSource);
    create->SetDescription(info.bstrDescription);
    create->SetHelpFile(info.bstrHelpFile);
    create->SetHelpContext(info.dwHelpContext);
    if (FAILED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&errorInfo)))) errorInfo = nullptr;
    create->Release();
  }
  SysFreeString(info.bstrSource);
  SysFreeString(info.bstrDescription);
  SysFreeString(info.bstrHelpFile);
  throw _com_error(code, errorInfo);  // takes over the reference
}

DISPID dispatchId(IDispatch* object, const wchar_t* name) {
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  DISPID id = DISPID_UNKNOWN;
  const HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) _com_issue_error(hr);
  return id;
}

_variant_t getProperty(IDispatch* object, const wchar_t* name) {
  const DISPID id = dispatchId(object, name);
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  _variant_t result;
  EXCEPINFO info = {};
  const HRESULT hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &result, &info, nullptr);
  if (FAILED(hr)) raise(hr, info);
  return result;
}

void putProperty(IDispatch* object, const wchar_t* name, const _variant_t& value) {
  const DISPID id = dispatchId(object, name);
  DISPID named = DISPID_PROPERTYPUT;
  VARIANTARG argument = value;  // a shallow copy: Invoke does not take it over
  DISPPARAMS params = {&argument, &named, 1, 1};
  EXCEPINFO info = {};
  const HRESULT hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr, &info, nullptr);
  if (FAILED(hr)) raise(hr, info);
}

IDispatchPtr objectProperty(IDispatch* object, const wchar_t* name) {
  _variant_t value = getProperty(object, name);
  if (value.vt != VT_DISPATCH || !value.pdispVal) _com_issue_error(DISP_E_TYPEMISMATCH);
  return IDispatchPtr(value.pdispVal);
}

}  // namespace

AcadFiles AcadFiles::open() {
  IDispatchPtr app = acad_application();
  if (!app) _com_issue_error(E_POINTER);
  return AcadFiles(objectProperty(objectProperty(app, L"Preferences"), L"Files"));
}

std::wstring AcadFiles::get(FileSetting setting) const {
  _variant_t value = getProperty(files_, propertyName(setting));
  if (value.vt != VT_BSTR) value.ChangeType(VT_BSTR);
  return value.bstrVal ? std::wstring(value.bstrVal, SysStringLen(value.bstrVal)) : std::wstring();
}

void AcadFiles::put(FileSetting setting, const std::wstring& value) const {
  putProperty(files_, propertyName(setting), _variant_t(value.c_str()));
}
