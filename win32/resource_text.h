// A string of a module's string table in one language, whatever the thread's own language.
#pragma once

#include <windows.h>

#include <string>

namespace kvs {

// False when `module` holds no string `id` in `language`.
bool resource_string(HMODULE module, unsigned id, LANGID language, std::wstring& text);

}  // namespace kvs
