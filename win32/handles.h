// Owners for Win32 handles, so every path out of a routine releases them.
#pragma once

#include <windows.h>

namespace kvs {

class RegKey {
 public:
  RegKey() = default;
  ~RegKey() { reset(); }
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  HKEY get() const { return key_; }
  HKEY* put() {
    reset();
    return &key_;
  }
  void reset() {
    if (key_) RegCloseKey(key_);
    key_ = nullptr;
  }

 private:
  HKEY key_ = nullptr;
};

// A handle that `Close` releases and INVALID_HANDLE_VALUE leaves empty.
template <BOOL(WINAPI* Close)(HANDLE)>
class UniqueHandle {
 public:
  explicit UniqueHandle(HANDLE h) : h_(h) {}
  ~UniqueHandle() {
    if (valid()) Close(h_);
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return h_; }

 private:
  HANDLE h_;
};

using FindHandle = UniqueHandle<FindClose>;
using FileHandle = UniqueHandle<CloseHandle>;

// True when a file-system search for the exact path finds an entry.
inline bool pathExists(const wchar_t* path) {
  WIN32_FIND_DATAW data;
  FindHandle find(FindFirstFileW(path, &data));
  return find.valid();
}

}  // namespace kvs
