// The host as each release of AutoCAD and ACADE presents itself: product key, _VERNUM, the
// ObjectARX version it takes, the first-start profile, automation by name and bundle loading.
#include <afxwin.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "acadhost/host_api.h"
#include "acax20ENU.tlh"
#include "acedads.h"
#include "adscodes.h"
#include "dbapserv.h"
#include "rxmfcapi.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

const std::wstring kProducts = L"Software\\Autodesk\\AutoCAD\\";

// Russian builds: no other test uses their keys, so each case may start from no profile.
acadhost::SessionOptions russian(int release, bool plain = false) {
  acadhost::SessionOptions options;
  options.release = release;
  options.russian = true;
  options.plainAutocad = plain;
  return options;
}

class HostRelease : public ::testing::Test {
 protected:
  void SetUp() override { acadhost::setEcho(false); }
  void TearDown() override {
    acadhost::clearAutomationFailures();
    acadhost::endSession();
    EXPECT_EQ(acadhost::automationReferences(), 0) << "every interface reference is released";
    acadhost::setEcho(true);
  }
  static std::wstring var(const wchar_t* name) {
    resbuf rb{};
    if (acedGetVar(name, &rb) != RTNORM) return L"";
    std::wstring value = rb.resval.rstring;
    std::free(rb.resval.rstring);
    return value;
  }
};

TEST_F(HostRelease, EachReleaseHasItsKeyVernumApiAndProfileEncoding) {
  struct Row {
    int year;
    bool plain;
    const wchar_t* product;  // under Software\Autodesk\AutoCAD
    const wchar_t* vernum;   // how _VERNUM begins
    int api;
    const char* envStart;    // wd.env's first bytes; null: no ACADE profile
  } rows[] = {
      {2015, false, L"R20.0\\ACAD-E007:419", L"J.", 20, "****"},
      {2016, false, L"R20.1\\ACAD-F007:419", L"M.", 20, "\xFF\xFE*\0"},
      {2017, false, L"R21.0\\ACAD-0007:419", L"N.", 21, "\xFF\xFE*\0"},
      {2024, false, L"R24.3\\ACAD-7107:419", L"U.", 24, "\xFF\xFE*\0"},
      {2026, false, L"R25.1\\ACAD-9107:419", L"W.", 25, "\xFF\xFE*\0"},
      {2027, false, L"R26.0\\ACAD-A107:419", L"X.", 26, "\xFF\xFE*\0"},
      {2024, true, L"R24.3\\ACAD-7101:419", L"U.", 24, nullptr},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::to_wstring(row.year) + (row.plain ? L" plain" : L""));
    RegistryKeyGuard fresh{kProducts + row.product};
    ASSERT_TRUE(acadhost::startSession(russian(row.year, row.plain)));
    EXPECT_EQ(acdbHostApplicationServices()->getUserRegistryProductRootKey(), kProducts + row.product);
    EXPECT_EQ(var(L"VERNUM").rfind(row.vernum, 0), 0u) << toUtf8(var(L"VERNUM"));

    acadhost::clearTranscript();
    // Built for API 20: it loads into that family only, and any other refuses it by its own API.
    EXPECT_EQ(acadhost::loadModule(binDir() + L"leaky_reactors.arx"), row.api == 20) << toUtf8(acadhost::transcript());
    const std::wstring refusal = row.api == 20 ? L"this AutoCAD needs " : L"this AutoCAD needs " + std::to_wstring(row.api) + L".x";
    EXPECT_EQ(acadhost::transcript().find(refusal) != std::wstring::npos, row.api != 20)
        << toUtf8(acadhost::transcript());

    std::wstring docs;
    bool acade = regReadString(HKEY_CURRENT_USER, kProducts + row.product, L"RoamingUserMyDocsAcadeFolder", docs);
    ASSERT_EQ(acade, row.envStart != nullptr);
    if (acade) {
      EXPECT_EQ(readBytes(docs + L"AeData\\wd.env").substr(0, 4), std::string(row.envStart, 4));
      EXPECT_EQ(readBytes(docs + L"AeData\\Proj\\Demo\\Demo.wdp").substr(0, 2), row.year >= 2016 ? "\xFF\xFE" : "*[");
      EXPECT_TRUE(fileExists(docs + L"AeData\\ru-RU\\Plc\\ace_plc.mdb"));
    }
    acadhost::endSession();
  }
}

// Property by name through IDispatch, as a late-bound client calls it.
HRESULT call(IDispatch* object, const wchar_t* name, WORD flags, VARIANT* value, EXCEPINFO* info) {
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  if (HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id); FAILED(hr)) return hr;
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS params{};
  if (flags == DISPATCH_PROPERTYPUT) params = {value, &put, 1, 1};
  return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, flags == DISPATCH_PROPERTYPUT ? nullptr : value,
                        info, nullptr);
}

