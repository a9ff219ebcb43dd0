// The system's description of an error code, for the English messages of the command line.
#pragma once

#include <windows.h>

#include <string>

namespace kvs {

// In English where the system has it, else in the system's language; no line break or full
// stop at the end. "system error N" when the system has no description.
std::wstring system_message(DWORD code);

}  // namespace kvs
