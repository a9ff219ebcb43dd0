// kvs_on and kvs_off: switch the active project and keep the registered-projects list.
#include "commands/switch_commands.h"

#include <memory>

#include "commands/project_list.h"
#include "common/text_util.h"
#include "frame/KVS_switchApp.h"
#include "frame/host_interface.h"

namespace {

const wchar_t kCaption[] = L"Информация";
const wchar_t kPathWithSeparator[] = L"The project is %ls but cannot be remembered: its path contains \";\".\n";
const wchar_t kListUnreadable[] =
    L"The project is %ls but cannot be remembered: the list of switched projects cannot be read.\n";
const wchar_t kListUnreadableOff[] =
    L"The project is %ls but cannot be forgotten: the list of switched projects cannot be read.\n";

const wchar_t kListBusy[] =
    L"The project is %ls but cannot be remembered: another AutoCAD session kept the list of switched projects busy.\n";
const wchar_t kListBusyOff[] =
    L"The project is %ls but cannot be forgotten: another AutoCAD session kept the list of switched projects busy.\n";

typedef std::unique_ptr<resbuf, int (*)(resbuf*)> ResultList;

Registration registration(ListEdit edit, const wchar_t* unreadable, const wchar_t* busy, const wchar_t* done) {
  switch (edit) {
    case ListEdit::Stored: return Registration::Changed;
    case ListEdit::Unchanged: return Registration::Unchanged;
    case ListEdit::Unreadable: acutPrintf(unreadable, done); break;
    case ListEdit::Busy: acutPrintf(busy, done); break;
  }
  return Registration::Refused;
}

void confirm(const wchar_t* library, const std::wstring& name) {
  std::wstring text = std::wstring(L"Проект переключен на библиотеку ") + library + L".\nИмя проекта " + name;
  MessageBoxW(nullptr, text.c_str(), kCaption, MB_OK | MB_ICONINFORMATION);
}

}  // namespace

bool active_project(std::wstring& path) {
  ResultList args(acutBuildList(RTSTR, L"ace_getactiveproject", 0), acutRelRb);
  resbuf* raw = nullptr;
  int rc = acedInvoke(args.get(), &raw);
  ResultList result(raw, acutRelRb);
  if (rc != RTNORM || !result || result->restype != RTSTR || !result->resval.rstring) return false;
  path = result->resval.rstring;
  return true;
}

Registration register_project(const std::wstring& path, const wchar_t* done) {
  // Stored, such a path would read back as two entries.
  if (path.find(L';') != std::wstring::npos) {
    acutPrintf(kPathWithSeparator, done);
    return Registration::Refused;
  }
  // A project listed under another spelling is registered already.
  const ListEdit edit = edit_projects([&path](std::wstring& list) {
    if (kvs::list_has_entry(list, path, project_key)) return false;
    list = kvs::append_list_entry(list, path);
    return true;
  });
  return registration(edit, kListUnreadable, kListBusy, done);
}

Registration unregister_project(const std::wstring& path, const wchar_t* done) {
  const ListEdit edit = edit_projects([&path](std::wstring& list) {
    const std::wstring without = kvs::remove_list_entry(list, path, project_key);
    if (without == list) return false;
    list = without;
    return true;
  });
  return registration(edit, kListUnreadableOff, kListBusyOff, done);
}

namespace {

const wchar_t kNoActiveProject[] = L"Nothing to switch: ACADE has no active project.\n";

void say(const std::wstring& line) { acutPrintf(L"%ls", line.c_str()); }

}  // namespace

namespace {

// What kvs_on and kvs_off say, and how each keeps the list.
struct SwitchCommand {
  int tip;
  Registration (*keep_list)(const std::wstring& path, const wchar_t* done);
  const wchar_t* box_library;
  const wchar_t* done;           // for the list's refusals
  const wchar_t* already_done;
  const wchar_t* switched;       // the line's middle, after the project file's name
  const wchar_t* already;
  const wchar_t* list_changed;
  const wchar_t* list_unchanged;
};

const SwitchCommand kOn = {1, register_project, L"ГОСТ", L"switched", L"on GOST", L" is switched to GOST. ",
                           L" is already on GOST; nothing written. ",
                           L"It is registered now: every start-up switches it to GOST.\n", L"It was registered already.\n"};
const SwitchCommand kOff = {2, unregister_project, L"ACADE", L"switched back", L"on the stock ACADE library",
                            L" is switched back to the stock ACADE library. ",
                            L" is already on the stock ACADE library; nothing written. ",
                            L"It is no longer registered: no start-up switches it.\n", L"It was not registered.\n"};

// The box confirms a first registration, as ever; every other outcome is said in a line.
void runSwitchCommand(const SwitchCommand& command) {
  std::wstring path;
  if (!active_project(path)) return say(kNoActiveProject);
  const SwitchResult result = switch_project(path, command.tip);
  if (result != SwitchResult::Switched && result != SwitchResult::Unchanged) return;
  const bool switched = result == SwitchResult::Switched;
  const Registration registration = command.keep_list(path, switched ? command.done : command.already_done);
  if (registration == Registration::Refused) return;
  const std::wstring name = kvs::trim(path);
  if (switched && registration == Registration::Changed) return confirm(command.box_library, name);
  say(L"Project file " + name + (switched ? command.switched : command.already) +
      (registration == Registration::Changed ? command.list_changed : command.list_unchanged));
}

}  // namespace

void CKVS_switchApp::KVS_switchkvs_on() { runSwitchCommand(kOn); }

void CKVS_switchApp::KVS_switchkvs_off() { runSwitchCommand(kOff); }
