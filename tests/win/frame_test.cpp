// The module frame and release identification, with the real plug-in loaded into the host.
#include <gtest/gtest.h>

#include "acadhost/host_api.h"
#include "frame/KVS_switchApp.h"
#include "frame/menu_reactor.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

const wchar_t kAddonKey[] = L"SOFTWARE\\Korvanta";

std::wstring pluginPath() { return binDir() + L"KVS_switch_2015.arx"; }

// The host calls the frame makes, in order, without those of later start-up steps.
std::vector<std::wstring> frameEvents() {
  static const wchar_t* kFrameCalls[] = {L"unlockApplication", L"registerAppMDIAware", L"newAcRxClass",
                                         L"acrxBuildClassHierarchy", L"addCommand", L"removeCmd",
                                         L"deleteAcRxClass", L"acedDefun", L"acedUndef", L"acedRegFunc",
                                         L"acedGetFunCode"};
  std::vector<std::wstring> out;
  for (const auto& e : acadhost::events())
    for (const wchar_t* call : kFrameCalls)
      if (e.rfind(call, 0) == 0) out.push_back(e);
  return out;
}

class HostSession : public ::testing::Test {
 protected:
  void SetUp() override { startWith(L""); }
  void TearDown() override {
    acadhost::endSession();
    acadhost::setEcho(true);
  }
  void startWith(const std::wstring& vernum) {
    acadhost::setEcho(false);
    acadhost::SessionOptions options;
    options.vernum = vernum;
    ASSERT_TRUE(acadhost::startSession(options));
    acadhost::clearTranscript();
    acadhost::clearEvents();
    acadhost::clearMessageBoxes();
  }
  RegistryKeyGuard addonKey_{kAddonKey};
};

using Frame = HostSession;

TEST_F(Frame, LoadRegistersSixTransparentCommandsAndTheReactorClassOnce) {
  ASSERT_TRUE(acadhost::loadModule(pluginPath())) << fromUtf8(toUtf8(acadhost::transcript())).c_str();
  std::vector<std::wstring> expected = {
      L"unlockApplication",
      L"registerAppMDIAware",
      L"newAcRxClass CMenuReactor AcApDocManagerReactor",
      L"acrxBuildClassHierarchy",
      L"addCommand KVS_switch kvs_on kvs_on 1",
      L"addCommand KVS_switch kvs_off kvs_off 1",
      L"addCommand KVS_switch init_kvs init_kvs 1",
      L"addCommand KVS_switch kvs_status kvs_status 1",
      L"addCommand KVS_switch kvs_list kvs_list 1",
      L"addCommand KVS_switch kvs_undo kvs_undo 1",
  };
  EXPECT_EQ(frameEvents(), expected);
  auto commands = acadhost::commands();
  ASSERT_EQ(commands.size(), 6u);
  for (const auto& c : commands) {
    EXPECT_EQ(c.group, L"KVS_switch");
    EXPECT_EQ(c.flags, 1);
  }
}

TEST_F(Frame, UnloadRemovesTheClassFirstThenTheCommandsAndLeavesNothingBehind) {
  ASSERT_TRUE(acadhost::loadModule(pluginPath()));
  acadhost::clearEvents();
  ASSERT_TRUE(acadhost::unloadModule(L"KVS_switch_2015.arx"));
  std::vector<std::wstring> expected = {
      L"deleteAcRxClass CMenuReactor",
      L"removeCmd KVS_switch kvs_on",
      L"removeCmd KVS_switch kvs_off",
      L"removeCmd KVS_switch init_kvs",
      L"removeCmd KVS_switch kvs_status",
      L"removeCmd KVS_switch kvs_list",
      L"removeCmd KVS_switch kvs_undo",
  };
  EXPECT_EQ(frameEvents(), expected);
  EXPECT_TRUE(acadhost::commands().empty());
  EXPECT_EQ(acadhost::transcript().find(L"error"), std::wstring::npos) << toUtf8(acadhost::transcript());
  // A second load in the same session registers everything again.
  ASSERT_TRUE(acadhost::loadModule(pluginPath()));
  EXPECT_EQ(acadhost::commands().size(), 6u);
}

