// The installer and the plug-in bundle as a CAD administrator meets them: silent install,
// AutoCAD loading the bundle at start-up, and an uninstall that never costs a user data.
#include <gtest/gtest.h>

#include "installed_addon.h"
#include "support/korvanta_install.h"
#include "support/test_support.h"

using namespace testing_support;
using installed_addon::kBundle;
using installed_addon::kInstall;

namespace {

const std::wstring kProduct = L"Software\\Autodesk\\AutoCAD\\R20.0\\ACAD-E007:409";

class Deployment : public installed_addon::InstalledAddon {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(InstalledAddon::SetUp());
    runProcess(simCommand(), "");  // AutoCAD's first start makes the user's profile
    // Sessions of other tests may have left a user's PLC database swapped.
    endSwaps();
    ASSERT_NO_FATAL_FAILURE(install());
  }
  static ProcessResult uninstall() {
    return runProcess(inQuotes(kInstall + L"uninstall.exe") + L" /S _?=" + kInstall.substr(0, kInstall.size() - 1));
  }
  static std::wstring userDocs() {
    std::wstring docs;
    regReadString(HKEY_CURRENT_USER, kProduct, L"RoamingUserMyDocsAcadeFolder", docs);
    return docs;
  }
};

TEST_F(Deployment, SilentInstallPutsTheAddonAndItsBundleInPlace) {
  for (const wchar_t* file : {L"Support\\Korvanta.cuix", L"Support\\update.exe", L"Data\\ACE_GOST_MENU.dat",
                              L"Data\\ace_plc.mdb", L"Data\\Template\\GOST_A3.dwt",
                              L"Data\\UGO\\GOST_Relays\\K_coil.dwg", L"Data\\UGO\\Реле_времени\\KT_on_delay.dwg",
                              L"Data\\Montajnie_sxemi\\Shkaf_600x800\\DIN_rail_600.dwg", L"uninstall.exe"})
    EXPECT_TRUE(fileExists(kInstall + file)) << toUtf8(file);
  // One build per ObjectARX family.
  for (const wchar_t* module : {L"KVS_switch_2015.arx", L"KVS_switch_2017.arx", L"KVS_switch_2018.arx",
                                L"KVS_switch_2019.arx", L"KVS_switch_2021.arx", L"KVS_switch_2025.arx"})
    EXPECT_EQ(readBytes(kBundle + L"Contents\\Windows\\" + module), readBytes(binDir() + module)) << toUtf8(module);
  std::string manifest = readBytes(kBundle + L"PackageContents.xml");
  EXPECT_NE(manifest.find("SeriesMin=\"R20.0\""), std::string::npos);
  // The library folders carry no attribute but "directory", so the switch lists them.
  EXPECT_EQ(GetFileAttributesW((kInstall + L"Data\\UGO\\GOST_Relays").c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
}

TEST_F(Deployment, HostLoadsTheBundleFor2015AndSaysWhyNotFor2014) {
  ProcessResult r2014 = runProcess(simCommand() + L" --release 2014", "kvs_on\n");
  EXPECT_EQ(r2014.exitCode, 0u) << r2014.output;
  EXPECT_NE(r2014.output.find("bundle Korvanta.bundle: ./Contents/Windows/KVS_switch_2015.arx skipped: "
                              "SeriesMin R20.0 is above this AutoCAD's R19.1."),
            std::string::npos)
      << r2014.output;
  EXPECT_NE(r2014.output.find("Unknown command \"kvs_on\""), std::string::npos) << r2014.output;

  ProcessResult r2015 = runProcess(simCommand() + L" --vernum H.0", "kvs_on\n");
  EXPECT_EQ(r2015.exitCode, 0u) << r2015.output;
  EXPECT_NE(r2015.output.find("bundle Korvanta.bundle: loading Contents\\Windows\\KVS_switch_2015.arx."),
            std::string::npos)
      << r2015.output;
  EXPECT_EQ(r2015.output.find("Unknown command \"kvs_on\""), std::string::npos) << r2015.output;
}

TEST_F(Deployment, MalformedManifestIsReportedAndTheSessionGoesOn) {
  writeBytes(kBundle + L"PackageContents.xml", "<ApplicationPackage><Components><ComponentEntry ModuleName=");
  ProcessResult r = runProcess(simCommand(), "nosuch\n");
  EXPECT_EQ(r.exitCode, 0u) << r.output;
  EXPECT_NE(r.output.find("bundle Korvanta.bundle skipped: PackageContents.xml malformed XML at line 1"),
            std::string::npos)
      << r.output;
  EXPECT_NE(r.output.find("Unknown command \"nosuch\""), std::string::npos) << r.output;
}

TEST_F(Deployment, UninstallRemovesTheAddonButNoUserData) {
  std::wstring docs = userDocs();
  ASSERT_FALSE(docs.empty());
  std::wstring userDb = docs + L"AeData\\en-US\\Plc\\ace_plc.mdb";
  makeFolders(docs + L"AeData\\en-US\\Plc");
  writeBytes(userDb, "user's own PLC data");
  RegistryKeyGuard addonKey(L"SOFTWARE\\Korvanta");
  regWriteString(HKEY_CURRENT_USER, L"SOFTWARE\\Korvanta", L"Projects", L"C:\\P\\a.wdp;");

  ProcessResult r = uninstall();
  EXPECT_EQ(r.exitCode, 0u) << r.output;
  EXPECT_FALSE(fileExists(kInstall + L"Support"));
  EXPECT_FALSE(fileExists(kInstall + L"Data"));
  EXPECT_FALSE(fileExists(kBundle));
  EXPECT_EQ(readBytes(userDb), "user's own PLC data");
  std::wstring projects;
  EXPECT_TRUE(regReadString(HKEY_CURRENT_USER, L"SOFTWARE\\Korvanta", L"Projects", projects));
  EXPECT_EQ(projects, L"C:\\P\\a.wdp;");
}

TEST_F(Deployment, UninstallRefusesWhileAPlcSwapIsInForce) {
  std::wstring docs = userDocs();
  ASSERT_FALSE(docs.empty());
  std::wstring backup = docs + L"AeData\\en-US\\Plc\\ace_plc_old.mdb";
  makeFolders(docs + L"AeData\\en-US\\Plc");
  writeBytes(backup, "user's own PLC data, moved aside");

  ProcessResult r = uninstall();
  EXPECT_EQ(r.exitCode, 3u) << r.output;
  EXPECT_TRUE(fileExists(kInstall + L"Support\\update.exe"));
  EXPECT_TRUE(fileExists(kBundle + L"PackageContents.xml"));
  EXPECT_EQ(readBytes(backup), "user's own PLC data, moved aside");
  DeleteFileW(backup.c_str());
}

}  // namespace
