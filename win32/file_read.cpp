#include "win32/file_read.h"

#include <windows.h>

#include <algorithm>
#include <climits>

#include "win32/file_seam.h"
#include "win32/handles.h"

#include <cstring>
#include <vector>

namespace kvs {

namespace {

FileHandle open_shared(const std::wstring& path) {
  return FileHandle(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace

bool file_holds(HANDLE file, const std::string& bytes) {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file, &size) || static_cast<unsigned long long>(size.QuadPart) != bytes.size()) return false;
  std::vector<char> piece(std::min<std::size_t>(bytes.size(), 1u << 16));
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD n = 0;
    const DWORD want = static_cast<DWORD>(std::min(piece.size(), bytes.size() - done));
    if (!ReadFile(file, &piece[0], want, &n, nullptr) || n == 0 ||
        std::memcmp(&piece[0], bytes.data() + done, n) != 0)
      return false;
    done += n;
  }
  // Nothing may follow what was compared: the file may have grown since its size was taken.
  DWORD extra = 0;
  char probe;
  return ReadFile(file, &probe, 1, &extra, nullptr) && extra == 0;
}

bool read_whole(HANDLE file, std::string& bytes) {
  ULONGLONG size = 0;
  if (!file_seam::length(file, size)) return false;
  if (size > static_cast<ULONGLONG>(INT_MAX)) {
    SetLastError(ERROR_FILE_TOO_LARGE);
    return false;
  }
  bytes.resize(static_cast<std::size_t>(size));
  std::size_t got = 0;
  while (got < bytes.size()) {
    DWORD n = 0;
    if (!file_seam::read(file, &bytes[got], static_cast<DWORD>(bytes.size() - got), n)) return false;
    if (n == 0) break;
    got += n;
  }
  bytes.resize(got);
  return true;
}

bool read_whole_file(const std::wstring& path, std::string& bytes) {
  const FileHandle file = open_shared(path);
  return file.valid() && read_whole(file.get(), bytes);
}

bool read_whole_file(const std::wstring& path, std::string& bytes, FILETIME& written) {
  const FileHandle file = open_shared(path);
  return file.valid() && GetFileTime(file.get(), nullptr, nullptr, &written) && read_whole(file.get(), bytes);
}

}  // namespace kvs
