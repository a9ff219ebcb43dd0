// Crash-safe replacement of a file's content.
#pragma once

#include <windows.h>

#include <string>

namespace kvs {

// Writes `bytes` to a new file beside `path` made with `attributes`, flushes it and moves it
// over `path` in one step, so the file holds either its old bytes or all the new ones. False,
// with the system's error set, when a step fails; the file is then as it was and nothing is
// left beside it. `path` may be in the "\\?\" form.
bool replace_file_content(const std::wstring& path, const std::string& bytes, DWORD attributes);

}  // namespace kvs
