// The file operations of a switch, each a thin wrapper of one system call and alone in its
// file, so that tests can link their own in its place and make the Nth of them fail.
#pragma once

#include <windows.h>

#include <string>

namespace kvs {
namespace file_seam {

// All: false (or INVALID_*) with GetLastError() set on failure.
// Reading: opened with no sharing, as the framework's file class opens a file to read it.
HANDLE open_for_reading(const std::wstring& path);
bool length(HANDLE file, ULONGLONG& size);
bool read(HANDLE file, void* buffer, DWORD count, DWORD& got);

// Writing: the attributes the file is to keep, as its open handle tells them.
DWORD attributes(HANDLE file);
// A new file with these attributes, for writing and renaming; fails when the name is taken.
HANDLE create_new(const std::wstring& path, DWORD attributes);
bool write(HANDLE file, const char* bytes, DWORD count);
bool flush(HANDLE file);
// The open file put in the place of `to`.
bool replace(HANDLE file, const std::wstring& to);

}  // namespace file_seam
}  // namespace kvs
