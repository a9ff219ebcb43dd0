// The system's description of an error code, in the language the add-on speaks to the user.
#pragma once

#include <windows.h>

#include <string>

namespace kvs {

// In the user's display language where the system has it, else in the system's own; no line break or full
// stop at the end. "system error N" when the system has no description.
std::wstring system_message(DWORD code);

// The system's own text for an error code, in `language` (0: as the system chooses), without
// the white space at its end; false when the system has no text for it.
bool system_text(DWORD code, LANGID language, std::wstring& text);

}  // namespace kvs
