// Where ACADE keeps its PLC database and its backup. Platform-free.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace kvs {

struct PlcPaths {
  std::wstring working;  // ...\AeData\Plc\ace_plc.mdb
  std::wstring backup;   // ...\AeData\Plc\ace_plc_old.mdb
};

// Both paths under ACADE's per-user documents folder (ending in a separator); a failure
// text in its place gives paths that do not exist.
PlcPaths plc_paths(const std::wstring& docs);

// True for the releases whose Plc folder lies inside a language folder: every release year
// from "2014" on, given whole as four digits.
bool plc_in_language_folder(const std::wstring& version);

// Every "Plc" (case-sensitive, so "ace_plc" stays) replaced with "<language>\Plc".
std::wstring in_language_folder(const std::wstring& path, const std::wstring& language);

// The first of "ru-RU", "en-EN" and "en-US" (the culture code ACADE itself gives English)
// whose folder holds `working`, a path built by plc_paths, as `exists` tells; empty when
// none does.
std::wstring find_plc_language(const std::wstring& working, const std::function<bool(const std::wstring&)>& exists);

// Every place under `docs` where a swap may keep the user's own database: the backup path of
// plc_paths, as the releases before 2014 have it and in each language folder.
std::vector<std::wstring> plc_backup_places(const std::wstring& docs);

}  // namespace kvs
