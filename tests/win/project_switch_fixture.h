// A simulated session for the switch commands and the registered-projects passes: the
// add-on's registry key, the installed library folders, release globals and project files.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "support/installed_library.h"
#include "support/test_support.h"

namespace switch_fixture {

extern const wchar_t kAddonKey[];

// Holds a file open for reading and lets nobody write it meanwhile (a read-only attribute
// does not stop Wine running as root).
class WriteLock {
 public:
  explicit WriteLock(const std::wstring& path);
  ~WriteLock();
  WriteLock(const WriteLock&) = delete;
  WriteLock& operator=(const WriteLock&) = delete;

 private:
  HANDLE h_;
};

class ProjectSwitch : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A project file in the temporary folder, dated in the past so that a rewrite shows.
  std::wstring makeProject(const std::wstring& relative);
  bool rewritten(const std::wstring& path) const;
  std::wstring record20(const std::wstring& path) const;  // "wd.env", "kvdata.env", ...

  void setList(const std::wstring& text, DWORD type = REG_SZ);
  bool list(std::wstring& text, DWORD* type = nullptr) const;  // false when the value is missing
  std::wstring list() const;

  std::wstring transcript() const;

  testing_support::RegistryKeyGuard key_{kAddonKey};
  testing_support::TempDir dir_;
  testing_support::InstalledLibrary library_;
  testing_support::KeptVersionsGuard kept_;
};

}  // namespace switch_fixture
