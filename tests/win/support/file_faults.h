// Faults for the plug-in's file operations: the tests link their own file seam, whose calls
// can be made to fail one at a time.
#pragma once

#include <windows.h>

#include <string>

namespace kvs::file_seam {

// The seam call numbered `fail_at` (counting from 1 since `calls` was last reset) fails
// with `error` instead of doing its work. 0 arms nothing.
struct FaultHook {
  int fail_at = 0;
  DWORD error = ERROR_DISK_FULL;
  int calls = 0;
  std::wstring last_created;  // the temporary file the last replace made
};
extern FaultHook fault_hook;

}  // namespace kvs::file_seam
