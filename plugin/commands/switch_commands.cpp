// kvs_on and kvs_off: switch the active project and keep the registered-projects list.
#include "commands/switch_commands.h"

#include <memory>

#include "commands/project_list.h"
#include "common/text_util.h"
#include "common/texts.h"
#include "frame/KVS_switchApp.h"
#include "frame/host_interface.h"

namespace {

typedef std::unique_ptr<resbuf, int (*)(resbuf*)> ResultList;

void sayRefused(kvs::TextId why, const std::wstring& path, kvs::TextId done) {
  acutPrintf(L"%ls\n", kvs::text(why, kvs::trim(path), kvs::text(done)).c_str());
}

Registration registration(ListEdit edit, kvs::TextId unreadable, kvs::TextId busy, const std::wstring& path,
                          kvs::TextId done) {
  switch (edit) {
    case ListEdit::Stored: return Registration::Changed;
    case ListEdit::Unchanged: return Registration::Unchanged;
    case ListEdit::Unreadable: sayRefused(unreadable, path, done); break;
    case ListEdit::Busy: sayRefused(busy, path, done); break;
  }
  return Registration::Refused;
}

void confirm(kvs::TextId box, const std::wstring& name) {
  MessageBoxW(nullptr, kvs::text(box, name).c_str(), kvs::text(kvs::kTextBoxCaption).c_str(), MB_OK | MB_ICONINFORMATION);
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

Registration register_project(const std::wstring& path, kvs::TextId done) {
  // Stored, such a path would read back as two entries.
  if (path.find(L';') != std::wstring::npos) {
    sayRefused(kvs::kTextCannotRememberSeparator, path, done);
    return Registration::Refused;
  }
  // A project listed under another spelling is registered already.
  const ListEdit edit = edit_projects([&path](std::wstring& list) {
    if (kvs::list_has_entry(list, path, project_key)) return false;
    list = kvs::append_list_entry(list, path);
    return true;
  });
  return registration(edit, kvs::kTextCannotRememberUnreadable, kvs::kTextCannotRememberBusy, path, done);
}

Registration unregister_project(const std::wstring& path, kvs::TextId done) {
  const ListEdit edit = edit_projects([&path](std::wstring& list) {
    const std::wstring without = kvs::remove_list_entry(list, path, project_key);
    if (without == list) return false;
    list = without;
    return true;
  });
  return registration(edit, kvs::kTextCannotForgetUnreadable, kvs::kTextCannotForgetBusy, path, done);
}

namespace {

void say(const std::wstring& line) { acutPrintf(L"%ls\n", line.c_str()); }

}  // namespace

namespace {

// What kvs_on and kvs_off say, and how each keeps the list.
struct SwitchCommand {
  int tip;
  Registration (*keep_list)(const std::wstring& path, kvs::TextId done);
  kvs::TextId box;
  kvs::TextId done;  // for the list's refusals
  kvs::TextId already_done;
  kvs::TextId switched;
  kvs::TextId already;
  kvs::TextId list_changed;
  kvs::TextId list_unchanged;
};

const SwitchCommand kOn = {1,
                           register_project,
                           kvs::kTextBoxSwitchedGost,
                           kvs::kTextDoneSwitchedGost,
                           kvs::kTextDoneOnGost,
                           kvs::kTextSwitchedGost,
                           kvs::kTextAlreadyGost,
                           kvs::kTextRegisteredNow,
                           kvs::kTextRegisteredAlready};
const SwitchCommand kOff = {2,
                            unregister_project,
                            kvs::kTextBoxSwitchedStock,
                            kvs::kTextDoneSwitchedBack,
                            kvs::kTextDoneOnStock,
                            kvs::kTextSwitchedStock,
                            kvs::kTextAlreadyStock,
                            kvs::kTextUnregisteredNow,
                            kvs::kTextUnregisteredAlready};

// The box confirms a first registration, as ever; every other outcome is said in a line.
void runSwitchCommand(const SwitchCommand& command) {
  std::wstring path;
  if (!active_project(path)) return say(kvs::text(kvs::kTextNoActiveProject));
  const SwitchResult result = switch_project(path, command.tip);
  if (result != SwitchResult::Switched && result != SwitchResult::Unchanged) return;
  const bool switched = result == SwitchResult::Switched;
  const Registration registration = command.keep_list(path, switched ? command.done : command.already_done);
  if (registration == Registration::Refused) return;
  const std::wstring name = kvs::trim(path);
  if (switched && registration == Registration::Changed) return confirm(command.box, name);
  say(kvs::text(switched ? command.switched : command.already, name) + L" " +
      kvs::text(registration == Registration::Changed ? command.list_changed : command.list_unchanged));
}

}  // namespace

void CKVS_switchApp::KVS_switchkvs_on() { runSwitchCommand(kOn); }

void CKVS_switchApp::KVS_switchkvs_off() { runSwitchCommand(kOff); }
