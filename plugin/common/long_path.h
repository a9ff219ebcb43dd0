// Paths that the Win32 file functions accept whatever their length. Platform-free and header
// only, so that update.exe uses it without linking anything of the plug-in.
#pragma once

#include <cstddef>
#include <string>

namespace kvs {

// From this length on the file functions need the "\\?\" form (248, the limit for a folder's
// name, is the shortest of Windows's limits).
constexpr std::size_t kPlainPathLimit = 248;

// `path` as the file functions must be given it: unchanged when short, relative or already
// in the "\\?\" form; a drive path becomes "\\?\" + path and a server path "\\?\UNC\" +
// server path, with every "/" turned to "\", as Windows does not for that form.
inline std::wstring extended_path(const std::wstring& path) {
  if (path.size() < kPlainPathLimit || path.rfind(L"\\\\?\\", 0) == 0 || path.rfind(L"\\\\.\\", 0) == 0) return path;
  std::wstring out = path;
  for (wchar_t& c : out)
    if (c == L'/') c = L'\\';
  if (out.size() > 2 && out[1] == L':' && out[2] == L'\\') return L"\\\\?\\" + out;
  if (out.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + out.substr(2);
  return path;
}

}  // namespace kvs
