#include "win32/user_mutex.h"

#include <sddl.h>

#include <vector>

namespace kvs {

std::wstring per_user_name(const wchar_t* base) {
  KernelHandle token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put())) return std::wstring();
  DWORD size = 0;
  GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
  if (size == 0) return std::wstring();
  std::vector<BYTE> data(size);
  if (!GetTokenInformation(token.get(), TokenUser, data.data(), size, &size)) return std::wstring();
  wchar_t* sid = nullptr;
  if (!ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(data.data())->User.Sid, &sid)) return std::wstring();
  const std::wstring name = L"Global\\" + std::wstring(base) + L"." + sid;
  LocalFree(sid);
  return name;
}

UserMutex::UserMutex(const wchar_t* base, DWORD timeoutMs)
    : name_(per_user_name(base)), held_(name_.empty() ? nullptr : name_.c_str(), timeoutMs) {}

}  // namespace kvs
