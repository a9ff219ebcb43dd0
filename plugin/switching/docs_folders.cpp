#include "switching/docs_folders.h"

#include "win32/handles.h"
#include "win32/registry.h"
#include "common/release_globals.h"

namespace {

const wchar_t kFailure[] = L"Error. Couldn't access system information!";
const wchar_t kMissing[] = L"Error";  // marker between the query and the final check

// Queries one value as a string: the stored text, kMissing when the value does not exist,
// and kFailure for any other failure (access refused).
std::wstring queryString(HKEY key, const std::wstring& name) {
  std::wstring text;
  const LONG rc = kvs::read_string_value(key, name.c_str(), text);
  if (rc == ERROR_FILE_NOT_FOUND) return kMissing;
  if (rc != ERROR_SUCCESS) return kFailure;
  return text;
}

}  // namespace

std::wstring getAllDocsPath(std::wstring kliuc) {
  std::wstring result;
  kvs::RegKey key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", 0,
                    KEY_QUERY_VALUE, key.put()) == ERROR_SUCCESS)
    result = queryString(key.get(), kliuc);
  if (result == kMissing) return kFailure;
  return result;
}

std::wstring getMyDocsPath(std::wstring kliuc) {
  std::wstring result;
  const std::wstring* const products[] = {&full_version_english, &full_version_russian};
  for (const std::wstring* product : products) {
    kvs::RegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, (L"Software\\Autodesk\\AutoCAD\\" + *product).c_str(), 0, KEY_QUERY_VALUE,
                      key.put()) == ERROR_SUCCESS)
      result = queryString(key.get(), kliuc);
  }
  if (result == kMissing || result.empty()) return kFailure;
  return result;
}
