#include "commands/project_list.h"


#include "commands/com_errors.h"
#include "common/texts.h"
#include "win32/handles.h"
#include "win32/path_identity.h"
#include "win32/registry.h"
#include "win32/system_message.h"
#include "win32/user_mutex.h"
#include "frame/host_interface.h"
#include "commands/acad_switch.h"

namespace {

const wchar_t kAddonKey[] = L"SOFTWARE\\Korvanta";
const wchar_t kValueName[] = L"Projects";
// Shared by every process of the user that edits the list. An edit takes milliseconds; a
// wait this long means the holder hangs.
const wchar_t kListMutex[] = L"Korvanta.Projects";
const DWORD kListWaitMs = 10000;

ProjectsValue queryList(HKEY key, std::wstring& list) {
  const LONG rc = kvs::read_string_value(key, kValueName, list);
  if (rc == ERROR_FILE_NOT_FOUND) return ProjectsValue::Absent;
  return rc == ERROR_SUCCESS ? ProjectsValue::Read : ProjectsValue::Unreadable;
}

}  // namespace

ProjectsValue read_projects_value(std::wstring& list) {
  list.clear();
  kvs::RegKey key;
  LONG rc = RegOpenKeyExW(HKEY_CURRENT_USER, kAddonKey, 0, KEY_QUERY_VALUE, key.put());
  if (rc == ERROR_FILE_NOT_FOUND) return ProjectsValue::Absent;
  if (rc != ERROR_SUCCESS) return ProjectsValue::Unreadable;
  return queryList(key.get(), list);
}

std::wstring read_projects() {
  std::wstring list;
  if (read_projects_value(list) != ProjectsValue::Read) list.clear();
  return list;
}

std::wstring project_key(const std::wstring& path) { return kvs::path_identity(path); }

ListEdit edit_projects(const std::function<bool(std::wstring& list)>& edit) {
  const kvs::UserMutex editing(kListMutex, kListWaitMs);
  if (!editing.owns()) return ListEdit::Busy;
  std::wstring list;
  if (read_projects_value(list) == ProjectsValue::Unreadable) return ListEdit::Unreadable;
  if (!edit(list)) return ListEdit::Unchanged;
  write_projects(list);
  return ListEdit::Stored;
}

void write_projects(const std::wstring& list) {
  kvs::RegKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kAddonKey, 0, KEY_SET_VALUE, key.put()) != ERROR_SUCCESS) return;
  const LONG written = kvs::write_string_value(key.get(), kValueName, list);
  if (written != ERROR_SUCCESS)
    acutPrintf(L"%ls\n", kvs::text(kvs::kTextRegistryWriteFailed, L"HKEY_CURRENT_USER\\" + std::wstring(kAddonKey) + L"\\" + kValueName,
                                    kvs::system_message(static_cast<DWORD>(written))).c_str());
}

namespace {

SwitchResult switchWith(const std::wstring& path, const LibraryValues& library) {
  SwitchResult result = SwitchResult::Other;
  if (!kvs::run_catching_com_errors([&] { result = switch_project_file(path, library, command_line()); }))
    return SwitchResult::Aborted;
  return result;
}

}  // namespace

SwitchResult switch_project(const std::wstring& path, int tip) { return switchWith(path, acad_library(tip)); }

void init_projects() {
  std::wstring list = read_projects();
  if (list.empty()) return;
  // AutoCAD's paths move, and the library is listed, once for the whole pass.
  const LibraryValues library = once_per_pass(acad_library(1));
  const auto switchEntry = [&library](const std::wstring& entry) {
    const SwitchResult outcome = switchWith(entry, library);
    if (outcome == SwitchResult::FileUnusable)
      acutPrintf(L"%ls\n", kvs::text(kvs::kTextStaysRegistered, entry).c_str());
    return outcome;
  };
  const auto drop = [](const std::vector<std::wstring>& spellings) {
    const ListEdit edit = edit_projects([&spellings](std::wstring& now) {
      const std::wstring without = kvs::remove_list_spellings(now, spellings);
      if (without == now) return false;
      now = without;
      return true;
    });
    if (edit == ListEdit::Busy)
      acutPrintf(L"%ls\n", kvs::text(kvs::kTextGoneButRegistered, spellings[0]).c_str());
  };
  kvs::run_startup_pass(list, switchEntry, drop, project_key);
}

void deinit_projects() {
  const LibraryValues library = once_per_pass(acad_library(2));
  kvs::run_quit_pass(read_projects(), [&library](const std::wstring& entry) { return switchWith(entry, library); });
}
