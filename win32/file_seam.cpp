#include "win32/file_seam.h"

#include "win32/file_rename.h"

namespace kvs {
namespace file_seam {

HANDLE open_for_reading(const std::wstring& path) {
  return CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool length(HANDLE file, ULONGLONG& size) {
  LARGE_INTEGER n;
  if (!GetFileSizeEx(file, &n)) return false;
  size = static_cast<ULONGLONG>(n.QuadPart);
  return true;
}

bool read(HANDLE file, void* buffer, DWORD count, DWORD& got) { return ReadFile(file, buffer, count, &got, nullptr); }

// The basic information only: the whole of it also asks for the volume's serial number, which
// on a share costs a round trip for every folder up to the share's root.
DWORD attributes(HANDLE file) {
  FILE_BASIC_INFO information;
  return GetFileInformationByHandleEx(file, FileBasicInfo, &information, sizeof information)
             ? information.FileAttributes
             : INVALID_FILE_ATTRIBUTES;
}

HANDLE create_new(const std::wstring& path, DWORD attributes) {
  return CreateFileW(path.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW, attributes, nullptr);
}

bool write(HANDLE file, const char* bytes, DWORD count) {
  DWORD put = 0;
  if (!WriteFile(file, bytes, count, &put, nullptr)) return false;
  if (put == count) return true;
  SetLastError(ERROR_DISK_FULL);
  return false;
}

bool flush(HANDLE file) { return FlushFileBuffers(file); }

bool replace(HANDLE file, const std::wstring& to) { return rename_open_file(file, to, true); }

}  // namespace file_seam
}  // namespace kvs
