// The versions of project files kept before each switch, per user under
// %APPDATA%\Korvanta\Undo\: a folder per project with project.txt (the project's path, UTF-8),
// its five newest versions, each named by the UTC time it was kept (version_names.h; the same
// bytes kept again have their file's time set anew, and the later time counts), and settings.txt, what the
// last switch to GOST replaced in settings 1, 2, 3 and 20, for the switch back (earlier
// versions of the add-on kept only the own icon menu, in own_menu.txt, which is still read).
#pragma once

#include <string>
#include <vector>

#include "switching/project_text.h"
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

// After a switch to GOST that replaced `replaced`: what is remembered for the switch back, with
// what was remembered before (see remembered_after_switch). Only a change is written. False once
// the failure is said.
bool remember_replaced_settings(const std::wstring& project, const kvs::ReplacedSettings& replaced,
                                kvs::SwitchReport& report);

// What is remembered for a switch back of the project: the settings the last switch to GOST
// replaced, and the project's own icon menu (empty for none). False, with the system's error
// set, when `file`, where it is remembered (or the store, when the project's folder in it
// cannot be told), cannot be read.
bool remembered_switch_back(const std::wstring& project, kvs::ReplacedSettings& settings, std::wstring& menu,
                            std::wstring& file);

// The project's kept versions, oldest first.
std::vector<KeptVersion> kept_project_versions(const std::wstring& project);

enum class UndoOutcome {
  Restored,
  NothingKept,
  NothingDifferent,  // every version kept holds what the file holds now
  Failed,
};

struct UndoResult {
  UndoResult() : outcome(UndoOutcome::Failed), time(0), readable(false) {}
  UndoOutcome outcome;
  kvs::KeptTime time;  // when the version put back was kept
  bool readable;       // whether it reads as text
  std::wstring text;   // its text, when it does
};

// Puts back, in one step, the project's newest kept version that differs from the file. The bytes it replaces are kept
// first, in its place, so a second undo puts them back. A failure is said and leaves the
// project and its versions as they were.
UndoResult restore_newest_version(const std::wstring& project, kvs::SwitchReport& report);
