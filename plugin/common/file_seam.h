// The file operations of a switch, each a thin wrapper of one system call, so that tests can
// make the Nth of them fail as a full disk or a crash point would.
#pragma once

#include <afx.h>

#include <string>

namespace kvs::file_seam {

// Armed by tests: the seam call numbered `fail_at` (counting from 1 since `calls` was last
// reset) fails with `error` instead of doing its work. 0 arms nothing.
struct FaultHook {
  int fail_at = 0;
  DWORD error = ERROR_DISK_FULL;
  int calls = 0;
};
extern FaultHook fault_hook;

// Reading, through the framework's file class: open gives false and the system's error in
// `error`, the rest throw CFileException*.
bool open_for_reading(CFile& file, const std::wstring& path, DWORD& error);
ULONGLONG length(CFile& file, const std::wstring& path);
UINT read(CFile& file, const std::wstring& path, void* buffer, UINT count);

// Writing: false (or INVALID_*) with GetLastError() set on failure.
DWORD attributes(const std::wstring& path);
// A new file, for writing; fails when the name is taken.
HANDLE create_new(const std::wstring& path);
bool write(HANDLE file, const char* bytes, DWORD count);
bool flush(HANDLE file);
bool close(HANDLE file);
bool set_attributes(const std::wstring& path, DWORD attributes);
bool replace(const std::wstring& from, const std::wstring& to);

}  // namespace kvs::file_seam
