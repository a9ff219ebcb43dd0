// A simulated session with the add-on's installation tree and fresh file settings, for the
// tests that switch projects and AutoCAD's paths.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "acadhost/host_api.h"
#include "frame/KVS_switchApp.h"
#include "support/test_support.h"
#include "support/file_faults.h"

namespace switch_fixture {

inline const std::wstring kInstall = L"C:\\Program Files\\Korvanta\\";
inline const std::wstring kGeneral =
    L"Software\\Autodesk\\AutoCAD\\R20.0\\ACAD-E007:409\\Profiles\\<<ACADE>>\\General";
inline const std::wstring kShellFolders = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

class SwitchSession : public ::testing::Test {
 protected:
  void SetUp() override {
    testing_support::removeTree(kInstall);
    for (const wchar_t* folder : {L"Support", L"Data\\UGO\\GOST_2.701", L"Data\\Montajnie_sxemi\\Shkaf", L"Data\\Template"})
      testing_support::makeFolders(kInstall + folder);
    ASSERT_TRUE(testing_support::regReadString(HKEY_LOCAL_MACHINE, kShellFolders, L"Common Documents", docs_));
    version = L"2015";
  }
  void TearDown() override {
    kvs::file_seam::fault_hook = {};
    acadhost::clearAutomationFailures();
    acadhost::endSession();
    acadhost::setEcho(true);
    testing_support::removeTree(kInstall);
    version.clear();
  }

  // The host reads the file settings when a session starts, so tests set them first.
  void start(const std::wstring& support = L"C:\\Acad\\support;C:\\Acad\\fonts",
             const std::wstring& plotLog = L"C:\\Logs\\", const std::wstring& templates = L"C:\\Old\\Template") {
    testing_support::regWriteString(HKEY_CURRENT_USER, kGeneral, L"ACAD", support);
    testing_support::regWriteString(HKEY_CURRENT_USER, kGeneral, L"PlotLogPath", plotLog);
    testing_support::regWriteString(HKEY_CURRENT_USER, kGeneral, L"TemplatePath", templates);
    acadhost::setEcho(false);
    ASSERT_TRUE(acadhost::startSession({}));
    acadhost::clearTranscript();
  }

  std::wstring setting(const wchar_t* name) const {
    std::wstring value = L"<missing>";
    testing_support::regReadString(HKEY_CURRENT_USER, kGeneral, name, value);
    return value;
  }

  // The stock library folder of the release, as the lists spell it.
  std::wstring libs() const { return docs_ + L"\\Autodesk\\Acade 2015\\Libs\\"; }

  testing_support::RegistryKeyGuard general_{kGeneral};
  testing_support::RegistryKeyGuard addon_{L"SOFTWARE\\Korvanta"};
  testing_support::KeptVersionsGuard kept_;
  std::wstring docs_;
};

}  // namespace switch_fixture
