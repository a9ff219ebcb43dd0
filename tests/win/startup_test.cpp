// Where the start-up stops: after an unsupported release, and after a documents folder that
// reads as a failure. What it has not reached must not have happened.
#include <gtest/gtest.h>

#include <algorithm>

#include "acadhost/host_api.h"
#include "support/installed_library.h"
#include "support/korvanta_install.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

const std::wstring kProduct = L"Software\\Autodesk\\AutoCAD\\R20.0\\ACAD-E007:409";
const wchar_t kAddonKey[] = L"SOFTWARE\\Korvanta";
const std::string kProject = "+[2]ACE_IEC_MENU.DAT\r\n+[20]wd.env\r\n";

bool hasEvent(const std::wstring& prefix) {
  auto events = acadhost::events();
  return std::any_of(events.begin(), events.end(), [&](const std::wstring& e) { return e.rfind(prefix, 0) == 0; });
}

class StartUp : public ::testing::Test {
 protected:
  void SetUp() override {
    acadhost::setEcho(false);
    acadhost::SessionOptions options;
    ASSERT_TRUE(acadhost::startSession(options));  // makes the profile when there is none
    ASSERT_TRUE(regReadString(HKEY_CURRENT_USER, kProduct, L"RoamingUserMyDocsAcadeFolder", docs_));
    DeleteFileW((docs_ + L"AeData\\kvdata.env").c_str());
    writeBytes(dir_.path() + L"p.wdp", kProject);
    regWriteString(HKEY_CURRENT_USER, kAddonKey, L"Projects", dir_.path() + L"p.wdp;");
  }
  void TearDown() override {
    acadhost::endSession();
    acadhost::setEcho(true);
  }
  void start(const std::wstring& vernum) {
    acadhost::endSession();
    acadhost::SessionOptions options;
    options.vernum = vernum;
    ASSERT_TRUE(acadhost::startSession(options));
    acadhost::clearTranscript();
    acadhost::clearEvents();
    acadhost::clearMessageBoxes();
    ASSERT_TRUE(acadhost::loadModule(binDir() + L"KVS_switch_2015.arx"));
  }
  // Neither the menu, the reactors, the projects pass nor kvdata.env: typing QUIT is not
  // held back, and the registered project is as it was.
  void expectStoppedBeforeTheMenu(const std::wstring& docs) {
    EXPECT_FALSE(hasEvent(L"acedIsMenuGroupLoaded"));
    EXPECT_FALSE(hasEvent(L"ads_queueexpr"));
    EXPECT_EQ(readBytes(dir_.path() + L"p.wdp"), kProject);
    EXPECT_FALSE(fileExists(docs + L"AeData\\kvdata.env"));
    acadhost::runLine(L"QUIT");
    EXPECT_FALSE(hasEvent(L"veto"));
    EXPECT_TRUE(acadhost::quitRequested());
  }

  std::wstring docs_;
  TempDir dir_;
  RegistryKeyGuard addonKey_{kAddonKey};
  InstalledLibrary library_;
  KorvantaInstall install_;  // update.exe where the unload starts it
};

TEST_F(StartUp, AnUnsupportedReleaseStopsBeforeTheSwapAndTheUnloadStartsNoRestoreWithoutAFolder) {
  const std::wstring plc = docs_ + L"AeData\\en-US\\Plc\\";
  writeBytes(plc + L"ace_plc.mdb", "the user's own PLC database");
  start(L"H.0.0 (UNICODE)");
  EXPECT_EQ(acadhost::messageBoxes().size(), 1u);
  EXPECT_EQ(readBytes(plc + L"ace_plc.mdb"), "the user's own PLC database");
  EXPECT_FALSE(fileExists(plc + L"ace_plc_old.mdb"));
  expectStoppedBeforeTheMenu(docs_);

  ASSERT_TRUE(waitForUpdates(30000));
  acadhost::endSession();
  // No release, so no documents folder: nothing to restore, rather than a path made of a failure.
  EXPECT_TRUE(runningUpdates().empty());
}

TEST_F(StartUp, ADocumentsFolderNamedErrorIsAFolderLikeAnyOther) {
  // The lookup says its failure apart from the path, so "Error" in a folder's name means nothing.
  const std::wstring errorDocs = dir_.path() + L"Error docs\\";
  makeFolders(errorDocs + L"AeData");
  writeBytes(errorDocs + L"AeData\\wd.env", "WD_CATALOG,%WD_DIR%/catalogs/a.mdb,x\r\n");
  regWriteString(HKEY_CURRENT_USER, kProduct, L"RoamingUserMyDocsAcadeFolder", errorDocs);
  start(L"");
  regWriteString(HKEY_CURRENT_USER, kProduct, L"RoamingUserMyDocsAcadeFolder", docs_);

  EXPECT_EQ(acadhost::transcript().find(L"Cannot read ACADE's documents folder"), std::wstring::npos)
      << toUtf8(acadhost::transcript());
  EXPECT_TRUE(hasEvent(L"acedIsMenuGroupLoaded"));
  EXPECT_TRUE(fileExists(errorDocs + L"AeData\\kvdata.env"));
}

}  // namespace
