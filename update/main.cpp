// update.exe: started hidden by the plug-in when AutoCAD unloads it, with the working PLC
// database as its one argument; puts the user's own database back after a wait.
#include <afxwin.h>
#include <shellapi.h>

#include <cstdio>
#include <memory>
#include <string>

#include "restore.h"
#include "win32/console_text.h"

namespace {

CWinApp theApp;

// To a console as it is; to a pipe or file in the ANSI code page, so paths stay legible.
void writeError(const std::wstring& text) { kvs::write_text(STD_ERROR_HANDLE, text, CP_ACP); }

struct LocalFreeDeleter {
  void operator()(LPWSTR* p) const { LocalFree(p); }
};

}  // namespace

int main() {
  // The platform's own argument rules, not the C runtime's.
  int argc = 0;
  std::unique_ptr<LPWSTR, LocalFreeDeleter> argv(CommandLineToArgvW(GetCommandLineW(), &argc));
  if (!argv) argc = 0;

  update::Environment env;
  env.wait = [](DWORD ms) { Sleep(ms); };
  env.print = [](const std::wstring& text) {
    wprintf(L"%ls", text.c_str());
    fflush(stdout);
  };
  env.complain = writeError;
  // The AutoCAD that started this program, to outlive.
  const kvs::KernelHandle host = update::openParentProcess();
  env.host = host.get();
  return update::run(argc, argv.get(), env);
}
