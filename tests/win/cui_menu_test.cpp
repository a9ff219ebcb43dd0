// CUIARXMYCUILOAD and init_kvs against Wine's registry and file system, with the host
// loading what they queue.
#include <gtest/gtest.h>

#include "acadhost/host_api.h"
#include "frame/KVS_switchApp.h"
#include "menu_plc/cui_menu.h"
#include "support/import_patch.h"
#include "support/menu_fixture.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

const std::wstring kProducts = L"Software\\Autodesk\\AutoCAD\\KvsTest";
const std::wstring kEnglish = kProducts + L"\\ACAD-E007:409";
const std::wstring kRussian = kProducts + L"\\ACAD-E007:419";
const std::wstring kToolbars = L"\\Profiles\\<<ACADE>>\\Toolbars";
// Where the host keeps the loaded groups of the session's (default) English 2015 build.
const std::wstring kSessionMenus = L"Software\\Autodesk\\AutoCAD\\R20.0\\ACAD-E007:409\\Profiles\\<<ACADE>>\\Menus";

std::wstring loadExpression(const std::wstring& path) { return L"(command \"_.CUILOAD\" \"" + path + L"\")"; }

class MenuLoad : public ::testing::Test {
 protected:
  void SetUp() override {
    acadhost::setEcho(false);
    ASSERT_TRUE(acadhost::startSession({}));
    acadhost::clearTranscript();
    full_version_english = L"KvsTest\\ACAD-E007:409";
    full_version_russian = L"KvsTest\\ACAD-E007:419";
    removeTree(L"C:\\R\\");
    makeFolders(L"C:\\R\\support");
    regWriteString(HKEY_CURRENT_USER, kEnglish, L"RoamableRootFolder", L"C:\\R\\");
  }
  void TearDown() override {
    acadhost::runPending();
    acadhost::endSession();
    removeTree(L"C:\\R\\");
    full_version_english.clear();
    full_version_russian.clear();
    acadhost::setEcho(true);
  }
  static void makeToolbarsKey(const std::wstring& product) {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, (product + kToolbars).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                    nullptr);
    RegCloseKey(key);
  }
  RegistryKeyGuard products_{kProducts};
  RegistryKeyGuard sessionMenus_{kSessionMenus};  // before the session starts: no group carried over
};

TEST_F(MenuLoad, InitKvsDoesNothingWhileTheGroupIsLoaded) {
  InstalledMenu installed;
  acadhost::runLine(L"CUILOAD \"" + std::wstring(InstalledMenu::kPath) + L"\"");
  ASSERT_EQ(acadhost::menuGroups().size(), 1u) << toUtf8(acadhost::transcript());
  makeToolbarsKey(kEnglish);
  acadhost::clearTranscript();
  acadhost::clearEvents();

  CKVS_switchApp::KVS_switchinit_kvs();
  EXPECT_EQ(acadhost::events(), std::vector<std::wstring>{L"acedIsMenuGroupLoaded KORVANTA"});
  EXPECT_TRUE(acadhost::pendingInput().empty());
  EXPECT_FALSE(fileExists(L"C:\\R\\support\\Korvanta.cuix"));
  std::wstring state;
  EXPECT_FALSE(regReadString(HKEY_CURRENT_USER, kEnglish + kToolbars, L"KORVANTA.Toolbar1", state));
  EXPECT_EQ(acadhost::transcript(), L"");
}

TEST_F(MenuLoad, CopiesOverTheUserMenuAndQueuesItsPathWithForwardSlashes) {
  InstalledMenu installed;
  // An older copy, even one dated later, is replaced.
  writeBytes(L"C:\\R\\support\\Korvanta.cuix", "stale menu");
  CKVS_switchApp::KVS_switchinit_kvs();
  // The menu of the user's display language, under the one name the copy has.
  EXPECT_EQ(readBytes(L"C:\\R\\support\\Korvanta.cuix"), readBytes(builtMenuFile(kvs::user_language())));
  EXPECT_NE(readBytes(builtMenuFile(kvs::UiLanguage::Russian)), readBytes(builtMenuFile()));
  EXPECT_EQ(acadhost::pendingInput(), std::vector<std::wstring>{loadExpression(L"C:/R/support/Korvanta.cuix")});

  acadhost::runPending();
  auto groups = acadhost::menuGroups();
  ASSERT_EQ(groups.size(), 1u) << toUtf8(acadhost::transcript());
  EXPECT_EQ(groups[0].name, L"KORVANTA");
  EXPECT_EQ(groups[0].file, L"C:/R/support/Korvanta.cuix");
}

TEST_F(MenuLoad, ToolbarStateGoesOnlyIntoExistingToolbarKeys) {
  makeToolbarsKey(kEnglish);
  CUIARXMYCUILOAD();
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, (kEnglish + kToolbars).c_str(), 0, KEY_QUERY_VALUE, &key), ERROR_SUCCESS);
  wchar_t data[64] = {};
  DWORD type = 0, size = sizeof data;
  LONG rc = RegQueryValueExW(key, L"KORVANTA.Toolbar1", nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(key);
  ASSERT_EQ(rc, ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(size, 28u);
  EXPECT_EQ(std::wstring(data), L"show left 0 0");
  // The Russian build has a product key but no Toolbars key: skipped without a word.
  EXPECT_FALSE(regKeyExists(HKEY_CURRENT_USER, kRussian + kToolbars));
  EXPECT_FALSE(regKeyExists(HKEY_CURRENT_USER, kRussian));
  EXPECT_EQ(acadhost::transcript(), L"");
}

using SetValue = LONG(WINAPI*)(HKEY, LPCWSTR, DWORD, DWORD, const BYTE*, DWORD);
// The real function: within this file the name goes through the patched import too.
const SetValue realSet =
    reinterpret_cast<SetValue>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"advapi32.dll"), "RegSetValueExW")));
