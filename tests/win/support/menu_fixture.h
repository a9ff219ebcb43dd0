// The add-on's menu file installed where the plug-in copies it from, for one test.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "support/test_support.h"

namespace testing_support {

// Korvanta.cuix as the build packs it (build/win/data, beside bin/).
inline std::wstring builtMenuFile() { return binDir() + L"..\\data\\Korvanta.cuix"; }

// Copies the built menu to C:\Program Files\Korvanta\Support\Korvanta.cuix; the destructor
// removes the file and whichever of its folders this object created.
class InstalledMenu {
 public:
  static constexpr const wchar_t* kPath = L"C:\\Program Files\\Korvanta\\Support\\Korvanta.cuix";

  InstalledMenu() {
    for (const wchar_t* folder : {L"C:\\Program Files\\Korvanta", L"C:\\Program Files\\Korvanta\\Support"})
      if (CreateDirectoryW(folder, nullptr)) created_.insert(created_.begin(), folder);
    CopyFileW(builtMenuFile().c_str(), kPath, FALSE);
  }
  ~InstalledMenu() {
    DeleteFileW(kPath);
    for (const auto& folder : created_) RemoveDirectoryW(folder.c_str());
  }
  InstalledMenu(const InstalledMenu&) = delete;
  InstalledMenu& operator=(const InstalledMenu&) = delete;

 private:
  std::vector<std::wstring> created_;  // deepest first
};

}  // namespace testing_support
