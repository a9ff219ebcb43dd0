// Text side of a project switch: the record rewrite and the library folder lists.
// Platform-free; the folder scans and the documents lookup are done by the caller.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/install_layout.h"
#include "common/text_pieces.h"

namespace kvs {

// The stock library's menu file, as project files name it.
const wchar_t kStockMenuFile[] = L"ACE_IEC_MENU.DAT";

// The settings a switch replaces, in this order.
const int kLibrarySettings[] = {1, 2, 3, 20};
enum { kLibrarySettingCount = 4 };

// A setting's value as a project holds it; not `present` when the project lacks the setting.
struct SettingValue {
  SettingValue() : present(false) {}
  explicit SettingValue(const std::wstring& text) : present(true), value(text) {}
  bool present;
  std::wstring value;
};
typedef std::array<SettingValue, kLibrarySettingCount> LibrarySettings;

// What a switch to GOST found in one of the settings it replaced, so that a switch back can give
// it back exactly.
struct ReplacedSetting {
  ReplacedSetting() : known(false), present(false) {}
  bool known;            // something is remembered
  bool present;          // the project had the setting
  std::wstring before;   // its value as it stood on its line, blanks included
  std::wstring written;  // the value the switch gave it
};
typedef std::array<ReplacedSetting, kLibrarySettingCount> ReplacedSettings;

// The four replacement values of one switch, already built for the mode.
struct RecordValues {
  std::wstring record1;   // symbol library folder list
  std::wstring record2;   // menu file
  std::wstring record3;   // panel library folder list
  std::wstring record20;  // environment file name, e.g. L"kvdata.env\n"
  std::wstring docs;      // the public documents folder the lists were built on
  // Stock mode gives a project's own icon menu back (menu_after_switch_back) in place of record2:
  // the one it holds, or the one remembered when it was switched to GOST.
  bool gives_menu_back;  // stock mode
  std::wstring remembered_menu;
  // Stock mode: a setting that still holds the value a switch to GOST wrote gets back the value
  // that switch replaced (a setting the project lacked goes again).
  ReplacedSettings remembered;
};

// A rewrite's text, with the settings it read and, on the way to GOST, what it replaced.
struct ProjectRewrite {
  TextPieces text;
  LibrarySettings read;
  ReplacedSettings replaced;
};

// Rewrites a whole project text for one switch.
//
// A marker counts only at the start of a line (after CR LF, CR or LF). A record is a line
// that begins with "+[" and has its "]" on that line; records are collected into a table
// ordered by number, and the first occurrence of a number wins. Records 1, 2 and 3 take the
// new values only when the project has them, records 1 and 3 keeping the project's own
// entries (merge_library_list); record 20 is always written, unless a remembered switch
// back takes it out again. Every value is trimmed and written as "+[n]value" and the line end
// the record had; a line the rewrite adds, or one that had none and is no longer the last,
// ends as the text's first line does (CR LF when it has none). The text's last line keeps its
// end, or its lack of one.
//
// Sections, in the order written:
//  - the head: the lines before the first record (description lines), unchanged;
//  - the records;
//  - the leading tail: when the text opens with a "?" line, the lines before its first record;
//  - the tail: from the first "?" line after a record to the end, unchanged, with any records
//    found in it taken out into the table.
// A plain line after a record, before the tail, belongs to that record's value; a switched
// record gets its new value on its own line and keeps such lines. When no "?" line follows
// the records, the last record ends with its own line and the lines after it are tail.
std::wstring rewrite_project_text(const std::wstring& text, const RecordValues& values);

// The same rewrite, as pieces of `text`: a record written as it stands, and every line kept,
// is a piece of the source.
TextPieces rewrite_project_pieces(const std::wstring& text, const RecordValues& values);

// The same, with the values of settings 1, 2, 3 and 20 it read (see library_settings) and what it
// replaced.
void rewrite_project(const std::wstring& text, const RecordValues& values, ProjectRewrite& out);

// What to remember after a switch to GOST that replaced `now`, when `before` was remembered: a
// setting the switch found already holding the value it wrote keeps what was remembered of it,
// if anything was.
ReplacedSettings remembered_after_switch(const ReplacedSettings& before, const ReplacedSettings& now);

// The remembered settings as the store keeps them (a line each, UTF-16 text), and back; a
// line that does not read is passed over.
std::wstring replaced_settings_text(const ReplacedSettings& settings);
ReplacedSettings replaced_settings_of(const std::wstring& text);


// The values of settings 1, 2, 3 and 20 as rewrite_project_text reads them: the first record
// of a number wins, its own line's value trimmed.
LibrarySettings library_settings(const std::wstring& text);

// Whether an entry of a folder list (settings 1 and 3; the folder with or without its ";")
// is a library entry: any folder under the add-on's installation folder, or one of the stock
// ACADE library folders that `list`, a mode's list, names, written under `docs`\Autodesk\Acade
// <any year>\Libs or with %SL_DIR%; letter case, "\" or "/", and closing separators aside.
// Every other entry is the project's own, its other folders under Libs included.
bool is_library_entry(const std::wstring& entry, const std::wstring& list, const std::wstring& docs);

// A folder list with its library entries (see is_library_entry) replaced by `list`. The
// project's own entries keep their text and their order: those before the first library entry
// stay before the list, the others follow it. A value without own entries gives `list` itself.
std::wstring merge_library_list(const std::wstring& value, const std::wstring& list, const std::wstring& docs);

// Whether a path lies under the add-on's installation folder, however it is written.
bool under_addon_folder(const std::wstring& path);

enum class MenuKind { Stock, Addon, Own };

// What setting 2 names: the stock menu (ACE_IEC_MENU.DAT in any letter case, or nothing), the
// add-on's (a file under its installation folder, or its menu file's name), or the project's own.
MenuKind menu_kind(const std::wstring& menu);

// The menu a switch back to the stock library gives a project whose setting 2 is `current`: an
// own menu stays; the add-on's (or none) gives way to the own menu remembered when the project
// was switched to GOST (`remembered`, empty for none); anything else becomes the stock menu.
std::wstring menu_after_switch_back(const SettingValue& current, const std::wstring& remembered);

// The library settings a rewrite with `values` gives a project that held `read`: the settings 1,
// 2 and 3 it has take the mode's values (own entries and menus never count for the library),
// setting 20 is always there.
LibrarySettings settings_after_switch(const LibrarySettings& read, const RecordValues& values);

enum class SettingLibrary { Gost, Stock, Unset };

// Settings 1, 2 and 3 are on GOST when they name something under the add-on's installation
// folder, setting 20 when it names kvdata.env; letter case and "/" for "\" do not matter.
SettingLibrary setting_library(int number, const SettingValue& value);

enum class ProjectLibrary { Gost, Stock, Mixed };

// Unset settings do not count: a switch writes only the settings 1 to 3 a project has. A
// switch to the library a project is on has nothing to do.
ProjectLibrary project_library(const LibrarySettings& settings);

// Record number as the MSVC runtime's _wtoi reads it: leading white space, an optional
// sign, decimal digits, 0 when there are none. Out-of-range values saturate.
int parse_record_number(const std::wstring& text);

// Folder lists: each entry is a folder path followed by "\;". `docs` is the public
// documents folder without a trailing separator (may be empty), `version` the release
// year such as L"2015". Subfolder names keep the order in which the folder scan
// yielded them.
std::wstring gost_symbol_list(const std::vector<std::wstring>& ugo_subfolders,
                              const std::wstring& docs, const std::wstring& version);
std::wstring gost_panel_list(const std::vector<std::wstring>& panel_subfolders,
                             const std::wstring& docs, const std::wstring& version);
std::wstring stock_symbol_list(const std::wstring& docs, const std::wstring& version);
std::wstring stock_panel_list(const std::wstring& docs, const std::wstring& version);

RecordValues gost_values(const std::vector<std::wstring>& ugo_subfolders,
                         const std::vector<std::wstring>& panel_subfolders,
                         const std::wstring& docs, const std::wstring& version);
RecordValues stock_values(const std::wstring& docs, const std::wstring& version);

// Folder-scan filter: only a plain directory (attribute word exactly 16, so read-only,
// hidden or archived folders are passed over) that is not "." or "..".
bool is_plain_library_folder(std::uint32_t attributes, const std::wstring& name);

}  // namespace kvs
