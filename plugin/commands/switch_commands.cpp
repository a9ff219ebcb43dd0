// kvs_on and kvs_off: switch the active project and keep the registered-projects list.
#include <memory>

#include "commands/project_list.h"
#include "common/text_util.h"
#include "frame/KVS_switchApp.h"
#include "frame/host_interface.h"

namespace {

const wchar_t kCaption[] = L"Информация";
const wchar_t kPathWithSeparator[] =
    L"The project is switched but cannot be remembered: its path contains \";\".\n";
const wchar_t kListUnreadable[] =
    L"The project is switched but cannot be remembered: the list of switched projects cannot be read.\n";
const wchar_t kListUnreadableOff[] =
    L"The project is switched back but cannot be forgotten: the list of switched projects cannot be read.\n";

using ResultList = std::unique_ptr<resbuf, int (*)(resbuf*)>;

// ACADE's active project file as it reports it; false when there is none.
bool activeProject(std::wstring& path) {
  ResultList args(acutBuildList(RTSTR, L"ace_getactiveproject", 0), acutRelRb);
  resbuf* raw = nullptr;
  int rc = acedInvoke(args.get(), &raw);
  ResultList result(raw, acutRelRb);
  if (rc != RTNORM || !result || result->restype != RTSTR || !result->resval.rstring) return false;
  path = result->resval.rstring;
  return true;
}

void confirm(const wchar_t* library, const std::wstring& name) {
  std::wstring text = std::wstring(L"Проект переключен на библиотеку ") + library + L".\nИмя проекта " + name;
  MessageBoxW(nullptr, text.c_str(), kCaption, MB_OK | MB_ICONINFORMATION);
}

}  // namespace

void CKVS_switchApp::KVS_switchkvs_on() {
  std::wstring path;
  if (!activeProject(path)) return;
  if (switch_project(path, 1) != kvs::SwitchOutcome::Switched) return;
  // Stored, such a path would read back as two entries.
  if (path.find(L';') != std::wstring::npos) {
    acutPrintf(L"%ls", kPathWithSeparator);
    return;
  }
  std::wstring list;
  if (read_projects_value(list) == ProjectsValue::Unreadable) {
    acutPrintf(L"%ls", kListUnreadable);
    return;
  }
  if (kvs::list_has_entry(list, path)) return;
  write_projects(kvs::append_list_entry(list, path));
  confirm(L"ГОСТ", kvs::trim(path));
}

void CKVS_switchApp::KVS_switchkvs_off() {
  std::wstring path;
  if (!activeProject(path)) return;
  if (switch_project(path, 2) != kvs::SwitchOutcome::Switched) return;
  std::wstring list;
  if (read_projects_value(list) == ProjectsValue::Unreadable) {
    acutPrintf(L"%ls", kListUnreadableOff);
    return;
  }
  // kvs_on registers the path as ACADE returned it; an entry without its outer blanks is the
  // same project too.
  const std::wstring name = kvs::trim(path);
  if (!kvs::list_has_entry(list, path) && !kvs::list_has_entry(list, name)) return;
  write_projects(kvs::remove_list_entry(kvs::remove_list_entry(list, path), name));
  confirm(L"ACADE", name);
}
