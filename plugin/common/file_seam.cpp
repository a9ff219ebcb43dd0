#include "common/file_seam.h"

namespace kvs::file_seam {

bool open_for_reading(CFile& file, const std::wstring& path, DWORD& error) {
  CFileException cause;
  if (file.Open(path.c_str(), CFile::modeRead, &cause)) return true;
  error = static_cast<DWORD>(cause.m_lOsError);
  return false;
}

ULONGLONG length(CFile& file, const std::wstring&) { return file.GetLength(); }

UINT read(CFile& file, const std::wstring&, void* buffer, UINT count) { return file.Read(buffer, count); }

DWORD attributes(const std::wstring& path) { return GetFileAttributesW(path.c_str()); }

HANDLE create_new(const std::wstring& path) {
  return CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool write(HANDLE file, const char* bytes, DWORD count) {
  DWORD put = 0;
  if (!WriteFile(file, bytes, count, &put, nullptr)) return false;
  if (put == count) return true;
  SetLastError(ERROR_DISK_FULL);
  return false;
}

bool flush(HANDLE file) { return FlushFileBuffers(file); }

bool close(HANDLE file) { return CloseHandle(file); }

bool set_attributes(const std::wstring& path, DWORD attributes) { return SetFileAttributesW(path.c_str(), attributes); }

bool replace(const std::wstring& from, const std::wstring& to) {
  return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

}  // namespace kvs::file_seam
