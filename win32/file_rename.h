// Renaming a file through a handle already open to it, which spares the system opening it again.
#pragma once

#include <windows.h>

#include <string>

namespace kvs {

// Gives the file, open with DELETE access, the name `to` on the same volume (in the "\\?\"
// form or not); `replace_existing` lets it take the place of a file of that name. False, with
// the system's error set, when the system refuses.
bool rename_open_file(HANDLE file, const std::wstring& to, bool replace_existing);

}  // namespace kvs
