// The registered-projects list as text, and the passes over it. Platform-free.
//
// The list is one string of entries, each a project file's path followed by ";". Runs of
// ";" are skipped, a last entry without its ";" still counts, and entries are taken as they
// stand (no trimming). Entries are matched whole and without regard to letter case, as
// Windows compares file paths; every edit keeps the rest of the text as it was.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common/path_fold.h"

namespace kvs {

std::vector<std::wstring> list_entries(const std::wstring& list);

bool list_has_entry(const std::wstring& list, const std::wstring& path);

// Every entry equal to `path`, each with the ";" that ends it, taken out.
std::wstring remove_list_entry(const std::wstring& list, const std::wstring& path);

// `path` added as the last entry; a last entry that lacks its ";" gets one first, so the
// two never run together.
std::wstring append_list_entry(std::wstring list, const std::wstring& path);

// How switching one listed project went.
enum class SwitchOutcome {
  Switched,
  ProjectGone,      // its file or folder is no longer there
  ProjectUnusable,  // its file is there but locked, refused, unreadable or not text: it stays listed
  OtherFailure,     // the installation or the system failed; says nothing about the project
  Aborted,          // AutoCAD itself failed: the rest of the pass is pointless
};

typedef std::function<SwitchOutcome(const std::wstring& entry)> SwitchEntry;
typedef std::function<void(const std::wstring& list)> StoreList;

// Start-up pass: every entry switched once, in list order. A project that is gone is dropped
// together with its later duplicates (which are then not visited) and the list is stored
// at once, so each drop is one store. Aborted ends the pass; drops made so far stay stored.
void run_startup_pass(const std::wstring& list, const SwitchEntry& switch_entry, const StoreList& store);

// Quit pass: every entry switched once, in list order, until one aborts. Never changes the list.
void run_quit_pass(const std::wstring& list, const SwitchEntry& switch_entry);

}  // namespace kvs
