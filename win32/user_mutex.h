// A named mutex that all of one user's processes share, and no other user's.
#pragma once

#include <windows.h>

#include <string>

#include "win32/handles.h"

namespace kvs {

// "Global\<base>.<the user's SID>": the same name in every logon session of the user (two
// sessions of one user at one machine share it), another for each user. Empty when the
// process's user cannot be read.
std::wstring per_user_name(const wchar_t* base);

// Ownership of the user's mutex named after `base` for as long as the object lives. owns() is
// false when it could not be made or the wait ran out.
class UserMutex {
 public:
  UserMutex(const wchar_t* base, DWORD timeoutMs);
  bool owns() const { return held_.owns(); }

 private:
  UserMutex(const UserMutex&);
  UserMutex& operator=(const UserMutex&);
  const std::wstring name_;  // before held_, which is made with it
  HeldMutex held_;
};

}  // namespace kvs
