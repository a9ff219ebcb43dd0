// The versions of project files kept before each switch, per user under
// %APPDATA%\Korvanta\Undo\: a folder per project with project.txt (the project's path, UTF-8),
// its five newest versions, each named by the UTC time it was kept, and own_menu.txt, the
// project's own icon menu while a switch to GOST has put the add-on's in its place.
#pragma once

#include <string>
#include <vector>

#include "switching/switch_report.h"
#include "switching/version_names.h"

struct KeptVersion {
  kvs::KeptTime time;
  std::wstring file;       // full path of the kept copy
  unsigned long long size;  // its bytes, as the folder listing gives them
};

// Keeps `bytes`, the project file's content, as its newest version and drops all but the five
// newest. False once the failure is said: the project must then be left as it is.
bool keep_project_version(const std::wstring& project, const std::string& bytes, kvs::SwitchReport& report);

// The project's own icon menu (setting 2) for a switch back: `menu` remembered, or, when
// empty, nothing remembered any more. False once the failure is said.
bool remember_own_menu(const std::wstring& project, const std::wstring& menu, kvs::SwitchReport& report);

// The own icon menu remembered for the project; empty when none is. False, with the system's
// error set, when `file`, where it is remembered (or the store, when the project's folder in it
// cannot be told), cannot be read.
bool remembered_own_menu(const std::wstring& project, std::wstring& menu, std::wstring& file);

// The project's kept versions, oldest first.
std::vector<KeptVersion> kept_project_versions(const std::wstring& project);

enum class UndoOutcome { Restored, NothingKept, Failed };

struct UndoResult {
  UndoResult() : outcome(UndoOutcome::Failed), time(0), readable(false) {}
  UndoOutcome outcome;
  kvs::KeptTime time;  // when the version put back was kept
  bool readable;       // whether it reads as text
  std::wstring text;   // its text, when it does
};

// Puts the project's newest kept version back in one step. The bytes it replaces are kept
// first, in its place, so a second undo puts them back. A failure is said and leaves the
// project and its versions as they were.
UndoResult restore_newest_version(const std::wstring& project, kvs::SwitchReport& report);
