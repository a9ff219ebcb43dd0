// init_kvs in whole acade-sim sessions: the menu it queues is loaded and stays loaded.
#include <gtest/gtest.h>

#include "support/menu_fixture.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

const std::wstring kProduct = L"Software\\Autodesk\\AutoCAD\\R20.0\\ACAD-E007:409";
const std::wstring kToolbars = kProduct + L"\\Profiles\\<<ACADE>>\\Toolbars";

std::string session(const std::string& input) {
  ProcessResult r = runProcess(simCommand() + L" --load " + inQuotes(binDir() + L"KVS_switch_2015.arx"),
                               input);
  EXPECT_EQ(r.exitCode, 0u) << r.output;
  return r.output;
}

class MenuSession : public ::testing::Test {
 protected:
  void TearDown() override {
    std::wstring roaming;
    if (regReadString(HKEY_CURRENT_USER, kProduct, L"RoamableRootFolder", roaming))
      DeleteFileW((roaming + L"support\\Korvanta.cuix").c_str());
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kToolbars.c_str(), L"KORVANTA.Toolbar1");
  }
  InstalledMenu installed_;
  RegistryKeyGuard menus_{kProduct + L"\\Profiles\\<<ACADE>>\\Menus"};
};

TEST_F(MenuSession, InitKvsLoadsKorvantaWhichTheNextSessionStillHas) {
  // Unloaded before QUIT, so the add-on's quit sequence does not unload the menu again.
  // The start-up loads the menu itself; init_kvs loads it again once it has been unloaded.
  std::string first =
      session("CUIUNLOAD KORVANTA\nMENUGROUPS\ninit_kvs\nMENUGROUPS\nARXUNLOAD KVS_switch_2015.arx\n");
  std::size_t none = first.find("No customization groups loaded.\n");
  std::size_t loaded = first.find("Customization file loaded successfully. Customization Group: KORVANTA\n", none);
  ASSERT_NE(none, std::string::npos) << first;
  ASSERT_NE(loaded, std::string::npos) << first;
  EXPECT_LT(none, loaded);
  // The toolbar, then the ribbon panel, each with a button a command and both its images.
  // In the session's display language, which the session inherits from this process.
  std::wstring firstLabel = kvs::user_language() == kvs::UiLanguage::Russian ? L"Библиотека ГОСТ" : L"GOST library";
  std::size_t toolbar = first.find(
      toUtf8(L"/support/Korvanta.cuix\n  Toolbar Toolbar1 [show left 0 0]:\n    ^C^C_kvs_on  \"" + firstLabel + L"\""), loaded);
  std::size_t ribbon = first.find("\n  Ribbon tab Korvanta, panel ", toolbar);
  ASSERT_NE(toolbar, std::string::npos) << first;
  ASSERT_NE(ribbon, std::string::npos) << first;
  for (const char* command : {"kvs_on", "kvs_off", "kvs_status", "kvs_list", "kvs_undo", "init_kvs"}) {
    std::string images = std::string("\"  ") + command + "_16.bmp  " + command + "_32.bmp\n";
    std::size_t onToolbar = first.find(images, toolbar);
    EXPECT_LT(onToolbar, ribbon) << command;
    EXPECT_NE(first.find(images, ribbon), std::string::npos) << command;
  }

  // Already loaded: init_kvs queues nothing.
  std::string second = session("init_kvs\nMENUGROUPS\nCUIUNLOAD Korvanta\n");
  EXPECT_EQ(second.find("CUILOAD"), std::string::npos) << second;
  EXPECT_NE(second.find("\nKORVANTA  "), std::string::npos) << second;
  EXPECT_NE(second.find("Customization group KORVANTA unloaded."), std::string::npos) << second;
}

}  // namespace
