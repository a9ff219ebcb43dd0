// Sessions with the add-on installed as an administrator installs it, with KorvantaSetup.exe or
// KorvantaSetup.msi: update.exe given time to finish, the installation removed before and after
// each test (a package's registration too, and the installer's entry in Programs and Features),
// the add-on's own key put back afterwards.
#pragma once

#include <windows.h>
#include <msi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/korvanta_install.h"
#include "support/test_support.h"

namespace installed_addon {

inline const std::wstring kInstall = L"C:\\Program Files\\Korvanta\\";
inline const std::wstring kBundle = L"C:\\ProgramData\\Autodesk\\ApplicationPlugins\\Korvanta.bundle\\";
inline const wchar_t kAddonKey[] = L"SOFTWARE\\Korvanta";
// KorvantaSetup.exe's entry in Programs and Features.
inline const wchar_t kSetupUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Korvanta";
// KorvantaSetup.msi's upgrade code, the same in every version for good.
inline const wchar_t kMsiUpgradeCode[] = L"{1ACC35D9-2B5C-407F-A1DC-9F14E66852BC}";

// The product codes of the installed packages of any version.
inline std::vector<std::wstring> installedPackages() {
  std::vector<std::wstring> codes;
  wchar_t code[39];
  for (DWORD i = 0; MsiEnumRelatedProductsW(kMsiUpgradeCode, 0, i, code) == ERROR_SUCCESS; ++i) codes.push_back(code);
  return codes;
}

// msiexec with its arguments, silent, as a distribution tool runs it.
inline testing_support::ProcessResult msiexec(const std::wstring& arguments) {
  return testing_support::runProcess(L"msiexec " + arguments + L" /qn");
}

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
    const std::vector<std::wstring> packages = installedPackages();
    // A swap left by a failed case would make the package refuse its removal.
    if (!packages.empty()) testing_support::endSwaps();
    for (const std::wstring& code : packages) msiexec(L"/x " + code);
    testing_support::removeTree(kInstall);
    testing_support::removeTree(kBundle);
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kSetupUninstallKey, KEY_WOW64_64KEY, 0);
  }
};

}  // namespace installed_addon
