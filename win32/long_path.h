// Paths of any length for the file functions.
#pragma once

#include <string>

namespace kvs {

// The path in the "\\?\" form when it is long enough for the plain form's limit of MAX_PATH
// characters to matter (the names made beside it included), as it is otherwise. A relative or
// "..\" path is made full first, since the "\\?\" form takes it literally.
std::wstring extended_path(const std::wstring& path);

// The path made full (a relative or "..\" path from the current folder), as the system does it.
std::wstring full_path(const std::wstring& path);

// True when a file-system search for the path, of any length, finds an entry.
bool path_exists(const std::wstring& path);

}  // namespace kvs
