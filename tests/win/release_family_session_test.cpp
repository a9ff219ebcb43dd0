// The add-on in a release of every ObjectARX family since 2016, installed once: each release's
// AutoCAD loads its own build from the bundle and no other, switches Unicode projects to GOST
// and back, writes kvdata.env as wd.env is written, and swaps the PLC database in the language
// folder; plain AutoCAD is told that it is no supported ACADE.
#include <gtest/gtest.h>

#include <cctype>

#include "installed_addon.h"
#include "support/korvanta_install.h"
#include "support/test_support.h"

using namespace testing_support;
using installed_addon::kAddonKey;
using installed_addon::kBundle;
using installed_addon::kInstall;

namespace {

const char* const kModules[] = {"KVS_switch_2015", "KVS_switch_2017", "KVS_switch_2018", "KVS_switch_2019",
                                "KVS_switch_2021", "KVS_switch_2025", "KVS_switch_2027"};


std::wstring record20(const std::wstring& text) {
  const std::size_t at = text.find(L"\r\n+[20]");
  if (at == std::wstring::npos) return L"";
  return text.substr(at + 7, text.find(L"\r\n", at + 7) - at - 7);
}

// A project as ACADE 2016 and later save it: Unicode, description lines first.
const std::wstring kDescription = L"*[1]Щит насосной станции +24В? (ред. 2)\r\n*[2]Cabinet A\r\n";
std::wstring projectText() {
  return kDescription +
         L"+[1]C:\\Libs\\IEC2\\;\r\n+[2]ACE_IEC_MENU.DAT\r\n+[3]C:\\Libs\\panel\\;\r\n+[4]1\r\n"
         L"+[20]wd.env\r\n?[SCALE]1.0\r\n=====\r\nЛист 01.dwg\r\n";
}

struct Release {
  const wchar_t* option;    // acade-sim's options
  const wchar_t* product;   // the product key the simulated build has
  const char* module;       // the build AutoCAD should load
  const wchar_t* language;  // its PLC language folder
};

class ReleaseFamilies : public installed_addon::InstalledAddon {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(InstalledAddon::SetUp());
    endSwaps();
  }
  // The builds' profiles go too: a Russian build's key decides for both builds wherever it
  // exists, and no other test expects it.
  void TearDown() override {
    InstalledAddon::TearDown();
    for (const auto& key : made_) removeProfile(key);
  }
  std::vector<std::wstring> made_;
  // A fresh profile of the build, made by its first start before the add-on is installed.
  std::wstring freshProfile(const Release& r) {
    const std::wstring key = std::wstring(L"Software\\Autodesk\\AutoCAD\\") + r.product;
    made_.push_back(key);
    // Twice: other tests' builds may have left files in the same documents folder, which the
    // first start names and the removal clears.
    for (int start = 0; start < 2; ++start) {
      removeProfile(key);
      runProcess(simCommand() + L" " + r.option, "");
    }
    std::wstring docs;
    regReadString(HKEY_CURRENT_USER, key, L"RoamingUserMyDocsAcadeFolder", docs);
    return docs;
  }
};