int setCalls = 0;
int failFirst = 0;  // how many RegSetValueExW calls fail
LONG WINAPI failingSet(HKEY key, LPCWSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size) {
  if (setCalls++ < failFirst) return ERROR_ACCESS_DENIED;
  return realSet(key, name, reserved, type, data, size);
}

TEST_F(MenuLoad, AFailedSetIsReportedOncePerFailingBuild) {
  makeToolbarsKey(kEnglish);
  makeToolbarsKey(kRussian);
  regWriteString(HKEY_CURRENT_USER, kRussian, L"RoamableRootFolder", L"C:\\R\\");  // the build that decides
  for (int failing : {1, 2}) {
    acadhost::clearTranscript();
    RegDeleteKeyValueW(HKEY_CURRENT_USER, (kRussian + kToolbars).c_str(), L"KORVANTA.Toolbar1");
    setCalls = 0;
    failFirst = failing;
    {
      ImportPatch patch(GetModuleHandleW(nullptr), "advapi32.dll", "RegSetValueExW", reinterpret_cast<void*>(&failingSet));
      ASSERT_TRUE(patch.active());
      CUIARXMYCUILOAD();
    }
    EXPECT_EQ(setCalls, 2);
    // One line for each value that could not be written, naming it.
    const std::wstring said = acadhost::transcript();
    const std::wstring line = L"\\Profiles\\<<ACADE>>\\Toolbars\\KORVANTA.Toolbar1 in the registry: ";
    const std::size_t first = said.find(L"Cannot write HKEY_CURRENT_USER\\Software\\Autodesk\\AutoCAD\\");
    EXPECT_EQ(first, 0u) << toUtf8(said);
    EXPECT_NE(said.find(line), std::wstring::npos) << toUtf8(said);
    EXPECT_EQ(said.find(line, said.find(line) + 1) != std::wstring::npos, failing != 1) << toUtf8(said);
    std::wstring russianState;
    EXPECT_EQ(regReadString(HKEY_CURRENT_USER, kRussian + kToolbars, L"KORVANTA.Toolbar1", russianState), failing == 1);
  }
}

TEST_F(MenuLoad, LongPathsAreQueuedWholeAndQuotedOnesNotAtAll) {
  std::wstring longRoot = L"C:\\" + std::wstring(476, L'x') + L"\\";
  regWriteString(HKEY_CURRENT_USER, kEnglish, L"RoamableRootFolder", longRoot);
  CUIARXMYCUILOAD();
  std::wstring slashed = L"C:/" + std::wstring(476, L'x') + L"/support/Korvanta.cuix";
  ASSERT_GT(slashed.size(), 487u);
  EXPECT_EQ(acadhost::pendingInput(), std::vector<std::wstring>{loadExpression(slashed)});
  acadhost::runPending();

  makeToolbarsKey(kEnglish);
  regWriteString(HKEY_CURRENT_USER, kEnglish, L"RoamableRootFolder", L"C:\\R\"\\");
  acadhost::clearTranscript();
  CUIARXMYCUILOAD();
  EXPECT_TRUE(acadhost::pendingInput().empty());
  EXPECT_EQ(acadhost::transcript(),
            L"Cannot load the menu C:\\R\"\\support/Korvanta.cuix: a file path cannot hold a double quote.\n");
  std::wstring state;
  EXPECT_TRUE(regReadString(HKEY_CURRENT_USER, kEnglish + kToolbars, L"KORVANTA.Toolbar1", state));
}

TEST_F(MenuLoad, WithoutAnInstalledMenuTheLoadIsQueuedAndTheHostReportsTheMissingFile) {
  CUIARXMYCUILOAD();
  ASSERT_EQ(acadhost::pendingInput(), std::vector<std::wstring>{loadExpression(L"C:/R/support/Korvanta.cuix")});
  acadhost::runPending();
  EXPECT_NE(acadhost::transcript().find(L"Customization file not found: C:/R/support/Korvanta.cuix\n"),
            std::wstring::npos)
      << toUtf8(acadhost::transcript());
  EXPECT_TRUE(acadhost::menuGroups().empty());

  // A failed folder lookup is said, and builds no path.
  RegDeleteTreeW(HKEY_CURRENT_USER, kEnglish.c_str());
  acadhost::clearTranscript();
  CUIARXMYCUILOAD();
  EXPECT_TRUE(acadhost::pendingInput().empty());
  std::wstring installed = kvs::user_language() == kvs::UiLanguage::Russian ? L"Korvanta_ru.cuix" : L"Korvanta.cuix";
  EXPECT_EQ(acadhost::transcript(), L"Cannot load the menu C:/Program files/Korvanta/support/" + installed +
                                        L": AutoCAD's roaming folder (RoamableRootFolder) cannot be read from the registry.\n");
}

}  // namespace
