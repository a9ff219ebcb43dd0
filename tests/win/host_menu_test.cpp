// The host's side of menus: CUILOAD/CUIUNLOAD on real packages, the profile that keeps them,
// the (command ...) evaluator and the queue that ads_queueexpr feeds.
#include <gtest/gtest.h>

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

TEST_F(HostMenus, TheBuiltMenuDefinesKorvantaWithToolbar1RunningTheThreeCommands) {
  acadhost::runLine(L"CUILOAD \"" + builtMenuFile() + L"\"");
  EXPECT_EQ(out(), L"Command: CUILOAD \"" + builtMenuFile() +
                       L"\"\nCustomization file loaded successfully. Customization Group: KORVANTA\n");
  auto groups = acadhost::menuGroups();
  ASSERT_EQ(groups.size(), 1u);
  ASSERT_EQ(groups[0].toolbars.size(), 1u);
  EXPECT_EQ(groups[0].toolbars[0].name, L"Toolbar1");
  std::vector<std::wstring> buttons = {L"^C^C_kvs_on", L"^C^C_kvs_off", L"^C^C_init_kvs"};
  EXPECT_EQ(groups[0].toolbars[0].buttons, buttons);
  EXPECT_TRUE(acedIsMenuGroupLoaded(L"korvanta"));
  EXPECT_FALSE(acedIsMenuGroupLoaded(L"KORVANTA2"));
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
