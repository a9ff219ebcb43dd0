#include "win32/long_path.h"

#include <windows.h>

#include <algorithm>

#include "win32/handles.h"

namespace kvs {

namespace {

// Room for a temporary name beside the file, as CreateDirectoryW's own limit leaves.
const std::size_t kPlainLimit = MAX_PATH - 14;

}  // namespace

std::wstring full_path(const std::wstring& path) {
  DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  while (size != 0) {
    std::wstring full(size, L'\0');
    const DWORD n = GetFullPathNameW(path.c_str(), size, &full[0], nullptr);
    if (n < size) {
      full.resize(n);
      return full;
    }
    size = n;  // the path changed meanwhile (current folder); try again with the new size
  }
  return path;
}

std::wstring extended_path(const std::wstring& path) {
  if (path.size() < kPlainLimit || path.rfind(L"\\\\?\\", 0) == 0) return path;
  std::wstring full = full_path(path);
  std::replace(full.begin(), full.end(), L'/', L'\\');
  if (full.rfind(L"\\\\?\\", 0) == 0) return full;
  if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

bool path_exists(const std::wstring& path) {
  WIN32_FIND_DATAW data;
  const FindHandle find(FindFirstFileW(extended_path(path).c_str(), &data));
  return find.valid();
}

}  // namespace kvs
