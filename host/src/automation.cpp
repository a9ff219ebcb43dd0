// AutoCAD's automation objects: the application, its preferences and their Files page. The
// file settings persist where AutoCAD keeps them, in the profile's General key: a value still
// missing when a session starts is seeded with AutoCAD's default, every value is read then,
// and each change is written at once.
#include <afxwin.h>

#include <shlobj.h>

#include <map>
#include <vector>

#include "acax20ENU.tlh"
#include "host.h"
#include "win32/handles.h"
#include "win32/registry.h"
#include "rxmfcapi.h"
#include "win32/system_message.h"

namespace acadhost {

namespace {

const wchar_t kSupportValue[] = L"ACAD";
const wchar_t kTemplateValue[] = L"TemplatePath";
const wchar_t kPlotLogValue[] = L"PlotLogPath";

struct FileSettings {
  std::wstring support, templates, plotLog;
};

FileSettings g_files;
std::map<std::wstring, HRESULT> g_failures;  // raw accessor name -> HRESULT it returns
bool g_applicationMissing = false;
long g_references = 0;

std::wstring generalKey() { return profileRoot() + L"\\General"; }

LONG writeString(const wchar_t* name, const std::wstring& value) {
  kvs::RegKey key;
  LONG rc = RegCreateKeyExW(HKEY_CURRENT_USER, generalKey().c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr);
  if (rc != ERROR_SUCCESS) return rc;
  return kvs::write_string_value(key.get(), name, value);
}

FileSettings firstStartSettings(const ReleaseInfo& release, bool russian) {
  wchar_t local[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, local)))
    wcscpy(local, L"C:");
  std::wstring year = std::to_wstring(release.year);
  std::wstring localRoot = std::wstring(local) + L"\\Autodesk\\" + productFolderName(release.year) + L"\\" + release.rkey +
                           (russian ? L"\\rus\\" : L"\\enu\\");
  std::wstring roaming;
  {
    kvs::RegKey product;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, productRoot().c_str(), 0, KEY_QUERY_VALUE, product.put()) == ERROR_SUCCESS)
      kvs::read_string_value(product.get(), L"RoamableRootFolder", roaming);
  }
  std::wstring program = L"C:\\Program Files\\Autodesk\\AutoCAD " + year + L"\\";
  FileSettings s;
  s.support = roaming + L"support;" + program + L"support;" + program + L"fonts;" + program + L"help;" + program +
              L"Express;" + program + L"support\\color";
  s.templates = localRoot + L"Template";
  s.plotLog = localRoot;
  return s;
}

HRESULT injected(const wchar_t* accessor) {
  auto it = g_failures.find(accessor);
  return it == g_failures.end() ? S_OK : it->second;
}

