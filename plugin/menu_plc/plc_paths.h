// Where ACADE keeps its PLC database and its backup: the one rule the plug-in's swap, kvs_status,
// update.exe and both removals follow. Platform-free.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace kvs {

struct PlcPaths {
  std::wstring working;  // ...\AeData\<language>\Plc\ace_plc.mdb
  std::wstring backup;   // ...\AeData\<language>\Plc\ace_plc_old.mdb
};

// The user's database, and the name the swap keeps it under beside the add-on's.
extern const wchar_t kPlcWorkingName[];  // "ace_plc.mdb"
extern const wchar_t kPlcBackupName[];   // "ace_plc_old.mdb"

// Both paths under ACADE's per-user documents folder `docs` (ending in a separator): in
// AeData\Plc\ without a language, in AeData\<language>\Plc\ with one.
PlcPaths plc_paths(const std::wstring& docs, const std::wstring& language = std::wstring());

// The backup that belongs to a working database: kPlcBackupName in the same folder; empty when
// `working` is not named kPlcWorkingName (exactly), since no other file is ever swapped.
std::wstring plc_backup_beside(const std::wstring& working);

// True for the releases whose Plc folder lies inside a language folder: every release year
// from "2014" on, given whole as four digits.
bool plc_in_language_folder(const std::wstring& version);

// The culture name of the build whose product key ends in ":<LCID>" in hex ("R20.1\ACAD-F007:409"
// gives "en-US", ":419" "ru-RU", ":407" "de-DE"); empty for a key without a language this
// knows.
std::wstring product_language(const std::wstring& product_key);

// The language folders to look in, in order: `first` (the running build's, when known), then
// "ru-RU", "en-EN" and "en-US" (the culture code ACADE itself gives English), each once.
std::vector<std::wstring> plc_languages(const std::wstring& first);

// The first of plc_languages(first) whose Plc folder under `docs` holds the user's database,
// as `holds` tells of its paths; empty when none does.
std::wstring find_plc_language(const std::wstring& docs, const std::wstring& first,
                               const std::function<bool(const PlcPaths&)>& holds);

// Every place under `docs` where a swap may keep the user's own database: the backup of
// plc_paths without a language (releases before 2014), then in each of plc_languages(first).
std::vector<std::wstring> plc_backup_places(const std::wstring& docs, const std::wstring& first);

}  // namespace kvs