TEST_F(ReleaseFamilies, EachReleaseLoadsItsBuildAndSwitchesUnicodeProjectsBothWays) {
  const Release releases[] = {
      {L"--release 2016", L"R20.1\\ACAD-F007:409", "KVS_switch_2015", L"en-US"},
      {L"--release 2017", L"R21.0\\ACAD-0007:409", "KVS_switch_2017", L"en-US"},
      {L"--release 2018", L"R22.0\\ACAD-1007:409", "KVS_switch_2018", L"en-US"},
      {L"--release 2020", L"R23.1\\ACAD-3007:409", "KVS_switch_2019", L"en-US"},
      {L"--release 2024 --russian", L"R24.3\\ACAD-7107:419", "KVS_switch_2021", L"ru-RU"},
      {L"--release 2026", L"R25.1\\ACAD-9107:409", "KVS_switch_2025", L"en-US"},
      {L"--release 2027 --russian", L"R26.0\\ACAD-A107:419", "KVS_switch_2027", L"ru-RU"},
  };
  struct Session {
    const Release* release;
    std::wstring docs, project, demo;
    std::string demoBytes, output;
  };
  std::vector<Session> sessions(std::size(releases));
  for (std::size_t i = 0; i < sessions.size(); ++i) {
    sessions[i].release = &releases[i];
    sessions[i].docs = freshProfile(releases[i]);
    ASSERT_FALSE(sessions[i].docs.empty()) << toUtf8(releases[i].option);
  }
  ASSERT_NO_FATAL_FAILURE(install());
  for (Session& s : sessions) {
    const Release& r = *s.release;
    s.project = dir_.path() + std::wstring(r.product).substr(0, 5) + L" Цех.wdp";
    s.demo = s.docs + L"AeData\\Proj\\Demo\\Demo.wdp";
    s.demoBytes = readBytes(s.demo);
    writeBytes(s.project, fileBytes(projectText(), "utf-16le"));
    regWriteString(HKEY_CURRENT_USER, kAddonKey, L"Projects", s.project + L";");
    const std::wstring plc = s.docs + L"AeData\\" + r.language + L"\\Plc\\";
    writeBytes(plc + L"ace_plc.mdb", "the user's own PLC database");

    // What the session works with is copied aside from inside it, before update.exe acts.
    const std::wstring aside = dir_.path() + std::wstring(r.product).substr(0, 5);
    const std::wstring script = L"kvs_on\nSHELL copy " + inQuotes(s.project) + L" " + inQuotes(aside + L"-project.wdp") +
                                L"\nSHELL copy " + inQuotes(s.demo) + L" " + inQuotes(aside + L"-demo.wdp") +
                                L"\nSHELL copy " + inQuotes(plc + L"ace_plc.mdb") + L" " + inQuotes(aside + L"-plc.mdb") +
                                L"\nSHELL copy " + inQuotes(plc + L"ace_plc_old.mdb") + L" " +
                                inQuotes(aside + L"-plc-old.mdb") + L"\nQUIT\n";
    ProcessResult run = runProcess(simCommand() + L" " + r.option + L" --project " + inQuotes(s.demo), toUtf8(script));
    ASSERT_EQ(run.exitCode, 0u) << run.output;
    s.output = run.output;
  }
  ASSERT_TRUE(waitForUpdates(30000));

  for (const Session& s : sessions) {
    const Release& r = *s.release;
    SCOPED_TRACE(toUtf8(r.option));
    const std::wstring aside = dir_.path() + std::wstring(r.product).substr(0, 5);
    for (const char* module : kModules) {
      const bool loaded = s.output.find(std::string("loading Contents\\Windows\\") + module + ".arx.") != std::string::npos;
      EXPECT_EQ(loaded, module == std::string(r.module)) << module << "\n" << s.output;
    }
    EXPECT_NE(s.output.find(toUtf8(said(L"| The project is switched to the GOST library.",
                                        L"| Проект переключен на библиотеку ГОСТ."))),
              std::string::npos)
        << s.output;
    // AutoCAD's Files settings were reached, by name in every family after the first.
    EXPECT_NE(s.output.find(toUtf8(said(L"Support path changed.\n", L"Путь доступа к вспомогательным файлам изменён.\n"))),
              std::string::npos)
        << s.output;
    EXPECT_NE(s.output.find(std::string(r.module) + ".arx successfully unloaded."), std::string::npos) << s.output;
    std::string lower = s.output;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(lower.find("error"), std::string::npos) << s.output;

    // In the session both projects are on GOST, still Unicode, their other lines as they were.
    const std::wstring during = utf16Text(bytesOf(aside + L"-project.wdp"));
    EXPECT_EQ(record20(during), L"kvdata.env");
    EXPECT_EQ(during.substr(0, kDescription.size()), kDescription) << toUtf8(during);
    EXPECT_NE(during.find(L"\r\n+[20]kvdata.env\r\n?[SCALE]1.0\r\n=====\r\nЛист 01.dwg"), std::wstring::npos)
        << toUtf8(during);
    EXPECT_EQ(record20(utf16Text(bytesOf(aside + L"-demo.wdp"))), L"kvdata.env");
    // kvdata.env is written as wd.env is: Unicode.
    const std::wstring env = utf16Text(bytesOf(s.docs + L"AeData\\kvdata.env"));
    EXPECT_NE(env.find(L"WD_CATALOG,C:/Program Files/Korvanta/Data/default_cat.mdb,"), std::wstring::npos);

    // After QUIT every registered project is back on the stock library; the demo byte for byte.
    EXPECT_EQ(record20(utf16Text(bytesOf(s.project))), L"wd.env");
    EXPECT_FALSE(s.demoBytes.empty()) << "the demo project was empty before the session";
    EXPECT_EQ(bytesOf(s.demo), s.demoBytes);

    // The add-on's database was in place during the session; the user's is back after it.
    const std::wstring plc = s.docs + L"AeData\\" + r.language + L"\\Plc\\";
    EXPECT_EQ(bytesOf(aside + L"-plc-old.mdb"), "the user's own PLC database");
    EXPECT_EQ(bytesOf(aside + L"-plc.mdb"), bytesOf(kInstall + L"Data\\ace_plc.mdb"));
    EXPECT_EQ(bytesOf(plc + L"ace_plc.mdb"), "the user's own PLC database");
    EXPECT_FALSE(fileExists(plc + L"ace_plc_old.mdb"));
  }
}

TEST_F(ReleaseFamilies, PlainAutocadIsNoSupportedAcade) {
  ASSERT_NO_FATAL_FAILURE(install());
  made_.push_back(L"Software\\Autodesk\\AutoCAD\\R24.3\\ACAD-7101:409");
  ProcessResult r = runProcess(simCommand() + L" --release 2024 --plain-autocad --load " +
                               inQuotes(kBundle + L"Contents\\Windows\\KVS_switch_2021.arx"),
                               "kvs_on\n");
  EXPECT_EQ(r.exitCode, 0u) << r.output;
  EXPECT_NE(r.output.find(toUtf8(L"| " + said(L"No supported ACADE release found!", L"Поддерживаемой версии ACADE не найдено!") +
                                 L"\n")),
            std::string::npos)
      << r.output;
  EXPECT_EQ(r.output.find(toUtf8(said(L"The project is switched", L"Проект переключен"))), std::string::npos) << r.output;
}

}  // namespace
