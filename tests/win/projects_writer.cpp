// A second process of the user, as a second AutoCAD session: registers PREFIX0.wdp to
// PREFIX<COUNT-1>.wdp through the add-on's own code once "go" comes on standard input.
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
  std::printf("ready\n");
  std::fflush(stdout);
  std::string go;
  std::getline(std::cin, go);
  for (int i = 0; i < _wtoi(argv[2]); ++i)
    if (register_project(argv[1] + std::to_wstring(i) + L".wdp", kvs::kTextDoneSwitchedGost) != Registration::Changed) return 1;
  return 0;
}
