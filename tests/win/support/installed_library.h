// The add-on's installation folders under C:\Program Files\Korvanta in the test prefix.
#pragma once

#include <string>

namespace testing_support {

extern const wchar_t kUgoFolder[];

// Creates the add-on's library folders that are missing, and removes what it created.
class InstalledLibrary {
 public:
  InstalledLibrary();
  ~InstalledLibrary();
  InstalledLibrary(const InstalledLibrary&) = delete;
  InstalledLibrary& operator=(const InstalledLibrary&) = delete;

 private:
  std::wstring created_;
};

// Moves the symbol library folder away for its lifetime, as if the add-on were half removed.
class MissingUgoFolder {
 public:
  MissingUgoFolder();
  ~MissingUgoFolder();
  MissingUgoFolder(const MissingUgoFolder&) = delete;
  MissingUgoFolder& operator=(const MissingUgoFolder&) = delete;
};

}  // namespace testing_support
