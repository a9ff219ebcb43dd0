#include "win32/path_identity.h"

#include <windows.h>

#include "common/path_fold.h"
#include "win32/long_path.h"

namespace kvs {

namespace {

// The path without its "\\?\" or "\\?\UNC\" prefix, as the plain form spells it.
std::wstring plain_form(const std::wstring& path) {
  if (path.compare(0, 8, L"\\\\?\\UNC\\") == 0) return L"\\\\" + path.substr(8);
  if (path.compare(0, 4, L"\\\\?\\") == 0) return path.substr(4);
  return path;
}

// Where the part of a full path that names folders and the file begins: after "C:\" or after
// "\\server\share\". Nothing before it can be looked up on its own.
std::size_t root_length(const std::wstring& full) {
  if (full.compare(0, 2, L"\\\\") != 0) return full.size() >= 3 && full[1] == L':' ? 3 : 0;
  const std::size_t server = full.find(L'\\', 2);
  if (server == std::wstring::npos) return full.size();
  const std::size_t share = full.find(L'\\', server + 1);
  return share == std::wstring::npos ? full.size() : share + 1;
}

// GetLongPathNameW of a path that exists; false when it does not or cannot be looked at.
bool long_name(const std::wstring& path, std::wstring& result) {
  const std::wstring asked = extended_path(path);
  DWORD size = GetLongPathNameW(asked.c_str(), nullptr, 0);
  while (size != 0) {
    std::wstring out(size, L'\0');
    const DWORD n = GetLongPathNameW(asked.c_str(), &out[0], size);
    if (n == 0) return false;
    if (n < size) {
      out.resize(n);
      result = plain_form(out);
      return true;
    }
    size = n;  // renamed meanwhile into a longer name
  }
  return false;
}

// The long form of the longest part of `full` that exists, and the rest as given: a project
// whose file is gone keeps the key of the file it was.
std::wstring long_form(const std::wstring& full) {
  const std::size_t root = root_length(full);
  std::size_t end = full.size();
  while (end > root) {
    std::wstring found;
    if (long_name(full.substr(0, end), found)) {
      if (end == full.size()) return found;
      if (found.empty() || found[found.size() - 1] != L'\\') found += L'\\';
      return found + full.substr(end + 1);
    }
    const std::size_t slash = full.rfind(L'\\', end - 1);
    if (slash == std::wstring::npos || slash < root) break;
    end = slash;
  }
  return full;
}

}  // namespace

std::wstring path_identity(const std::wstring& path) {
  std::wstring full = plain_form(full_path(plain_form(path)));
  for (std::size_t i = 0; i < full.size(); ++i)
    if (full[i] == L'/') full[i] = L'\\';
  while (full.size() > root_length(full) && full[full.size() - 1] == L'\\') full.erase(full.size() - 1);
  // The system makes its short names with a "~"; without one, a long name could differ only
  // in letter case, which the fold takes away, so the file system is not asked.
  if (full.find(L'~') == std::wstring::npos) return folded_path(full);
  return folded_path(long_form(full));
}

}  // namespace kvs
