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
#include "common/texts.h"
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
    return kvs::text(kvs::kTextStatusRegisteredUnknown);
  if (kvs::list_has_entry(list, path, project_key))
    return kvs::text(kvs::kTextStatusRegisteredYes);
  return kvs::text(kvs::kTextStatusRegisteredNo);
}

void printFileSettings() {
  FileSettings settings;
  try {
    settings = current_file_settings();
  } catch (const _com_error& e) {
    print(kvs::text(kvs::kTextStatusSupportUnknown, kvs::trim(e.ErrorMessage() ? e.ErrorMessage() : L"")));
    return;
  }
  print(kvs::text(kvs::support_path_has_addon(settings.support) ? kvs::kTextStatusSupportWith
                                                                : kvs::kTextStatusSupportWithout));
  print(kvs::text(kvs::is_addon_template_folder(settings.templates) ? kvs::kTextStatusTemplateAddon
                                                                    : kvs::kTextStatusTemplate,
                  settings.templates));
}

// The backup is the only record that the add-on's database has taken the user's place.
std::wstring plcLine() {
  std::wstring docs;
  if (!getMyDocsPath(L"RoamingUserMyDocsAcadeFolder", docs)) return kvs::text(kvs::kTextStatusPlcUnknown);
  kvs::PlcPaths paths;
  if (!locate_plc_database(docs, paths)) return kvs::text(kvs::kTextStatusPlcNone, docs + L"AeData\\");
  const bool working = kvs::path_exists(paths.working);
  if (kvs::path_exists(paths.backup))
    return kvs::text(working ? kvs::kTextStatusPlcAddon : kvs::kTextStatusPlcMissing, paths.backup);
  return kvs::text(working ? kvs::kTextStatusPlcOwn : kvs::kTextStatusPlcNoneAt, paths.working);
}

// What a switch back gives setting 2: the project's own menu, kept or remembered, or the stock one.
std::wstring menuLine(const std::wstring& path, const kvs::SettingValue& menu) {
  if (!menu.present) return kvs::text(kvs::kTextStatusMenuNone);
  kvs::RecordValues back = kvs::stock_values(L"", L"");
  std::wstring file;
  if (!remembered_switch_back(path, back.remembered, back.remembered_menu, file)) {
    const DWORD error = GetLastError();
    return kvs::text(kvs::kTextStatusMenuUnknown, file, kvs::system_message(error));
  }
  kvs::LibrarySettings held;
  held[1] = menu;
  const std::wstring after = kvs::settings_after_switch(held, back)[1].value;
  return kvs::text(kvs::menu_kind(after) == kvs::MenuKind::Own ? kvs::kTextStatusMenuOwn : kvs::kTextStatusMenuStock, after);
}

std::wstring number(std::size_t n) { return std::to_wstring(static_cast<unsigned long long>(n)); }

}  // namespace

void CKVS_switchApp::KVS_switchkvs_status() {
  std::wstring path;
  if (active_project(path)) {
    print(kvs::text(kvs::kTextStatusProject, path));
    const ProjectLook look = look_at_project_file(path);
    const kvs::LibrarySettings settings = kvs::library_settings(look.text);
    print(look.readable ? kvs::text(kvs::kTextStatusLibrary, kvs::library_summary(settings))
                        : kvs::text(kvs::kTextStatusLibraryUnknown, look.why));
    if (look.readable) print(menuLine(path, settings[1]));
    print(registeredLine(path));
  } else {
    print(kvs::text(kvs::kTextStatusNoProject));
  }
  printFileSettings();
  print(plcLine());
  print(kvs::text(acedIsMenuGroupLoaded(L"KORVANTA") ? kvs::kTextStatusMenuGroupLoaded : kvs::kTextStatusMenuGroupNotLoaded));
}

void CKVS_switchApp::KVS_switchkvs_list() {
  std::wstring list;
  if (read_projects_value(list) == ProjectsValue::Unreadable) {
    print(kvs::text(kvs::kTextListUnreadable));
    return;
  }
  const std::vector<std::wstring> entries = kvs::list_entries(list);
  if (entries.empty()) {
    print(kvs::text(kvs::kTextListEmpty));
    return;
  }
  print(kvs::text(kvs::kTextListHeading));
  std::size_t switched = 0, gone = 0, unusable = 0;
  for (const std::wstring& entry : entries) {
    const ProjectLook look = look_at_project_file(entry);
    switch (look.state) {
      case ProjectFileState::Switchable:
        ++switched;
        print(kvs::text(kvs::kTextListSwitch, entry));
        break;
      case ProjectFileState::Gone:
        ++gone;
        print(kvs::text(kvs::kTextListGone, entry));
        break;
      case ProjectFileState::Unusable:
        ++unusable;
        print(kvs::text(kvs::kTextListLocked, entry, look.why));
        break;
    }
  }
  print(kvs::text(entries.size() == 1 ? kvs::kTextListSummaryOne : kvs::kTextListSummary, number(entries.size()), number(switched), number(gone), number(unusable)));
}

void CKVS_switchApp::KVS_switchkvs_undo() {
  std::wstring path;
  if (!active_project(path)) {
    print(kvs::text(kvs::kTextUndoNoProject));
    return;
  }
  const UndoResult undo = restore_newest_version(path, command_line());
  if (undo.outcome == UndoOutcome::NothingKept) {
    print(kvs::text(kvs::kTextUndoNothingKept, path));
    return;
  }
  if (undo.outcome == UndoOutcome::NothingDifferent) {
    print(kvs::text(kvs::kTextUndoNothingDifferent, path));
    return;
  }
  if (undo.outcome != UndoOutcome::Restored) return;
  print(kvs::text(kvs::kTextUndoDone, path, kvs::readable_time(undo.time)));
  const kvs::LibrarySettings settings = kvs::library_settings(undo.text);
  const kvs::ProjectLibrary library = undo.readable ? kvs::project_library(settings) : kvs::ProjectLibrary::Mixed;
  if (library == kvs::ProjectLibrary::Gost) {
    if (register_project(path, kvs::kTextDonePutBack) != Registration::Refused) print(kvs::text(kvs::kTextUndoGost));
  } else if (library == kvs::ProjectLibrary::Stock) {
    if (unregister_project(path, kvs::kTextDonePutBack) != Registration::Refused) print(kvs::text(kvs::kTextUndoStock));
  } else if (undo.readable) {
    print(kvs::text(kvs::kTextUndoMixed, kvs::library_summary(settings)));
  } else {
    print(kvs::text(kvs::kTextUndoNotText));
  }
  print(kvs::text(kvs::kTextUndoAgain));
}