TEST_F(Frame, OtherMessagesReturnOkAndDoNothing) {
  ASSERT_TRUE(acadhost::loadModule(pluginPath()));
  auto entry = reinterpret_cast<AcRx::AppRetCode (*)(AcRx::AppMsgCode, void*)>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"KVS_switch_2015.arx"), "acrxEntryPoint")));
  ASSERT_NE(entry, nullptr);
  for (int code : {0, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 1000}) {
    acadhost::clearEvents();
    EXPECT_EQ(entry(static_cast<AcRx::AppMsgCode>(code), nullptr), AcRx::kRetOK) << code;
    EXPECT_TRUE(frameEvents().empty()) << code;
  }
  // With no LISP functions the invoke message still asks which function is meant, and calls none.
  acadhost::clearEvents();
  EXPECT_EQ(entry(AcRx::kInvkSubrMsg, nullptr), AcRx::kRetOK);
  EXPECT_EQ(frameEvents(), std::vector<std::wstring>{L"acedGetFunCode"});
  EXPECT_EQ(acadhost::commands().size(), 6u);
}

TEST_F(Frame, ClassRecordIsFlaggedWhileRegistered) {
  _DBX_REGISTER_OBJECT_ENTRY* record = dbxClassTable.first[1];
  ASSERT_NE(record, nullptr);
  entryPointObject.AcRxArxApp::On_kInitAppMsg(nullptr);
  EXPECT_TRUE(record->bRegistered);
  EXPECT_NE(CMenuReactor::desc(), nullptr);
  entryPointObject.AcRxArxApp::On_kUnloadAppMsg(nullptr);
  EXPECT_FALSE(record->bRegistered);
}

using Release = HostSession;

TEST_F(Release, UnsupportedReleasesShowTheMessageBoxInTheUsersLanguage) {
  for (const wchar_t* vernum : {L"H.0.0 (UNICODE)", L"j.51.0.0", L""}) {
    acadhost::endSession();
    startWith(vernum);
    if (!*vernum) acadhost::setSysVar(L"VERNUM", L"");
    ASSERT_TRUE(acadhost::loadModule(pluginPath()));
    auto boxes = acadhost::messageBoxes();
    ASSERT_EQ(boxes.size(), 1u) << toUtf8(vernum);
    EXPECT_EQ(boxes[0].text, said(L"No supported ACADE release found!", L"Поддерживаемой версии ACADE не найдено!"));
    EXPECT_EQ(boxes[0].type, static_cast<unsigned>(MB_OK));
    // The module stays loaded with its commands.
    EXPECT_EQ(acadhost::commands().size(), 6u);
  }
}

TEST_F(Release, SupportedReleasesStartQuietly) {
  for (const wchar_t* vernum : {L"J.51.0.0 (UNICODE)", L"D.215 J.51", L"I.18.0.0"}) {
    acadhost::endSession();
    startWith(vernum);
    ASSERT_TRUE(acadhost::loadModule(pluginPath()));
    EXPECT_TRUE(acadhost::messageBoxes().empty()) << toUtf8(vernum);
  }
}

TEST_F(Release, AddonKeyIsCreatedWhenMissingAndLeftAloneWhenPresent) {
  ASSERT_FALSE(regKeyExists(HKEY_CURRENT_USER, kAddonKey));
  ASSERT_TRUE(acadhost::loadModule(pluginPath()));
  EXPECT_TRUE(regKeyExists(HKEY_CURRENT_USER, kAddonKey));
  acadhost::endSession();

  regWriteString(HKEY_CURRENT_USER, kAddonKey, L"Note", L"kept");
  startWith(L"");
  ASSERT_TRUE(acadhost::loadModule(pluginPath()));
  std::wstring projects;
  EXPECT_TRUE(regReadString(HKEY_CURRENT_USER, kAddonKey, L"Note", projects));
  EXPECT_EQ(projects, L"kept");
  EXPECT_EQ(acadhost::transcript().find(L"Cannot create the add-on's registry key"), std::wstring::npos);
}

}  // namespace
