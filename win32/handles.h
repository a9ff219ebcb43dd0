// Owners for Win32 handles, so every path out of a routine releases them.
#pragma once

#include <windows.h>

namespace kvs {

class RegKey {
 public:
  RegKey() : key_(nullptr) {}
  ~RegKey() { reset(); }
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
  RegKey(const RegKey&);
  RegKey& operator=(const RegKey&);
  HKEY key_;
};

// A handle that `Close` releases and INVALID_HANDLE_VALUE leaves empty.
template <BOOL(WINAPI* Close)(HANDLE)>
class UniqueHandle {
 public:
  explicit UniqueHandle(HANDLE h) : h_(h) {}
  ~UniqueHandle() {
    if (valid()) Close(h_);
  }
  bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return h_; }

 private:
  UniqueHandle(const UniqueHandle&);
  UniqueHandle& operator=(const UniqueHandle&);
  HANDLE h_;
};

// A kernel object (event, mutex, process, snapshot, file), closed with CloseHandle. The
// functions that open one fail with a null handle or INVALID_HANDLE_VALUE; both count as none.
class KernelHandle {
 public:
  KernelHandle() : h_(nullptr) {}
  explicit KernelHandle(HANDLE h) : h_(h) {}
  ~KernelHandle() { reset(); }
  KernelHandle(KernelHandle&& other) : h_(other.h_) { other.h_ = nullptr; }
  KernelHandle& operator=(KernelHandle&& other) {
    if (this != &other) {
      reset();
      h_ = other.h_;
      other.h_ = nullptr;
    }
    return *this;
  }
  bool valid() const { return h_ && h_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return h_; }
  void reset() {
    if (valid()) CloseHandle(h_);
    h_ = nullptr;
  }

 private:
  KernelHandle(const KernelHandle&);
  KernelHandle& operator=(const KernelHandle&);
  HANDLE h_;
};

// Ownership of a named mutex for as long as the object lives. owns() is false when the mutex
// could not be made or the wait ran out.
class HeldMutex {
 public:
  HeldMutex(const wchar_t* name, DWORD timeoutMs) : mutex_(CreateMutexW(nullptr, FALSE, name)), owns_(false) {
    if (!mutex_.valid()) return;
    const DWORD rc = WaitForSingleObject(mutex_.get(), timeoutMs);
    // Abandoned: its last owner died holding it, and it is ours now.
    owns_ = rc == WAIT_OBJECT_0 || rc == WAIT_ABANDONED;
  }
  ~HeldMutex() {
    if (owns_) ReleaseMutex(mutex_.get());
  }
  bool owns() const { return owns_; }

 private:
  HeldMutex(const HeldMutex&);
  HeldMutex& operator=(const HeldMutex&);
  KernelHandle mutex_;
  bool owns_;
};

typedef UniqueHandle<FindClose> FindHandle;
// Files are kernel objects too.
typedef KernelHandle FileHandle;

}  // namespace kvs
