// The file seam as the tests link it, in place of the plug-in's own: each call can be made to
// fail as a full disk or a crash point would.
#include "support/file_faults.h"

#include "win32/file_rename.h"
#include "win32/file_seam.h"

namespace kvs::file_seam {

FaultHook fault_hook;

namespace {

bool faulted() {
  if (fault_hook.fail_at == 0 || ++fault_hook.calls != fault_hook.fail_at) return false;
  SetLastError(fault_hook.error);
  return true;
}

}  // namespace

HANDLE open_for_reading(const std::wstring& path) {
  if (faulted()) return INVALID_HANDLE_VALUE;
  return CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool length(HANDLE file, ULONGLONG& size) {
  if (faulted()) return false;
  LARGE_INTEGER n;
  if (!GetFileSizeEx(file, &n)) return false;
  size = static_cast<ULONGLONG>(n.QuadPart);
  return true;
}

bool read(HANDLE file, void* buffer, DWORD count, DWORD& got) {
  if (faulted()) return false;
  return ReadFile(file, buffer, count, &got, nullptr);
}

DWORD attributes(HANDLE file) {
  if (faulted()) return INVALID_FILE_ATTRIBUTES;
  BY_HANDLE_FILE_INFORMATION information;
  return GetFileInformationByHandle(file, &information) ? information.dwFileAttributes : INVALID_FILE_ATTRIBUTES;
}

HANDLE create_new(const std::wstring& path, DWORD attributes) {
  if (faulted()) return INVALID_HANDLE_VALUE;
  fault_hook.last_created = path;
  return CreateFileW(path.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW, attributes, nullptr);
}

bool write(HANDLE file, const char* bytes, DWORD count) {
  if (faulted()) return false;
  DWORD put = 0;
  if (!WriteFile(file, bytes, count, &put, nullptr)) return false;
  if (put == count) return true;
  SetLastError(ERROR_DISK_FULL);
  return false;
}

bool flush(HANDLE file) { return !faulted() && FlushFileBuffers(file); }

bool replace(HANDLE file, const std::wstring& to) { return !faulted() && kvs::rename_open_file(file, to, true); }

}  // namespace kvs::file_seam
