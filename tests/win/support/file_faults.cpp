// The file seam as the tests link it, in place of the plug-in's own: each call can be made to
// fail as a full disk or a crash point would.
#include "support/file_faults.h"

#include "common/file_seam.h"

namespace kvs::file_seam {

FaultHook fault_hook;

namespace {

bool faulted() {
  if (fault_hook.fail_at == 0 || ++fault_hook.calls != fault_hook.fail_at) return false;
  SetLastError(fault_hook.error);
  return true;
}

}  // namespace

bool open_for_reading(CFile& file, const std::wstring& path, DWORD& error) {
  if (faulted()) {
    error = fault_hook.error;
    return false;
  }
  CFileException cause;
  if (file.Open(path.c_str(), CFile::modeRead, &cause)) return true;
  error = static_cast<DWORD>(cause.m_lOsError);
  return false;
}

ULONGLONG length(CFile& file, const std::wstring& path) {
  if (faulted()) CFileException::ThrowOsError(static_cast<LONG>(fault_hook.error), path.c_str());
  return file.GetLength();
}

UINT read(CFile& file, const std::wstring& path, void* buffer, UINT count) {
  if (faulted()) CFileException::ThrowOsError(static_cast<LONG>(fault_hook.error), path.c_str());
  return file.Read(buffer, count);
}

DWORD attributes(const std::wstring& path) {
  if (faulted()) return INVALID_FILE_ATTRIBUTES;
  return GetFileAttributesW(path.c_str());
}

HANDLE create_new(const std::wstring& path) {
  if (faulted()) return INVALID_HANDLE_VALUE;
  return CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
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

bool close(HANDLE file) {
  if (faulted()) {
    CloseHandle(file);  // the handle is gone either way; only the result is the injected one
    SetLastError(fault_hook.error);
    return false;
  }
  return CloseHandle(file);
}

bool set_attributes(const std::wstring& path, DWORD attributes) {
  return !faulted() && SetFileAttributesW(path.c_str(), attributes);
}

bool replace(const std::wstring& from, const std::wstring& to) {
  return !faulted() && MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

}  // namespace kvs::file_seam
