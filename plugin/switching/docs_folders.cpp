#include "switching/docs_folders.h"

#include "win32/handles.h"
#include "win32/registry.h"
#include "common/release_globals.h"

bool getAllDocsPath(const std::wstring& name, std::wstring& path) {
  path.clear();
  kvs::RegKey key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", 0,
                    KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
    return true;  // no such key: the stock library's folders are then given bare
  return kvs::read_string_value(key.get(), name.c_str(), path) == ERROR_SUCCESS;
}

bool getMyDocsPath(const std::wstring& name, std::wstring& path) {
  path.clear();
  bool found = false;
  const std::wstring* const products[] = {&full_version_english, &full_version_russian};
  for (const std::wstring* product : products) {
    kvs::RegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, (L"Software\\Autodesk\\AutoCAD\\" + *product).c_str(), 0, KEY_QUERY_VALUE,
                      key.put()) != ERROR_SUCCESS)
      continue;
    std::wstring text;
    found = kvs::read_string_value(key.get(), name.c_str(), text) == ERROR_SUCCESS && !text.empty();
    path = found ? text : std::wstring();
  }
  return found;
}
