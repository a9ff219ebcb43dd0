#include "commands/acad_switch.h"

#include "frame/host_interface.h"

#include "commands/support_paths.h"
#include "common/release_globals.h"
#include "switching/library_lists.h"

namespace {

class CommandLine : public kvs::SwitchReport {
 public:
  void say(const std::wstring& text) override { acutPrintf(L"%ls", text.c_str()); }
};

}  // namespace

kvs::SwitchReport& command_line() {
  static CommandLine line;
  return line;
}

bool library_values(int tip, kvs::RecordValues& values, std::wstring& message) {
  if (tip == 1) {
    // AutoCAD's paths move first and stay moved even when the library turns out to be missing.
    fSetSupportPath(1);
    return library_lists(1, version, values, message);
  }
  // Back to the stock library only once its folders are known.
  if (!library_lists(2, version, values, message)) return false;
  fSetSupportPath(2);
  return true;
}

std::wstring change_env(std::wstring str, int tip) {
  kvs::RecordValues values;
  std::wstring message;
  if (!library_values(tip, values, message)) return message;
  return kvs::rewrite_project_text(str, values);
}

LibraryValues acad_library(int tip) {
  return [tip](kvs::RecordValues& values, std::wstring& message) { return library_values(tip, values, message); };
}

SwitchResult switch_project_file(const std::wstring& path, int tip) {
  return switch_project_file(path, acad_library(tip), command_line());
}

bool do_change(std::wstring fl_name, int tip) {
  const SwitchResult result = switch_project_file(fl_name, tip);
  return result == SwitchResult::Switched || result == SwitchResult::Unchanged;
}
