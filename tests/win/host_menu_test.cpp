// The host's side of menus: CUILOAD/CUIUNLOAD on real packages, the profile that keeps them,
// the (command ...) evaluator and the queue that ads_queueexpr feeds.
#include <gtest/gtest.h>

#include <algorithm>

#include "acadhost/host_api.h"
#include "aced.h"
#include "acedads.h"
#include "support/menu_fixture.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

const wchar_t kSessionMenus[] = L"Software\\Autodesk\\AutoCAD\\R20.0\\ACAD-E007:409\\Profiles\\<<ACADE>>\\Menus";

class HostMenus : public ::testing::Test {
 protected:
  void SetUp() override { start(); }
  void TearDown() override {
    acadhost::endSession();
    acadhost::setEcho(true);
  }
  void start() {
    acadhost::setEcho(false);
    ASSERT_TRUE(acadhost::startSession({}));
    acadhost::clearTranscript();
  }
  void restart() {
    acadhost::endSession();
    start();
  }
  std::wstring out() const { return acadhost::transcript(); }
  // A copy of the built menu in the temporary folder, bytes changed by `edit`.
  template <class Edit>
  std::wstring editedMenu(const wchar_t* name, Edit edit) {
    std::string bytes = readBytes(builtMenuFile());
    edit(bytes);
    writeBytes(dir_.path() + name, bytes);
    return dir_.path() + name;
  }
  RegistryKeyGuard menus_{kSessionMenus};
  TempDir dir_;
};

