// The whole life of the add-on in one ACADE session, from a fresh profile: installed by its
// installer, loaded from its bundle, registered projects switched at start-up and back at
// QUIT, the menu loaded and unloaded, and the user's PLC database swapped and restored.
#include <gtest/gtest.h>

#include "installed_addon.h"
#include "support/korvanta_install.h"
#include "support/simulated_share.h"
#include "support/test_support.h"

using namespace testing_support;
using installed_addon::kAddonKey;
using installed_addon::kBundle;
using installed_addon::kInstall;

namespace {

const std::wstring kProduct = L"Software\\Autodesk\\AutoCAD\\R20.0\\ACAD-E007:409";


// The value of record 20 (the environment file the project names).
std::string record20(const std::wstring& project) {
  std::string text = readBytes(project);
  std::size_t at = text.find("+[20]");
  if (at == std::string::npos) return "";
  std::size_t end = text.find_first_of("\r\n", at);
  return text.substr(at + 5, end == std::string::npos ? std::string::npos : end - at - 5);
}

std::string project(const std::wstring& description) {
  return toAnsi(L"+[1]C:\\Libs\\IEC2\\;\r\n+[2]ACE_IEC_MENU.DAT\r\n+[3]C:\\Libs\\panel\\;\r\n+[4]1\r\n"
                L"+[20]wd.env\r\n?[SCALE]1.0\r\n*[1]" + description + L"\r\n");
}

class Lifecycle : public installed_addon::InstalledAddon {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(InstalledAddon::SetUp());
    // A fresh profile, made by AutoCAD's first start (without the add-on).
    removeProfile(kProduct);
    runProcess(simCommand(), "");
    ASSERT_TRUE(regReadString(HKEY_CURRENT_USER, kProduct, L"RoamingUserMyDocsAcadeFolder", docs_));
    ASSERT_NO_FATAL_FAILURE(install());
  }
  std::wstring docs_;
};

TEST_F(Lifecycle, StartSwitchQuitAndRestore) {
  const std::wstring a = dir_.path() + L"Цех A.wdp", b = dir_.path() + L"B.wdp", c = dir_.path() + L"C.wdp";
  writeBytes(a, project(L"Насосная станция"));
  writeBytes(b, project(L"Project B"));
  writeBytes(c, project(L"Project C"));
  regWriteString(HKEY_CURRENT_USER, kAddonKey, L"Projects", a + L";" + b + L";");
  const std::wstring plc = docs_ + L"AeData\\en-US\\Plc\\";
  writeBytes(plc + L"ace_plc.mdb", "the user's own PLC database");

  // What the session works with is copied aside from inside it: after QUIT, update.exe may
  // already have put the user's database back by the time the test looks.
  const std::wstring script = L"SHELL copy " + inQuotes(a) + L" " + inQuotes(dir_.path() + L"a-during.wdp") +
                              L"\nkvs_on\nSHELL copy " + inQuotes(c) + L" " + inQuotes(dir_.path() + L"c-during.wdp") +
                              L"\nSHELL copy " + inQuotes(plc + L"ace_plc.mdb") + L" " +
                              inQuotes(dir_.path() + L"plc-during.mdb") + L"\nSHELL copy " +
                              inQuotes(plc + L"ace_plc_old.mdb") + L" " + inQuotes(dir_.path() + L"plc-old-during.mdb") +
                              L"\nQUIT\n";
  ProcessResult r = runProcess(simCommand() + L" --project " + inQuotes(c), toUtf8(script));
  ASSERT_EQ(r.exitCode, 0u) << r.output;

  // The transcript, in the order a user sees it.
  std::vector<std::string> expected = {
      "acade-sim: bundle Korvanta.bundle: loading Contents\\Windows\\KVS_switch_2015.arx.",
      "Customization file loaded successfully. Customization Group: KORVANTA",
      "Command: kvs_on",
      toUtf8(said(L"| The project is switched to the GOST library.", L"| Проект переключен на библиотеку ГОСТ.")),
      "Command: QUIT",
      "Command: (command \"_.cuiunload\" \"korvanta\")",
      "Customization group KORVANTA unloaded.",
      "Command: _.QUIT",
      "KVS_switch_2015.arx successfully unloaded.",
  };
  std::size_t at = 0;
  for (const auto& line : expected) {
    std::size_t found = r.output.find(line, at);
    ASSERT_NE(found, std::string::npos) << "missing, or out of order: " << line << "\n" << r.output;
    at = found + line.size();
  }
  EXPECT_EQ(r.output.find("error"), std::string::npos) << r.output;

  // During the session A, B and C used the GOST library; after QUIT all three are back.
  EXPECT_EQ(record20(dir_.path() + L"a-during.wdp"), "kvdata.env");
  EXPECT_EQ(record20(dir_.path() + L"c-during.wdp"), "kvdata.env");
  for (const auto& p : {a, b, c}) EXPECT_EQ(record20(p), "wd.env") << toUtf8(p);
  EXPECT_NE(readBytes(a).find(toAnsi(L"*[1]Насосная станция")), std::string::npos);
  std::wstring projects;
  ASSERT_TRUE(regReadString(HKEY_CURRENT_USER, kAddonKey, L"Projects", projects));
  EXPECT_EQ(projects, a + L";" + b + L";" + c + L";");

  // kvdata.env names the add-on's data folder where wd.env names ACADE's catalogs.
  std::string env = readBytes(docs_ + L"AeData\\kvdata.env");
  EXPECT_EQ(env.find("%WD_DIR%/catalogs/"), std::string::npos);
  EXPECT_NE(env.find("WD_CATALOG,C:/Program Files/Korvanta/Data/default_cat.mdb,"), std::string::npos);

  // The menu group is unloaded, so the profile no longer loads it at the next start.
  HKEY menus = nullptr;
  bool kept = false;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, (kProduct + L"\\Profiles\\<<ACADE>>\\Menus").c_str(), 0, KEY_QUERY_VALUE,
                    &menus) == ERROR_SUCCESS) {
    kept = RegQueryValueExW(menus, L"KORVANTA", nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(menus);
  }
  EXPECT_FALSE(kept);

  // During the session the add-on's database is in place and the user's kept aside; after it,
  // update.exe puts the user's back.
  EXPECT_EQ(readBytes(dir_.path() + L"plc-old-during.mdb"), "the user's own PLC database");
  EXPECT_EQ(readBytes(dir_.path() + L"plc-during.mdb"), readBytes(kInstall + L"Data\\ace_plc.mdb"));
  ASSERT_TRUE(waitForUpdates(30000));
  EXPECT_EQ(readBytes(plc + L"ace_plc.mdb"), "the user's own PLC database");
  EXPECT_FALSE(fileExists(plc + L"ace_plc_old.mdb"));
}

