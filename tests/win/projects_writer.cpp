// A second process of the user that registers projects through the add-on's own code, at the
// moment its test says so, as a second AutoCAD session does.
// Usage: projects_writer PREFIX COUNT   registers PREFIX0.wdp ... once "go" arrives on stdin.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <iostream>
#include <string>

#include "commands/switch_commands.h"

int main() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || argc != 3) return 2;
  const std::wstring prefix = argv[1];
  const int count = _wtoi(argv[2]);
  std::printf("ready\n");
  std::fflush(stdout);
  std::string go;
  std::getline(std::cin, go);
  for (int i = 0; i < count; ++i)
    if (register_project(prefix + std::to_wstring(i) + L".wdp", L"switched") != Registration::Changed) return 1;
  return 0;
}
