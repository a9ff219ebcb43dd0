// The restore program's one pass, apart from its entry so that tests can run it in-process
// with a wait of their own.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace update {

// How long AutoCAD gets to finish unloading before the database is put back.
const DWORD kWaitMs = 10000;

// Exit statuses.
enum Status {
  kRestoredOrNothingToDo = 0,
  kFrameworkFailed = 1,
  kNotADatabase = 2,  // the argument names no ".mdb" file; nothing touched
  kRenameFailed = 3,  // the backup stays under its own name
};

struct Environment {
  std::function<void(DWORD)> wait;                    // Sleep
  std::function<void(const std::wstring&)> print;     // standard output
  std::function<void(const std::wstring&)> complain;  // standard error
};

// The backup's name: every ".mdb" (case-sensitive) replaced with "_old.mdb".
std::wstring backupName(const std::wstring& working);

// argv[1] is the working database; further arguments are ignored, a missing one is empty.
int run(int argc, const wchar_t* const* argv, const Environment& env);

}  // namespace update
