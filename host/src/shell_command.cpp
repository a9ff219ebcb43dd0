// SHELL: an operating-system command from the command line, its output in the transcript.
#include "host.h"

namespace acadhost {

void Host::runShell(const std::wstring& commandLine) {
  if (commandLine.empty()) {
    print(L"SHELL needs an operating system command.\n");
    return;
  }
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return;
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  si.hStdOutput = writeEnd;
  si.hStdError = writeEnd;
  PROCESS_INFORMATION pi = {};
  std::wstring cmd = L"cmd.exe /c " + commandLine;
  BOOL started = CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi);
  CloseHandle(writeEnd);
  if (!started) {
    CloseHandle(readEnd);
    print(L"SHELL could not start the command interpreter.\n");
    return;
  }
  std::string output;
  char chunk[4096];
  DWORD got = 0;
  while (ReadFile(readEnd, chunk, sizeof chunk, &got, nullptr) && got > 0) output.append(chunk, got);
  CloseHandle(readEnd);
  WaitForSingleObject(pi.hProcess, INFINITE);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  // The console programs write in the OEM code page.
  int n = MultiByteToWideChar(CP_OEMCP, 0, output.data(), static_cast<int>(output.size()), nullptr, 0);
  std::wstring text(static_cast<std::size_t>(n), L'\0');
  if (n > 0) MultiByteToWideChar(CP_OEMCP, 0, output.data(), static_cast<int>(output.size()), &text[0], n);
  std::wstring clean;
  for (wchar_t c : text)
    if (c != L'\r') clean += c;
  print(clean);
}

}  // namespace acadhost
