// ACADE's side of the host: the functions it offers to acedInvoke and its active project.
#include "acedads.h"
#include "adscodes.h"
#include "acutads.h"
#include "host.h"

namespace acadhost {

void addAcadeCommands(Host& host) {
  // ACTIVEPROJECT path: makes path ACADE's active project ("" for none); environment
  // variables such as %USERPROFILE% are expanded. Without an argument it names the project.
  host.addBuiltin(L"ACTIVEPROJECT", [&host](const std::vector<std::wstring>& args) {
    if (args.empty()) {
      host.print(host.options.project.empty() ? std::wstring(L"No active project.\n")
                                              : L"Active project: " + host.options.project + L"\n");
      return;
    }
    wchar_t expanded[32768];
    DWORD n = ExpandEnvironmentStringsW(args[0].c_str(), expanded, 32768);
    host.options.project = (n > 0 && n <= 32768) ? std::wstring(expanded) : args[0];
  });
  host.acadeBuiltins.insert(L"ACTIVEPROJECT");
}

void setActiveProject(const std::wstring& path) { Host::get().options.project = path; }

}  // namespace acadhost

using acadhost::Host;

int acedInvoke(const struct resbuf* args, struct resbuf** result) {
  if (result) *result = nullptr;
  if (!args || args->restype != RTSTR || !args->resval.rstring || !result) return RTERROR;
  Host& host = Host::get();
  host.event(L"acedInvoke " + std::wstring(args->resval.rstring));
  // Plain AutoCAD has none of ACADE's functions.
  if (!host.options.plainAutocad && acadhost::equalNoCase(args->resval.rstring, L"ace_getactiveproject")) {
    if (host.options.project.empty()) return RTERROR;
    *result = acutBuildList(RTSTR, host.options.project.c_str(), 0);
    return *result ? RTNORM : RTERROR;
  }
  return RTERROR;
}
