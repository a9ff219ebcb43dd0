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
#include "common/switch_result.h"

namespace kvs {

std::vector<std::wstring> list_entries(const std::wstring& list);

bool list_has_entry(const std::wstring& list, const std::wstring& path);

// Every entry equal to `path`, each with the ";" that ends it, taken out.
std::wstring remove_list_entry(const std::wstring& list, const std::wstring& path);

// `path` added as the last entry; a last entry that lacks its ";" gets one first, so the
// two never run together.
std::wstring append_list_entry(std::wstring list, const std::wstring& path);

typedef std::function<SwitchResult(const std::wstring& entry)> SwitchEntry;
typedef std::function<void(const std::wstring& list)> StoreList;

// Start-up pass: every entry switched once, in list order. A project whose file is gone is dropped
// together with its later duplicates (which are then not visited) and the list is stored
// at once, so each drop is one store. Aborted ends the pass; drops made so far stay stored.
void run_startup_pass(const std::wstring& list, const SwitchEntry& switch_entry, const StoreList& store);

// Quit pass: every entry switched once, in list order, until one aborts. Never changes the list.
void run_quit_pass(const std::wstring& list, const SwitchEntry& switch_entry);

}  // namespace kvs
