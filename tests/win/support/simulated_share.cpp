#include "support/simulated_share.h"

#include <windows.h>

#include <sstream>

#include "support/test_support.h"

namespace testing_support {

const wchar_t kShareRoot[] = L"\\\\srv\\projects\\";

namespace {

const wchar_t kCallsFile[] = L"\\\\srv\\projects\\.share-calls";

// Why tools/wine-share could not serve the share, as it wrote it under KVS_STATE_DIR.
std::wstring startFailure() {
  wchar_t state[MAX_PATH] = {};
  if (!GetEnvironmentVariableW(L"KVS_STATE_DIR", state, MAX_PATH)) return L"";
  std::wstring file = L"Z:" + std::wstring(state) + L"/share/unavailable";
  for (wchar_t& c : file)
    if (c == L'/') c = L'\\';
  if (!fileExists(file)) return L"";
  std::string why = readBytes(file);
  while (!why.empty() && (why.back() == '\n' || why.back() == '\r')) why.pop_back();
  return fromUtf8(why);
}

}  // namespace

std::wstring shareUnavailable() {
  if (fileExists(kCallsFile)) return L"";
  const std::wstring why = startFailure();
  return L"the simulated share \\\\srv\\projects is not served (tools/wine-share start): " +
         (why.empty() ? std::wstring(L"not started") : why);
}

namespace {
const wchar_t kShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
}  // namespace

std::wstring roamingProfile() {
  wchar_t value[MAX_PATH] = {};
  DWORD size = sizeof value - sizeof(wchar_t);
  RegGetValueW(HKEY_CURRENT_USER, kShellFolders, L"AppData", RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr, value, &size);
  return value;
}

void setRoamingProfile(const std::wstring& folder) {
  makeFolders(folder);
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, kShellFolders, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
  RegSetValueExW(key, L"AppData", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                 static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

std::map<std::string, long> shareCalls() {
  std::map<std::string, long> calls;
  std::istringstream lines(readBytes(kCallsFile));
  std::string kind;
  long count = 0;
  while (lines >> kind >> count) calls[kind] = count;
  return calls;
}

}  // namespace testing_support
