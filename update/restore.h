// The restore program's one pass, apart from its entry so that tests can run it in-process
// with a wait of their own.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "win32/handles.h"

namespace update {

// How long AutoCAD gets to finish unloading before the database is put back; the least wait.
const DWORD kWaitMs = 10000;
// How often it looks again while AutoCAD, or another session with the add-on, still runs.
const DWORD kPollMs = 1000;

// Exit statuses.
enum Status {
  kRestoredOrNothingToDo = 0,
  kFrameworkFailed = 1,
  kNotADatabase = 2,  // the argument names no file ace_plc.mdb; nothing touched
  kRenameFailed = 3,  // the backup stays under its own name; the reason is in the restore log
};

struct Environment {
  Environment() : host(nullptr) {}
  std::function<void(DWORD)> wait;                    // Sleep
  std::function<void(const std::wstring&)> print;     // standard output
  std::function<void(const std::wstring&)> complain;  // standard error
  // Signalled once the AutoCAD that started the program has ended; null when there is none.
  HANDLE host;
};

// The process that started this one, while it runs; none once it has ended.
kvs::KernelHandle openParentProcess();

// argv[1] is the working database; further arguments are ignored, a missing one is empty.
// Restores after kWaitMs, once env.host has ended and no session holds the lock.
int run(int argc, const wchar_t* const* argv, const Environment& env);

}  // namespace update
