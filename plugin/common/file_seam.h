// The file operations of a switch, each a thin wrapper of one system call and alone in its
// file, so that tests can link their own in its place and make the Nth of them fail.
#pragma once

#include <afx.h>

#include <string>

namespace kvs::file_seam {

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
