// Reading a file whole without disturbing anyone who has it open.
#pragma once

#include <windows.h>

#include <string>

namespace kvs {

// The whole file, opened for reading with every kind of sharing allowed; false with the
// system's error set. `path` may be in the "\\?\" form.
bool read_whole_file(const std::wstring& path, std::string& bytes);
// The same, with the time the file was last written as the handle it was read through tells it:
// the time of what was read, however another process replaces the file meanwhile.
bool read_whole_file(const std::wstring& path, std::string& bytes, FILETIME& written);

// The whole of a file opened for reading, from where it stands; false with the system's error
// set, ERROR_FILE_TOO_LARGE for a file over 2 GB.
bool read_whole(HANDLE file, std::string& bytes);

// Whether the file, open for reading and read from its start, holds exactly `bytes`. It is read
// a piece at a time and no further than it agrees, so that a large file costs no buffer of its
// size. False too when it cannot be read.
bool file_holds(HANDLE file, const std::string& bytes);

}  // namespace kvs