bool hasCyrillic(const std::wstring& text) {
  for (wchar_t c : text)
    if (c >= 0x0400 && c <= 0x04FF) return true;
  return false;
}
bool hasLatin(const std::wstring& text) {
  for (wchar_t c : text)
    if ((c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z')) return true;
  return false;
}

// Both built menus, as a user of each language sees them: Toolbar1 and the panel of the tab
// Korvanta each hold a button for every command the plug-in registers, in the same order,
// with both images in the package and the labels and tooltips in the menu's language.
TEST_F(HostMenus, EveryButtonOfBothMenusRunsAnAddonCommandWithItsImagesInThePackage) {
  ASSERT_TRUE(acadhost::loadModule(binDir() + L"KVS_switch_2015.arx")) << toUtf8(out());
  std::vector<std::wstring> macros;
  for (const auto& c : acadhost::commands()) macros.push_back(L"^C^C_" + c.globalName);
  ASSERT_EQ(macros.size(), 6u);
  restart();

  for (bool russian : {false, true}) {
    SCOPED_TRACE(russian ? "Russian" : "English");
    acadhost::runLine(L"CUIUNLOAD KORVANTA");
    std::wstring file = builtMenuFile(russian ? kvs::UiLanguage::Russian : kvs::UiLanguage::English);
    acadhost::runLine(L"CUILOAD \"" + file + L"\"");
    auto groups = acadhost::menuGroups();
    ASSERT_EQ(groups.size(), 1u) << toUtf8(out());
    ASSERT_EQ(groups[0].toolbars.size(), 1u);
    EXPECT_EQ(groups[0].toolbars[0].name, L"Toolbar1");
    ASSERT_EQ(groups[0].panels.size(), 1u);
    EXPECT_EQ(groups[0].panels[0].tab, L"Korvanta");
    EXPECT_EQ(hasCyrillic(groups[0].panels[0].name), russian);
    for (const auto* buttons : {&groups[0].toolbars[0].buttons, &groups[0].panels[0].buttons}) {
      std::vector<std::wstring> commands;
      for (const auto& b : *buttons) {
        commands.push_back(b.command);
        EXPECT_TRUE(b.smallImageFound && b.largeImageFound) << toUtf8(b.command);
        EXPECT_NE(b.smallImage, b.largeImage);
        EXPECT_EQ(hasCyrillic(b.label), russian) << toUtf8(b.label);
        EXPECT_EQ(hasLatin(b.label), !russian) << toUtf8(b.label);
        EXPECT_EQ(hasCyrillic(b.tooltip), russian) << toUtf8(b.tooltip);
      }
      std::vector<std::wstring> sorted = commands, registered = macros;
      std::sort(sorted.begin(), sorted.end());
      std::sort(registered.begin(), registered.end());
      EXPECT_EQ(sorted, registered);
    }
    EXPECT_EQ(groups[0].toolbars[0].buttons[0].command, L"^C^C_kvs_on");
  }
  EXPECT_TRUE(acedIsMenuGroupLoaded(L"korvanta"));
  EXPECT_FALSE(acedIsMenuGroupLoaded(L"KORVANTA2"));
}

// MENUGROUPS shows every button with its command, label and images, and says which image the
// package lacks; a ribbon panel that no tab refers to is not shown.
TEST_F(HostMenus, MenuGroupsShowsEachButtonAndTheImagesThePackageLacks) {
  std::wstring fixtures = binDir() + L"menu_fixtures\\";
  acadhost::runLine(L"CUILOAD \"" + fixtures + L"ribbon.cuix\"");
  acadhost::clearTranscript();
  acadhost::runLine(L"MENUGROUPS");
  EXPECT_EQ(out(), L"Command: MENUGROUPS\nRIBBONTEST  " + fixtures + L"ribbon.cuix\n"
                   L"  Toolbar Main [no saved state]:\n"
                   L"    ^C^C_kvs_on  \"On\"  on_16.bmp  on_32.bmp (not in the package)\n"
                   L"  Ribbon tab Tools, panel Switch:\n"
                   L"    ^C^C_kvs_on  \"Switch on\"  on_16.bmp  on_32.bmp (not in the package)\n"
                   L"    ^C^C_kvs_off  \"Off\"  (no image)  (no image)\n");
}

TEST_F(HostMenus, GroupsStayLoadedAcrossSessionsUntilUnloadedByAnyCase) {
  std::wstring copy = dir_.path() + L"Korvanta.cuix";
  CopyFileW(builtMenuFile().c_str(), copy.c_str(), FALSE);
  acadhost::runLine(L"CUILOAD \"" + copy + L"\"");
  acadhost::runLine(L"CUILOAD \"" + builtMenuFile() + L"\"");
  EXPECT_NE(out().find(L"Customization group KORVANTA is already loaded.\n"), std::wstring::npos) << toUtf8(out());

  restart();
  ASSERT_EQ(acadhost::menuGroups().size(), 1u);
  EXPECT_EQ(acadhost::menuGroups()[0].file, copy);
  acadhost::runLine(L"MENUGROUPS");
  EXPECT_NE(out().find(L"KORVANTA  " + copy + L"\n  Toolbar Toolbar1 ["), std::wstring::npos) << toUtf8(out());

  acadhost::runLine(L"CUIUNLOAD korvanta");
  acadhost::runLine(L"CUIUNLOAD KORVANTA");
  EXPECT_NE(out().find(L"Customization group KORVANTA unloaded.\n"), std::wstring::npos) << toUtf8(out());
  EXPECT_NE(out().find(L"Customization group \"KORVANTA\" is not loaded.\n"), std::wstring::npos) << toUtf8(out());
  restart();
  EXPECT_TRUE(acadhost::menuGroups().empty());

  // A remembered file that has gone is reported when the next session starts, and not loaded.
  acadhost::runLine(L"CUILOAD \"" + copy + L"\"");
  DeleteFileW(copy.c_str());
  restart();
  EXPECT_TRUE(acadhost::menuGroups().empty());
}

TEST_F(HostMenus, FilesThatAreNoUsableCustomizationAreRefusedWithTheReason) {
  std::wstring notZip = dir_.path() + L"plain.cuix";
  writeBytes(notZip, "<CustSection/>");
  std::wstring fixtures = binDir() + L"menu_fixtures\\";
  std::wstring renamed = editedMenu(L"renamed.cuix", [](std::string& b) {
    for (std::size_t at = b.find("MenuGroup.cui"); at != std::string::npos; at = b.find("MenuGroup.cui", at))
      b[at + 12] = 'x';
  });
  std::wstring damaged = editedMenu(L"damaged.cuix", [](std::string& b) {
    std::size_t name = b.find("MenuGroup.cui");
    std::size_t header = name - 30;
    std::size_t data = name + static_cast<unsigned char>(b[header + 26]) + static_cast<unsigned char>(b[header + 28]);
    for (std::size_t k = data + 20; k < data + 40; ++k) b[k] = static_cast<char>(b[k] ^ 0x5A);
  });
  struct Case {
    std::wstring path, message;
  } cases[] = {
      {dir_.path() + L"none.cuix", L"Customization file not found: " + dir_.path() + L"none.cuix\n"},
      {dir_.path(), L"Customization file not found: " + dir_.path() + L"\n"},
      {notZip, L"Unable to load customization file " + notZip + L": it is not a CUIx package.\n"},
      {renamed, L"Unable to load customization file " + renamed + L": it is not a CUIx package.\n"},
      {damaged, L"Unable to load customization file " + damaged + L": the package is damaged.\n"},
      {fixtures + L"no_group.cuix",
       L"Unable to load customization file " + fixtures + L"no_group.cuix: it defines no menu group.\n"},
      {fixtures + L"bad_xml.cuix",
       L"Unable to load customization file " + fixtures + L"bad_xml.cuix: its customization XML cannot be read.\n"},
  };
  for (const auto& c : cases) {
    acadhost::clearTranscript();
    acadhost::runLine(L"CUILOAD \"" + c.path + L"\"");
    EXPECT_NE(out().find(c.message), std::wstring::npos) << toUtf8(out());
  }
  EXPECT_TRUE(acadhost::menuGroups().empty());
}

TEST_F(HostMenus, CommandExpressionsRunTheirCommandAndReportMalformedInput) {
  std::wstring escaped;
  for (wchar_t c : builtMenuFile()) escaped += c == L'\\' ? std::wstring(L"\\\\") : std::wstring(1, c);
  acadhost::runLine(L"(command \"._CUILOAD\" \"" + escaped + L"\") (command \"CUIUNLOAD\" \"KORVANTA\")");
  std::wstring expected = L"Customization file loaded successfully. Customization Group: KORVANTA\n"
                          L"Customization group KORVANTA unloaded.\n";
  EXPECT_NE(out().find(expected), std::wstring::npos) << toUtf8(out());

  struct Case {
    const wchar_t* line;
    const wchar_t* error;
  } cases[] = {
      {L"(command \"CUIUNLOAD\"", L"; error: malformed list on input\n"},
      {L"(command \"CUIUNLOAD\" \"KORV)", L"; error: malformed string on input\n"},
      {L"(strcat \"a\" \"b\")", L"; error: no function definition: STRCAT\n"},
      {L"(command \"CUIUNLOAD\" korvanta)", L"; error: bad argument type: KORVANTA\n"},
      {L"(command \"CUIUNLOAD\" 12)", L"Customization group \"12\" is not loaded.\n"},
  };
  for (const auto& c : cases) {
    acadhost::clearTranscript();
    acadhost::runLine(c.line);
    EXPECT_EQ(out(), L"Command: " + std::wstring(c.line) + L"\n" + c.error);
  }
}

TEST_F(HostMenus, QueuedExpressionsWaitForTheHostAndRunInOrder) {
  ads_queueexpr(L"(command \"CUIUNLOAD\" \"FIRST\")");
  ads_queueexpr(L"(command \"CUIUNLOAD\" \"SECOND\")");
  EXPECT_EQ(out(), L"");
  EXPECT_EQ(acadhost::pendingInput().size(), 2u);
  acadhost::runPending();
  std::size_t first = out().find(L"\"FIRST\" is not loaded");
  ASSERT_NE(first, std::wstring::npos) << toUtf8(out());
  EXPECT_NE(out().find(L"\"SECOND\" is not loaded", first), std::wstring::npos) << toUtf8(out());
  EXPECT_TRUE(acadhost::pendingInput().empty());
}

}  // namespace
