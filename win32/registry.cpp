#include "win32/registry.h"

#include "win32/handles.h"

#include <new>
#include <vector>

namespace kvs {

LONG read_string_value(HKEY key, const wchar_t* name, std::wstring& text) {
  text.clear();
  try {
    // The value may grow between the size query and the read when another program stores it.
    for (int attempt = 0; attempt < 3; ++attempt) {
      DWORD size = 0;
      LONG rc = RegQueryValueExW(key, name, nullptr, nullptr, nullptr, &size);
      if (rc != ERROR_SUCCESS) return rc;
      std::vector<BYTE> data(size + sizeof(wchar_t));
      rc = RegQueryValueExW(key, name, nullptr, nullptr, data.data(), &size);
      if (rc == ERROR_MORE_DATA) continue;
      if (rc != ERROR_SUCCESS) return rc;
      text.assign(reinterpret_cast<const wchar_t*>(data.data()), size / sizeof(wchar_t));
      const std::size_t nul = text.find(L'\0');
      if (nul != std::wstring::npos) text.resize(nul);
      return ERROR_SUCCESS;
    }
    return ERROR_MORE_DATA;
  } catch (const std::bad_alloc&) {
    text.clear();
    return ERROR_NOT_ENOUGH_MEMORY;
  }
}

std::vector<std::wstring> subkey_names(HKEY root, const std::wstring& path, REGSAM view) {
  std::vector<std::wstring> names;
  RegKey key;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_ENUMERATE_SUB_KEYS | view, key.put()) != ERROR_SUCCESS) return names;
  wchar_t name[256];  // the longest key name the registry allows, and its NUL
  for (DWORD i = 0;; ++i) {
    DWORD length = sizeof name / sizeof name[0];
    if (RegEnumKeyExW(key.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.push_back(std::wstring(name, length));
  }
  return names;
}

LONG write_string_value(HKEY key, const wchar_t* name, const std::wstring& text) {
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

}  // namespace kvs