HRESULT getString(const wchar_t* accessor, const std::wstring& value, BSTR* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (HRESULT hr = injected(accessor); FAILED(hr)) return hr;
  *out = SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT putString(const wchar_t* accessor, const wchar_t* valueName, std::wstring& setting, BSTR value) {
  if (HRESULT hr = injected(accessor); FAILED(hr)) return hr;
  std::wstring text(value ? value : L"", value ? SysStringLen(value) : 0);
  if (LONG rc = writeString(valueName, text); rc != ERROR_SUCCESS) return HRESULT_FROM_WIN32(rc);
  setting = text;
  return S_OK;
}

// The type library the host's dual interfaces come from is the R20 family's; later releases
// carry other interface IDs, so there only IUnknown and IDispatch answer.
bool answersR20Interfaces() {
  const ReleaseInfo* release = Host::get().release;
  return !release || release->apiMajor <= 20;
}

// A late-bound call's failure, reported as automation servers do: the exception with the
// system's text when the caller takes one, else the HRESULT itself.
HRESULT raise(HRESULT hr, EXCEPINFO* info) {
  if (!info) return hr;
  *info = {};
  info->scode = hr;
  info->bstrSource = SysAllocString(L"AutoCAD.Application");
  DWORD code = HRESULT_FACILITY(hr) == FACILITY_WIN32 ? HRESULT_CODE(hr) : static_cast<DWORD>(hr);
  wchar_t hex[16];
  swprintf(hex, 16, L"0x%08lX", static_cast<unsigned long>(hr));
  std::wstring text;
  if (!kvs::system_text(code, 0, text)) text = std::wstring(L"Error ") + hex;
  info->bstrDescription = SysAllocString(text.c_str());
  return DISP_E_EXCEPTION;
}

// IUnknown and IDispatch of an object that lives as long as the host. Late binding knows the
// properties by name (DISPID = place in properties() + 1) and calls the same raw accessors.
template <typename Interface>
class AutomationObject : public Interface {
 public:
  HRESULT __stdcall QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || (riid == __uuidof(Interface) && answersR20Interfaces())) {
      *out = static_cast<Interface*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG __stdcall AddRef() override { return static_cast<ULONG>(++g_references); }
  ULONG __stdcall Release() override { return static_cast<ULONG>(--g_references); }
  HRESULT __stdcall GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT __stdcall GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return E_NOTIMPL;
  }
  HRESULT __stdcall GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (!names || !ids) return E_POINTER;
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    if (count == 0) return S_OK;
    const std::vector<const wchar_t*> known = properties();
    for (std::size_t p = 0; p < known.size(); ++p)
      if (names[0] && _wcsicmp(names[0], known[p]) == 0) ids[0] = static_cast<DISPID>(p + 1);
    // The properties take no named arguments.
    if (ids[0] == DISPID_UNKNOWN || count > 1) hr = DISP_E_UNKNOWNNAME;
    return hr;
  }
  HRESULT __stdcall Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                           EXCEPINFO* info, UINT* argError) override {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (id < 1 || static_cast<std::size_t>(id) > properties().size()) return DISP_E_MEMBERNOTFOUND;
    if (!params) return E_INVALIDARG;
    if (flags & DISPATCH_PROPERTYGET) {
      if (params->cArgs != 0) return DISP_E_BADPARAMCOUNT;
      VARIANT value;
      VariantInit(&value);
      if (HRESULT hr = getProperty(id, &value); FAILED(hr)) return raise(hr, info);
      if (result) {
        *result = value;  // the caller's VARIANT is an out-parameter, not one to clear
      } else {
        VariantClear(&value);
      }
      return S_OK;
    }
    if (flags & DISPATCH_PROPERTYPUT) {
      if (params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
      if (params->cNamedArgs != 1 || !params->rgdispidNamedArgs || params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
        return DISP_E_PARAMNOTOPTIONAL;
      VARIANT text;
      VariantInit(&text);
      if (FAILED(VariantChangeType(&text, &params->rgvarg[0], 0, VT_BSTR))) {
        if (argError) *argError = 0;
        return DISP_E_TYPEMISMATCH;
      }
      HRESULT hr = putProperty(id, V_BSTR(&text));
      VariantClear(&text);
      // A property that cannot be put is the dispatch's own answer, not a failure of the object.
      if (hr == DISP_E_MEMBERNOTFOUND) return hr;
      return FAILED(hr) ? raise(hr, info) : S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
  }

 protected:
  virtual std::vector<const wchar_t*> properties() const = 0;
  virtual HRESULT getProperty(DISPID id, VARIANT* value) = 0;
  virtual HRESULT putProperty(DISPID, BSTR) { return DISP_E_MEMBERNOTFOUND; }  // read-only unless told
};

HRESULT stringResult(HRESULT hr, BSTR text, VARIANT* value) {
  if (FAILED(hr)) return hr;
  V_VT(value) = VT_BSTR;
  V_BSTR(value) = text;
  return S_OK;
}

// A late-bound read of an object property: what the object's own accessor hands out.
template <typename Owner, typename Child>
HRESULT objectResult(Owner* owner, HRESULT (__stdcall Owner::*accessor)(Child**), VARIANT* value) {
  Child* object = nullptr;
  if (HRESULT hr = (owner->*accessor)(&object); FAILED(hr)) return hr;
  V_VT(value) = VT_DISPATCH;
  V_DISPATCH(value) = object;  // the reference the accessor added goes to the caller
  return S_OK;
}

class PreferencesFiles : public AutomationObject<IAcadPreferencesFiles> {
 public:
  HRESULT __stdcall get_SupportPath(BSTR* path) override { return getString(L"get_SupportPath", g_files.support, path); }
  HRESULT __stdcall put_SupportPath(BSTR path) override {
    return putString(L"put_SupportPath", kSupportValue, g_files.support, path);
  }
  HRESULT __stdcall get_TemplateDwgPath(BSTR* path) override {
    return getString(L"get_TemplateDwgPath", g_files.templates, path);
  }
  HRESULT __stdcall put_TemplateDwgPath(BSTR path) override {
    return putString(L"put_TemplateDwgPath", kTemplateValue, g_files.templates, path);
  }
  HRESULT __stdcall get_PlotLogFilePath(BSTR* path) override {
    return getString(L"get_PlotLogFilePath", g_files.plotLog, path);
  }
  HRESULT __stdcall put_PlotLogFilePath(BSTR path) override {
    return putString(L"put_PlotLogFilePath", kPlotLogValue, g_files.plotLog, path);
  }

 protected:
  std::vector<const wchar_t*> properties() const override {
    return {L"SupportPath", L"TemplateDwgPath", L"PlotLogFilePath"};
  }
  HRESULT getProperty(DISPID id, VARIANT* value) override {
    BSTR text = nullptr;
    HRESULT hr = id == 1 ? get_SupportPath(&text) : id == 2 ? get_TemplateDwgPath(&text) : get_PlotLogFilePath(&text);
    return stringResult(hr, text, value);
  }
  HRESULT putProperty(DISPID id, BSTR text) override {
    return id == 1 ? put_SupportPath(text) : id == 2 ? put_TemplateDwgPath(text) : put_PlotLogFilePath(text);
  }
};

template <typename Interface>
HRESULT handOut(const wchar_t* accessor, Interface* object, Interface** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (HRESULT hr = injected(accessor); FAILED(hr)) return hr;
  object->AddRef();
  *out = object;
  return S_OK;
}

class Preferences : public AutomationObject<IAcadPreferences> {
 public:
  HRESULT __stdcall get_Files(IAcadPreferencesFiles** files) override { return handOut<IAcadPreferencesFiles>(L"get_Files", &files_, files); }

 protected:
  std::vector<const wchar_t*> properties() const override { return {L"Files"}; }
  HRESULT getProperty(DISPID, VARIANT* value) override { return objectResult(this, &Preferences::get_Files, value); }

 private:
  PreferencesFiles files_;
};

class Application : public AutomationObject<IAcadApplication> {
 public:
  HRESULT __stdcall get_Preferences(IAcadPreferences** preferences) override {
    return handOut<IAcadPreferences>(L"get_Preferences", &preferences_, preferences);
  }

 protected:
  std::vector<const wchar_t*> properties() const override { return {L"Preferences"}; }
  HRESULT getProperty(DISPID, VARIANT* value) override {
    return objectResult(this, &Application::get_Preferences, value);
  }

 private:
  Preferences preferences_;
};

class AcadWinApp : public CWinApp {
 public:
  AcadWinApp() : CWinApp(L"AutoCAD") {}
  void attach(IDispatch* dispatch) { m_pDispatch = dispatch; }
};

Application& application() {
  static Application* app = new Application;
  return *app;
}

}  // namespace

void loadFileSettings(const ReleaseInfo& release, bool russian) {
  const FileSettings seeds = firstStartSettings(release, russian);
  kvs::RegKey key;
  RegCreateKeyExW(HKEY_CURRENT_USER, generalKey().c_str(), 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                  key.put(), nullptr);
  const std::pair<const wchar_t*, std::wstring FileSettings::*> values[] = {
      {kSupportValue, &FileSettings::support}, {kTemplateValue, &FileSettings::templates},
      {kPlotLogValue, &FileSettings::plotLog}};
  for (const auto& [name, member] : values) {
    if (key.get() && kvs::read_string_value(key.get(), name, g_files.*member) == ERROR_SUCCESS) continue;
    g_files.*member = seeds.*member;
    writeString(name, g_files.*member);
  }
}

void failAutomation(const std::wstring& accessor, HRESULT hr) { g_failures[accessor] = hr; }
void setAutomationMissing(bool missing) { g_applicationMissing = missing; }
void clearAutomationFailures() {
  g_failures.clear();
  g_applicationMissing = false;
}
long automationReferences() { return g_references; }

}  // namespace acadhost

CWinApp* acedGetAcadWinApp() {
  static acadhost::AcadWinApp* app = new acadhost::AcadWinApp;
  app->attach(acadhost::g_applicationMissing ? nullptr : static_cast<IDispatch*>(&acadhost::application()));
  return app;
}
