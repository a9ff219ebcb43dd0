// Registry values read defensively.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kvs {

// A string value as stored, of any length: whole UTF-16 units up to the first NUL (the data
// need not hold one, nor an even number of bytes). ERROR_SUCCESS, ERROR_FILE_NOT_FOUND when
// the value does not exist, or the failure's code; `text` is empty unless it succeeded.
LONG read_string_value(HKEY key, const wchar_t* name, std::wstring& text);

// `text` stored as a string value, its NUL included; ERROR_SUCCESS or the failure's code.
LONG write_string_value(HKEY key, const wchar_t* name, const std::wstring& text);

// The names of the keys under `root`\`path`, opened with `view` (0, or KEY_WOW64_64KEY) besides
// the right to list them; none when it cannot be opened.
std::vector<std::wstring> subkey_names(HKEY root, const std::wstring& path, REGSAM view = 0);

}  // namespace kvs
