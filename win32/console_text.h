// Text for a program's standard output and error.
#pragma once

#include <windows.h>

#include <string>

namespace kvs {

// Whether the standard handle `which` (STD_OUTPUT_HANDLE, STD_ERROR_HANDLE) is a console.
bool is_console(DWORD which);

// `text` to the standard handle `which`: to a console as it is, to a pipe or a file in
// `code_page`, so that Cyrillic paths stay legible there too.
void write_text(DWORD which, const std::wstring& text, UINT code_page);

}  // namespace kvs