// An office that keeps its projects on a file server: a registered project under
// \\srv\projects, with the office's own folders beside the library's, is on GOST for the
// session and back, byte for byte, after QUIT.
TEST_F(Lifecycle, AProjectOnAShareThroughAStartAndAQuit) {
  const std::wstring why = shareUnavailable();
  if (!why.empty()) GTEST_SKIP() << toUtf8(why);
  const std::wstring folder = std::wstring(kShareRoot) + L"Отдел АСУ\\";
  makeFolders(folder);
  const std::wstring shared = folder + L"Цех 2.wdp", during = dir_.path() + L"during.wdp";
  const std::string original =
      toAnsi(L"+[1]C:\\Libs\\IEC2\\;C:\\Libs\\Щиты отдела\\;\r\n+[2]ACE_IEC_MENU.DAT\r\n"
             L"+[3]C:\\Libs\\panel\\;C:\\Libs\\Шкафы\\;\r\n+[4]1\r\n+[20]wd.env\r\n?[SCALE]1.0\r\n"
             L"*[1]Компрессорная\r\n");
  writeBytes(shared, original);
  regWriteString(HKEY_CURRENT_USER, kAddonKey, L"Projects", shared + L";");

  const std::wstring script = L"SHELL copy " + inQuotes(shared) + L" " + inQuotes(during) + L"\nQUIT\n";
  ProcessResult r = runProcess(simCommand(), toUtf8(script));
  ASSERT_EQ(r.exitCode, 0u) << r.output;
  EXPECT_EQ(r.output.find("error"), std::string::npos) << r.output;
  const std::string switched = readBytes(during);
  EXPECT_EQ(record20(during), "kvdata.env");
  EXPECT_NE(switched.find(toAnsi(L"C:\\Libs\\Щиты отдела\\;")), std::string::npos) << switched;
  EXPECT_NE(switched.find(toAnsi(L"C:\\Libs\\Шкафы\\;")), std::string::npos) << switched;
  EXPECT_EQ(readBytes(shared), original);
  removeTree(folder);
}

}  // namespace
