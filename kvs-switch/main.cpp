// kvs-switch.exe: a CAD manager's console program. It tells which library the ACADE projects
// under the paths it is given are on, and switches them to the GOST library or back, with the
// plug-in's own switching code and without AutoCAD.
#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "batch.h"
#include "win32/console_text.h"

namespace {

struct LocalFreeDeleter {
  void operator()(LPWSTR* p) const { LocalFree(p); }
};

// Redirected output is UTF-8, which every editor and spreadsheet reads.
void print(const std::wstring& text) { kvs::write_text(STD_OUTPUT_HANDLE, text, CP_UTF8); }
void complain(const std::wstring& text) { kvs::write_text(STD_ERROR_HANDLE, text, CP_UTF8); }

}  // namespace

int main() {
  int argc = 0;
  std::unique_ptr<LPWSTR, LocalFreeDeleter> argv(CommandLineToArgvW(GetCommandLineW(), &argc));
  std::vector<std::wstring> args;
  for (int i = 1; argv && i < argc; ++i) args.push_back(argv.get()[i]);
  kvs_switch::Output output;
  output.out = print;
  output.error = complain;
  // A count that overwrites itself is for a person at a console, not for a log.
  if (kvs::is_console(STD_ERROR_HANDLE)) output.progress = complain;
  return kvs_switch::run(args, output);
}
