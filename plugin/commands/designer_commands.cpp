// kvs_status, kvs_list and kvs_undo: what a designer can ask of the add-on, and take back.
#include "frame/host_interface.h"

#include <comdef.h>

#include <string>
#include <vector>

#include "commands/acad_switch.h"
#include "commands/project_list.h"
#include "commands/status_text.h"
#include "commands/support_paths.h"
#include "commands/switch_commands.h"
#include "common/text_util.h"
#include "win32/handles.h"
#include "win32/long_path.h"
#include "win32/system_message.h"
#include "frame/KVS_switchApp.h"
#include "menu_plc/plc_swap.h"
#include "switching/docs_folders.h"
#include "switching/kept_versions.h"
#include "switching/project_look.h"

namespace {

void print(const std::wstring& line) { acutPrintf(L"%ls\n", line.c_str()); }

std::wstring registeredLine(const std::wstring& path) {
  std::wstring list;
  if (read_projects_value(list) == ProjectsValue::Unreadable)
    return L"Registered: unknown, the list of switched projects cannot be read";
  if (kvs::list_has_entry(list, path, project_key))
    return L"Registered: yes, every start-up switches it to GOST";
  return L"Registered: no";
}

void printFileSettings() {
  FileSettings settings;
  try {
    settings = current_file_settings();
  } catch (const _com_error& e) {
    print(L"Support path: unknown, AutoCAD does not give it: " + kvs::trim(e.ErrorMessage() ? e.ErrorMessage() : L""));
    return;
  }
  print(kvs::support_path_has_addon(settings.support) ? L"Support path: with the add-on's folder"
                                                       : L"Support path: without the add-on's folder");
  print(L"Template folder: " + settings.templates +
        (kvs::is_addon_template_folder(settings.templates) ? L" (the add-on's)" : L""));
}

// The backup is the only record that the add-on's database has taken the user's place.
std::wstring plcLine() {
  std::wstring docs;
  if (!getMyDocsPath(L"RoamingUserMyDocsAcadeFolder", docs)) return L"PLC database: unknown, ACADE's documents folder cannot be read";
  kvs::PlcPaths paths;
  if (!locate_plc_database(docs, paths)) return L"PLC database: none found under " + docs + L"AeData\\";
  const bool working = kvs::path_exists(paths.working);
  if (kvs::path_exists(paths.backup))
    return (working ? L"PLC database: the add-on's; the user's own is kept as "
                    : L"PLC database: none in place; the user's own is kept as ") + paths.backup;
  return working ? L"PLC database: the user's own, " + paths.working : L"PLC database: none at " + paths.working;
}

// What a switch back gives setting 2: the project's own menu, kept or remembered, or the stock one.
std::wstring menuLine(const std::wstring& path, const kvs::SettingValue& menu) {
  if (!menu.present) return L"Icon menu after a switch back: none, setting 2 is not set";
  kvs::RecordValues back = kvs::stock_values(L"", L"");
  std::wstring file;
  if (!remembered_switch_back(path, back.remembered, back.remembered_menu, file)) {
    const DWORD error = GetLastError();
    return L"Icon menu after a switch back: unknown, " + file + L" cannot be read: " + kvs::system_message(error);
  }
  kvs::LibrarySettings held;
  held[1] = menu;
  const std::wstring after = kvs::settings_after_switch(held, back)[1].value;
  return L"Icon menu after a switch back: " + after +
         (kvs::menu_kind(after) == kvs::MenuKind::Own ? L" (the project's own)" : L" (the stock menu)");
}

std::wstring count(std::size_t n, const wchar_t* one, const wchar_t* many) {
  return std::to_wstring(n) + L" " + (n == 1 ? one : many);
}

}  // namespace

void CKVS_switchApp::KVS_switchkvs_status() {
  std::wstring path;
  if (active_project(path)) {
    print(L"Project: " + path);
    const ProjectLook look = look_at_project_file(path);
    const kvs::LibrarySettings settings = kvs::library_settings(look.text);
    print(L"Library: " + (look.readable ? kvs::library_summary(settings) : L"unknown (" + look.why + L")"));
    if (look.readable) print(menuLine(path, settings[1]));
    print(registeredLine(path));
  } else {
    print(L"Project: none, ACADE has no active project");
  }
  printFileSettings();
  print(plcLine());
  print(acedIsMenuGroupLoaded(L"KORVANTA") ? L"Menu group KORVANTA: loaded"
                                           : L"Menu group KORVANTA: not loaded (init_kvs loads it)");
}

void CKVS_switchApp::KVS_switchkvs_list() {
  std::wstring list;
  if (read_projects_value(list) == ProjectsValue::Unreadable) {
    print(L"The list of switched projects cannot be read.");
    return;
  }
  const std::vector<std::wstring> entries = kvs::list_entries(list);
  if (entries.empty()) {
    print(L"No project is registered: the start-up switches none.");
    return;
  }
  print(L"Registered projects, and what the next start-up does to each:");
  std::size_t switched = 0, gone = 0, unusable = 0;
  for (const std::wstring& entry : entries) {
    const ProjectLook look = look_at_project_file(entry);
    switch (look.state) {
      case ProjectFileState::Switchable:
        ++switched;
        print(L"  " + entry + L": switch to GOST");
        break;
      case ProjectFileState::Gone:
        ++gone;
        print(L"  " + entry + L": file gone, dropped from the list");
        break;
      case ProjectFileState::Unusable:
        ++unusable;
        print(L"  " + entry + L": file locked or unreadable (" + look.why + L"), stays registered");
        break;
    }
  }
  print(count(entries.size(), L"registered project: ", L"registered projects: ") + std::to_wstring(switched) +
        L" to switch, " + std::to_wstring(gone) + L" gone, " + std::to_wstring(unusable) + L" locked or unreadable.");
}

void CKVS_switchApp::KVS_switchkvs_undo() {
  std::wstring path;
  if (!active_project(path)) {
    print(L"Nothing to undo: ACADE has no active project.");
    return;
  }
  const UndoResult undo = restore_newest_version(path, command_line());
  if (undo.outcome == UndoOutcome::NothingKept) {
    print(L"Nothing to undo for project " + path + L": no earlier version of it is kept.");
    return;
  }
  if (undo.outcome == UndoOutcome::NothingDifferent) {
    print(L"Nothing to undo for project " + path + L": every version kept of it holds what the file holds now.");
    return;
  }
  if (undo.outcome != UndoOutcome::Restored) return;
  print(L"Project file " + path + L" is back as it was at " + kvs::readable_time(undo.time) + L".");
  const kvs::LibrarySettings settings = kvs::library_settings(undo.text);
  const kvs::ProjectLibrary library = undo.readable ? kvs::project_library(settings) : kvs::ProjectLibrary::Mixed;
  if (library == kvs::ProjectLibrary::Gost) {
    if (register_project(path, L"put back") != Registration::Refused)
      print(L"It is on the GOST library and registered: every start-up switches it to GOST.");
  } else if (library == kvs::ProjectLibrary::Stock) {
    if (unregister_project(path, L"put back") != Registration::Refused)
      print(L"It is on the stock ACADE library and not registered.");
  } else if (undo.readable) {
    print(L"Its library is " + kvs::library_summary(settings) + L"; its registration is left as it was.");
  } else {
    print(L"It is not a text file, so its library is unknown; its registration is left as it was.");
  }
  print(L"The version it replaced is kept: kvs_undo again puts that back.");
}
