// The registered-projects list as text, and the passes over it. Platform-free.
//
// The list is one string of entries, each a project file's path followed by ";". Runs of
// ";" are skipped, a last entry without its ";" still counts, and entries are taken as they
// stand (no trimming). Entries are matched by a key, the same for every spelling of a path
// that reaches the same file (path_identity in the plug-in and kvs-switch); every edit keeps
// the rest of the text as it was.
#pragma once

#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "common/path_fold.h"
#include "common/switch_result.h"

namespace kvs {

// The key of a project's path: equal for two paths exactly when they name one project.
typedef std::function<std::wstring(const std::wstring& path)> ProjectKey;

std::vector<std::wstring> list_entries(const std::wstring& list);

// The keys of the list's entries, for asking of many paths whether they are registered.
std::unordered_set<std::wstring> list_keys(const std::wstring& list, const ProjectKey& key);

bool list_has_entry(const std::wstring& list, const std::wstring& path, const ProjectKey& key);

// Every entry of the project `path` names, each with the ";" that ends it, taken out.
std::wstring remove_list_entry(const std::wstring& list, const std::wstring& path, const ProjectKey& key);

// `path` added as the last entry; a last entry that lacks its ";" gets one first, so the
// two never run together.
std::wstring append_list_entry(std::wstring list, const std::wstring& path);

// Every entry spelled exactly as one of `spellings`, each with the ";" that ends it, taken out.
std::wstring remove_list_spellings(const std::wstring& list, const std::vector<std::wstring>& spellings);

typedef std::function<SwitchResult(const std::wstring& entry)> SwitchEntry;
// Takes a project out of the stored list, whatever else the list holds by then: its entries,
// spelled as in the list the pass read.
typedef std::function<void(const std::vector<std::wstring>& spellings)> DropEntry;

// Start-up pass: every project switched once, in list order, by its first entry (later twins,
// entries of the same key, are not visited). A project whose file is gone is dropped at once,
// twins and all, so each drop is one store. Aborted ends the pass; drops made so far stay.
void run_startup_pass(const std::wstring& list, const SwitchEntry& switch_entry, const DropEntry& drop,
                      const ProjectKey& key);

// Quit pass: every entry switched once, in list order, until one aborts. Never changes the list.
void run_quit_pass(const std::wstring& list, const SwitchEntry& switch_entry);

}  // namespace kvs