TEST_F(HostRelease, LateBoundFilesGetAndPutByNameAndReportInjectedFailures) {
  RegistryKeyGuard fresh{kProducts + L"R24.3\\ACAD-7107:419"};
  ASSERT_TRUE(acadhost::startSession(russian(2024)));
  IDispatch* app = acedGetAcadWinApp()->GetIDispatch(TRUE);
  void* r20 = nullptr;
  EXPECT_EQ(app->QueryInterface(__uuidof(IAcadApplication), &r20), E_NOINTERFACE);

  VARIANT prefs{}, files{}, path{};
  ASSERT_EQ(call(app, L"preferences", DISPATCH_PROPERTYGET, &prefs, nullptr), S_OK);
  ASSERT_EQ(call(V_DISPATCH(&prefs), L"FILES", DISPATCH_PROPERTYGET, &files, nullptr), S_OK);
  IDispatch* f = V_DISPATCH(&files);
  V_VT(&path) = VT_BSTR;
  V_BSTR(&path) = SysAllocString(L"C:\\Templates");
  EXPECT_EQ(call(f, L"TemplateDwgPath", DISPATCH_PROPERTYPUT, &path, nullptr), S_OK);
  VariantClear(&path);
  EXPECT_EQ(call(f, L"templatedwgpath", DISPATCH_PROPERTYGET, &path, nullptr), S_OK);
  EXPECT_EQ(V_VT(&path), VT_BSTR);
  EXPECT_STREQ(V_BSTR(&path), L"C:\\Templates");
  VariantClear(&path);
  EXPECT_EQ(call(f, L"NoSuchPath", DISPATCH_PROPERTYGET, &path, nullptr), DISP_E_UNKNOWNNAME);

  acadhost::failAutomation(L"get_SupportPath", E_ACCESSDENIED);
  EXCEPINFO info{};
  EXPECT_EQ(call(f, L"SupportPath", DISPATCH_PROPERTYGET, &path, &info), DISP_E_EXCEPTION);
  EXPECT_EQ(info.scode, E_ACCESSDENIED);
  EXPECT_STREQ(info.bstrSource, L"AutoCAD.Application");
  EXPECT_NE(SysStringLen(info.bstrDescription), 0u);
  SysFreeString(info.bstrSource);
  SysFreeString(info.bstrDescription);
  EXPECT_EQ(call(f, L"SupportPath", DISPATCH_PROPERTYGET, &path, nullptr), E_ACCESSDENIED);

  VariantClear(&files);
  VariantClear(&prefs);
  app->Release();
}

TEST_F(HostRelease, The2016ApplicationStillAnswersTheR20Interface) {
  RegistryKeyGuard fresh{kProducts + L"R20.1\\ACAD-F007:419"};
  ASSERT_TRUE(acadhost::startSession(russian(2016)));
  IAcadApplication* app = nullptr;
  ASSERT_EQ(acedGetAcadWinApp()->GetIDispatch(FALSE)->QueryInterface(__uuidof(IAcadApplication),
                                                                      reinterpret_cast<void**>(&app)),
            S_OK);
  app->Release();
}

TEST(HostReleaseBundle, OfSeveralComponentsTheOneWhoseSeriesRangeHoldsTheReleaseLoads) {
  wchar_t appData[MAX_PATH] = {};
  ASSERT_TRUE(GetEnvironmentVariableW(L"APPDATA", appData, MAX_PATH));
  const std::wstring bundle = std::wstring(appData) + L"\\Autodesk\\ApplicationPlugins\\SeriesProbe.bundle\\";
  removeTree(bundle);
  makeFolders(bundle);
  std::string manifest = "<ApplicationPackage><Components>";
  for (const char* range : {"R20.0 R20.1", "R21.0 R23.1", "R24.0 R24.3", "R25.0 R25.1", "R26.0 R26.0"}) {
    std::string min(range, 5), max(range + 6);
    manifest += "<ComponentEntry AppType=\"Arx\" LoadOnAutoCADStartup=\"True\" ModuleName=\"./" + min +
                ".arx\"><RuntimeRequirements OS=\"Win64\" Platform=\"ACADE\" SeriesMin=\"" + min + "\" SeriesMax=\"" +
                max + "\"/></ComponentEntry>";
  }
  writeBytes(bundle + L"PackageContents.xml", manifest + "</Components></ApplicationPackage>");
  const std::pair<const wchar_t*, std::string> rows[] = {{L"R24.3", "R24.0"}, {L"2016", "R20.0"}, {L"r25.1", "R25.0"},
                                                          {L"2027", "R26.0"}};
  for (const auto& [release, loaded] : rows) {
    ProcessResult r = runProcess(simCommand() + L" --release " + release);
    EXPECT_EQ(r.exitCode, 0u) << r.output;
    for (const char* other : {"R20.0", "R21.0", "R24.0", "R25.0", "R26.0"}) {
      bool loads = r.output.find(std::string("SeriesProbe.bundle: loading ") + other + ".arx.") != std::string::npos;
      bool skipped = r.output.find(std::string("SeriesProbe.bundle: ./") + other + ".arx skipped: Series") !=
                     std::string::npos;
      EXPECT_EQ(loads, loaded == other) << r.output;
      EXPECT_EQ(skipped, loaded != other) << r.output;
    }
  }
  removeTree(bundle);
}

}  // namespace
