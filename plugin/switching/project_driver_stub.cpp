// STAND-IN for the project-file driver, to be replaced by the real one: it reads the file and
// writes the same bytes back, without rewriting any record. A GOST switch fails as the real
// one does when the add-on's symbol library folder cannot be listed.
#include <cstdio>
#include <string>

#include "common/win32_handles.h"
#include "frame/host_interface.h"
#include "switching/project_driver.h"

namespace {

DriverFailure lastFailure = DriverFailure::None;

bool fail(DriverFailure why) {
  lastFailure = why;
  return false;
}

}  // namespace

DriverFailure last_driver_failure() { return lastFailure; }

bool do_change(std::wstring fl_name, int tip) {
  lastFailure = DriverFailure::None;
  std::string bytes;
  {
    FILE* in = _wfopen(fl_name.c_str(), L"rb");
    if (!in) return fail(DriverFailure::ProjectFile);
    char chunk[4096];
    for (std::size_t n; (n = fread(chunk, 1, sizeof chunk, in)) > 0;) bytes.append(chunk, n);
    fclose(in);
  }
  if (tip == 1 && !kvs::pathExists(L"C:\\Program Files\\Korvanta\\Data\\UGO\\*.*")) {
    acutPrintf(L"%ls", L"Error. Installation folder not found.");
    return fail(DriverFailure::Installation);
  }
  FILE* out = _wfopen(fl_name.c_str(), L"w+b");
  if (!out) {
    acutPrintf(L"%ls", L"Can not find environment file..\n");
    return fail(DriverFailure::ProjectFile);
  }
  fwrite(bytes.data(), 1, bytes.size(), out);
  fclose(out);
  return true;
}
