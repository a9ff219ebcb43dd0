// Owners for Win32 handles, so every path out of a routine releases them.
#pragma once

#include <windows.h>

namespace kvs {

// One owner for every kind of handle: `Kind` says what it holds (Type), what holds nothing
// (none, is_none) and how it is let go (close). Moved, never copied.
template <typename Kind>
class Unique {
 public:
  typedef typename Kind::Type Type;
  Unique() : value_(Kind::none()) {}
  explicit Unique(const Type& value) : value_(value) {}
  ~Unique() { reset(); }
  Unique(Unique&& other) : value_(other.release()) {}
  Unique& operator=(Unique&& other) {
    if (this != &other) {
      reset();
      value_ = other.release();
    }
    return *this;
  }
  bool valid() const { return !Kind::is_none(value_); }
  const Type& get() const { return value_; }
  // For a function that fills in the handle; what was held is let go first.
  Type* put() {
    reset();
    return &value_;
  }
  Type release() {
    Type value = value_;
    value_ = Kind::none();
    return value;
  }
  void reset() {
    if (valid()) Kind::close(value_);
    value_ = Kind::none();
  }

 private:
  Unique(const Unique&);
  Unique& operator=(const Unique&);
  Type value_;
};

// The kinds, a line each.
struct RegistryKeyKind {
  typedef HKEY Type;
  static HKEY none() { return nullptr; }
  static bool is_none(HKEY key) { return key == nullptr; }
  static void close(HKEY key) { RegCloseKey(key); }
};
struct FindKind {
  typedef HANDLE Type;
  static HANDLE none() { return INVALID_HANDLE_VALUE; }
  static bool is_none(HANDLE find) { return find == INVALID_HANDLE_VALUE; }
  static void close(HANDLE find) { FindClose(find); }
};
// The functions that open a kernel object fail with a null handle or INVALID_HANDLE_VALUE;
// both count as none.
struct KernelKind {
  typedef HANDLE Type;
  static HANDLE none() { return nullptr; }
  static bool is_none(HANDLE h) { return h == nullptr || h == INVALID_HANDLE_VALUE; }
  static void close(HANDLE h) { CloseHandle(h); }
};

typedef Unique<RegistryKeyKind> RegKey;
typedef Unique<FindKind> FindHandle;
// An event, mutex, process, snapshot or file, closed with CloseHandle.
typedef Unique<KernelKind> KernelHandle;
// Files are kernel objects too.
typedef KernelHandle FileHandle;

// Ownership of a named mutex for as long as the object lives. owns() is false when the mutex
// could not be made (no name: none is made) or the wait ran out.
class HeldMutex {
 public:
  HeldMutex(const wchar_t* name, DWORD timeoutMs)
      : mutex_(name ? CreateMutexW(nullptr, FALSE, name) : nullptr), owns_(false) {
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

}  // namespace kvs
