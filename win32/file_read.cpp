#include "win32/file_read.h"

#include <windows.h>

#include <algorithm>

#include "win32/handles.h"

namespace kvs {

bool read_whole_file(const std::wstring& path, std::string& bytes) {
  kvs::FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size;
  if (!file.valid() || !GetFileSizeEx(file.get(), &size)) return false;
  bytes.assign(static_cast<std::size_t>(size.QuadPart), '\0');
  std::size_t got = 0;
  while (got < bytes.size()) {
    DWORD n = 0;
    if (!ReadFile(file.get(), &bytes[got], static_cast<DWORD>(std::min<std::size_t>(bytes.size() - got, 1u << 30)), &n,
                  nullptr))
      return false;
    if (n == 0) break;
    got += n;
  }
  bytes.resize(got);
  return true;
}

}  // namespace kvs
