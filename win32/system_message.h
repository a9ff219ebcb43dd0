// The system's description of an error code, for the English messages of the command line.
#pragma once

#include <windows.h>

#include <string>

namespace kvs {

// In English where the system has it, else in the system's language; no line break or full
// stop at the end. "system error N" when the system has no description.
std::wstring system_message(DWORD code);

// The same followed by " (error N)".
std::wstring system_message_with_code(DWORD code);

// The system's own text for an error code, in `language` (0: as the system chooses), without
// the white space at its end; false when the system has no text for it.
bool system_text(DWORD code, LANGID language, std::wstring& text);

}  // namespace kvs
