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

// A kernel object (event, mutex, process, snapshot, file), closed with CloseHandle. The
// functions that open one fail with a null handle or INVALID_HANDLE_VALUE; both count as none.
class KernelHandle {
 public:
  KernelHandle() = default;
  explicit KernelHandle(HANDLE h) : h_(h) {}
  ~KernelHandle() { reset(); }
  KernelHandle(KernelHandle&& other) noexcept : h_(other.h_) { other.h_ = nullptr; }
  KernelHandle& operator=(KernelHandle&& other) noexcept {
    if (this != &other) {
      reset();
      h_ = other.h_;
      other.h_ = nullptr;
    }
    return *this;
  }
  KernelHandle(const KernelHandle&) = delete;
  KernelHandle& operator=(const KernelHandle&) = delete;
  bool valid() const { return h_ && h_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return h_; }
  void reset() {
    if (valid()) CloseHandle(h_);
    h_ = nullptr;
  }

 private:
  HANDLE h_ = nullptr;
};

// Ownership of a named mutex for as long as the object lives. owns() is false when the mutex
// could not be made or the wait ran out.
class HeldMutex {
 public:
  HeldMutex(const wchar_t* name, DWORD timeoutMs) : mutex_(CreateMutexW(nullptr, FALSE, name)) {
    if (!mutex_.valid()) return;
    const DWORD rc = WaitForSingleObject(mutex_.get(), timeoutMs);
    // Abandoned: its last owner died holding it, and it is ours now.
    owns_ = rc == WAIT_OBJECT_0 || rc == WAIT_ABANDONED;
  }
  ~HeldMutex() {
    if (owns_) ReleaseMutex(mutex_.get());
  }
  HeldMutex(const HeldMutex&) = delete;
  HeldMutex& operator=(const HeldMutex&) = delete;
  bool owns() const { return owns_; }

 private:
  KernelHandle mutex_;
  bool owns_ = false;
};

using FindHandle = UniqueHandle<FindClose>;
// Files are kernel objects too.
using FileHandle = KernelHandle;

}  // namespace kvs
