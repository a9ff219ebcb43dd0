// Sessions with the add-on installed as an administrator installs it: update.exe given time to
// finish, the install folder and the bundle removed before and after each test, the add-on's
// own key put back afterwards.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "support/korvanta_install.h"
#include "support/test_support.h"

namespace installed_addon {

inline const std::wstring kInstall = L"C:\\Program Files\\Korvanta\\";
inline const std::wstring kBundle = L"C:\\ProgramData\\Autodesk\\ApplicationPlugins\\Korvanta.bundle\\";
inline const wchar_t kAddonKey[] = L"SOFTWARE\\Korvanta";

class InstalledAddon : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(testing_support::waitForUpdates(30000));
    removeInstallation();
  }
  void TearDown() override {
    testing_support::waitForUpdates(30000);
    removeInstallation();
  }
  static void install() {
    const testing_support::ProcessResult setup = testing_support::runSetup();
    ASSERT_EQ(setup.exitCode, 0u) << setup.output;
  }
  // A build's profile gone, key and documents folder, as before AutoCAD's first start.
  static void removeProfile(const std::wstring& productKey) {
    std::wstring docs;
    if (testing_support::regReadString(HKEY_CURRENT_USER, productKey, L"RoamingUserMyDocsAcadeFolder", docs))
      testing_support::removeTree(docs);
    RegDeleteTreeW(HKEY_CURRENT_USER, productKey.c_str());
  }
  testing_support::TempDir dir_;
  testing_support::RegistryKeyGuard addonKey_{kAddonKey};

 private:
  static void removeInstallation() {
    testing_support::removeTree(kInstall);
    testing_support::removeTree(kBundle);
  }
};

}  // namespace installed_addon
