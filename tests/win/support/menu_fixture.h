// The add-on's menu file installed where the plug-in copies it from, for one test.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "support/test_support.h"
#include "win32/ui_language.h"

namespace testing_support {

// The menu of a language as the build packs it (build/win/data, beside bin/): Korvanta.cuix
// in English, Korvanta_ru.cuix in Russian.
inline std::wstring builtMenuFile(kvs::UiLanguage language = kvs::UiLanguage::English) {
  return binDir() + (language == kvs::UiLanguage::Russian ? L"..\\data\\Korvanta_ru.cuix" : L"..\\data\\Korvanta.cuix");
}

// Copies both built menus to C:\Program Files\Korvanta\Support\; the destructor removes the
// files and whichever of their folders this object created.
class InstalledMenu {
 public:
  static constexpr const wchar_t* kPath = L"C:\\Program Files\\Korvanta\\Support\\Korvanta.cuix";
  static constexpr const wchar_t* kRussianPath = L"C:\\Program Files\\Korvanta\\Support\\Korvanta_ru.cuix";

  InstalledMenu() {
    for (const wchar_t* folder : {L"C:\\Program Files\\Korvanta", L"C:\\Program Files\\Korvanta\\Support"})
      if (CreateDirectoryW(folder, nullptr)) created_.insert(created_.begin(), folder);
    CopyFileW(builtMenuFile().c_str(), kPath, FALSE);
    CopyFileW(builtMenuFile(kvs::UiLanguage::Russian).c_str(), kRussianPath, FALSE);
  }
  ~InstalledMenu() {
    DeleteFileW(kPath);
    DeleteFileW(kRussianPath);
    for (const auto& folder : created_) RemoveDirectoryW(folder.c_str());
  }
  InstalledMenu(const InstalledMenu&) = delete;
  InstalledMenu& operator=(const InstalledMenu&) = delete;

 private:
  std::vector<std::wstring> created_;  // deepest first
};

}  // namespace testing_support
