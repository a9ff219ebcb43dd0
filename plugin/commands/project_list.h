// The registered-projects list, HKCU\SOFTWARE\Korvanta "Projects" (REG_SZ), and the passes
// that switch every listed project to GOST at start-up and back at quit.
#pragma once

#include <functional>
#include <string>

#include "commands/project_list_text.h"

// The list text; empty when the key or the value is missing or cannot be read.
std::wstring read_projects();
// Stores the list. Nothing happens when the key cannot be opened; a failed store prints
// "Error accessing registry".
void write_projects(const std::wstring& list);
// Start-up: every listed project to GOST; a project whose own file fails is dropped.
void init_projects();
// Quit: every listed project back to the stock library; the list stays as it is.
void deinit_projects();

enum class ProjectsValue {
  Absent,      // no key or no value: the list is empty
  Read,
  Unreadable,  // there, but refused or failed: its entries are unknown, so never replace it
};
ProjectsValue read_projects_value(std::wstring& list);

// The key by which the list's entries are matched: the file a path reaches.
std::wstring project_key(const std::wstring& path);

enum class ListEdit {
  Stored,      // changed and stored (a failed store is printed)
  Unchanged,   // nothing to change, nothing stored
  Unreadable,  // the value cannot be read: left as it is
  Busy,        // another process of the user kept the list too long: left as it is
};
// One read, change and store of the list, while no other process of the user does the same,
// so that none of them drops what another added meanwhile. `edit` changes the text it is given
// and says whether it did. The lock is held for these steps alone.
ListEdit edit_projects(const std::function<bool(std::wstring& list)>& edit);

// do_change for one project. A COM error from AutoCAD's automation is printed and gives Aborted.
SwitchResult switch_project(const std::wstring& path, int tip);
