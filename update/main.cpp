// update.exe: started hidden by the plug-in when AutoCAD unloads it, with the working PLC
// database as its one argument; puts the user's own database back after a wait.
#include <afxwin.h>
#include <shellapi.h>

#include <cstdio>
#include <memory>
#include <string>

#include "restore.h"

namespace {

CWinApp theApp;

// To a console as it is; to a pipe or file in the ANSI code page, so paths stay legible.
void writeError(const std::wstring& text) {
  HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
  if (err == nullptr || err == INVALID_HANDLE_VALUE || text.empty()) return;
  DWORD mode = 0, put = 0;
  if (GetConsoleMode(err, &mode)) {
    WriteConsoleW(err, text.data(), static_cast<DWORD>(text.size()), &put, nullptr);
    return;
  }
  int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  if (n <= 0) return;
  std::string bytes(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &bytes[0], n, nullptr, nullptr);
  WriteFile(err, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
}

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
