// The plug-in's start-up in the simulated host with 10, 100 and 1000 registered projects
// (small real project files), in a folder each and all in one folder, and what each project
// adds; then a list of 10,000 of which half are gone; then kvs-switch over 1000 projects beside
// the start-up pass over them. Prints measurements only.
//
// Run under Wine: KVS_STATE_DIR=$PWD/build/win/wine tools/wine-run build/win/bin/startup_bench.exe
// It installs the add-on's library folders it needs under C:\Program Files\Korvanta\ and
// removes what it created; the user's PLC database is put back after each run.
#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "acadhost/host_api.h"
#include "support/korvanta_install.h"
#include "support/test_support.h"
#include "win32/registry.h"

namespace {

using Clock = std::chrono::steady_clock;

const wchar_t kAddonKey[] = L"SOFTWARE\\Korvanta";
const std::wstring kData = L"C:\\Program Files\\Korvanta\\Data\\";

std::wstring binDir() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p = path;
  return p.substr(0, p.find_last_of(L'\\') + 1);
}

void writeFile(const std::wstring& path, const std::string& bytes) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD put = 0;
  WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
  CloseHandle(f);
}

void setProjects(const std::wstring& list) {
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, kAddonKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
  kvs::write_string_value(key, L"Projects", list);
  RegCloseKey(key);
}

// Milliseconds from the load message to the end of the start-up, best of `runs`.
double startupMs(int runs) {
  double best = 1e300;
  for (int i = 0; i < runs; ++i) {
    acadhost::SessionOptions options;
    acadhost::startSession(options);
    auto t0 = Clock::now();
    acadhost::loadModule(binDir() + L"KVS_switch_2015.arx");
    auto t1 = Clock::now();
    acadhost::endSession();
    testing_support::endSwaps();
    best = std::min(best, std::chrono::duration<double, std::milli>(t1 - t0).count());
  }
  return best;
}

// Project files for `count` registered projects, in a folder each (as offices keep them) or
// all in one folder; `gone` of them, spread through the list, deleted. Returns the list.
std::wstring makeProjects(const std::wstring& root, int count, bool folderEach, int gone, const std::string& text) {
  std::wstring list;
  for (int i = 0; i < count; ++i) {
    std::wstring folder = root;
    if (folderEach) {
      folder += L"Project " + std::to_wstring(i) + L"\\";
      CreateDirectoryW(folder.c_str(), nullptr);
    }
    const std::wstring path = folder + L"p" + std::to_wstring(i) + L".wdp";
    if (gone == 0 || i % (count / gone) != 0) writeFile(path, text);
    list += path + L";";
  }
  return list;
}

void removeProjects(const std::wstring& root, int count, bool folderEach) {
  for (int i = 0; i < count; ++i) {
    std::wstring folder = root + (folderEach ? L"Project " + std::to_wstring(i) + L"\\" : L"");
    DeleteFileW((folder + L"p" + std::to_wstring(i) + L".wdp").c_str());
    if (folderEach) RemoveDirectoryW(folder.c_str());
  }
}

}  // namespace

int main() {
  acadhost::setEcho(false);
  std::vector<std::wstring> made;
  for (const wchar_t* folder : {L"C:\\Program Files\\Korvanta", L"C:\\Program Files\\Korvanta\\Data",
                                L"C:\\Program Files\\Korvanta\\Data\\UGO", L"C:\\Program Files\\Korvanta\\Data\\UGO\\GOST",
                                L"C:\\Program Files\\Korvanta\\Data\\Montajnie_sxemi",
                                L"C:\\Program Files\\Korvanta\\Data\\Montajnie_sxemi\\Shkaf"})
    if (CreateDirectoryW(folder, nullptr)) made.insert(made.begin(), folder);

  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  std::wstring projects = std::wstring(temp) + L"kvs_startup_bench\\";
  wchar_t appData[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData);
  const std::wstring undo = std::wstring(appData) + L"\\Korvanta\\Undo";
  const bool undoExisted = GetFileAttributesW(undo.c_str()) != INVALID_FILE_ATTRIBUTES;
  CreateDirectoryW(projects.c_str(), nullptr);
  const std::string text =
      "*[1]Bench project\r\n+[1]C:\\Libs\\IEC2\\;\r\n+[2]ACE_IEC_MENU.DAT\r\n+[3]C:\\Libs\\panel\\;\r\n+[4]1\r\n"
      "+[5]0\r\n+[11]Plant\r\n+[20]wd.env\r\n?[SCALE]1.0\r\n=====\r\nSheet01.dwg\r\nSheet02.dwg\r\n";

  setProjects(L"");
  const double empty = startupMs(5);
  std::printf("start-up with no registered project: %.1f ms\n", empty);
  for (bool folderEach : {true, false}) {
    std::printf("%s\n", folderEach ? "a folder per project" : "all projects in one folder");
    std::printf("  registered projects   start-up ms   ms per project\n");
    for (int count : {10, 100, 1000}) {
      setProjects(makeProjects(projects, count, folderEach, 0, text));
      const double ms = startupMs(count >= 1000 ? 2 : 3);
      std::printf("  %19d   %11.1f   %14.3f\n", count, ms, (ms - empty) / count);
      removeProjects(projects, count, folderEach);
    }
  }

  // A long list of which half is gone: each drop is stored, the rest of the pass stays linear.
  const int many = 10000;
  setProjects(makeProjects(projects, many, true, many / 2, text));
  const double ms = startupMs(1);
  std::printf("%d registered projects, half of them gone: %.0f ms\n", many, ms);
  removeProjects(projects, many, true);

  // kvs-switch over the same kind of tree, 1000 projects of 40 KB in a folder each, beside the
  // start-up pass over them: both switch every project to GOST with the same code.
  std::string large = text.substr(0, text.find("?[SCALE]"));
  for (int n = 40; large.size() < 40000; ++n)
    large += "+[" + std::to_string(n) + "]C:\\Projects\\Plant\\Reports\\" + std::to_string(n) + "\r\n";
  large += text.substr(text.find("?[SCALE]"));
  const int batch = 1000;
  if (!undoExisted) testing_support::removeTree(undo);
  setProjects(makeProjects(projects, batch, true, 0, large));
  const double pass = (startupMs(1) - empty) / batch;
  removeProjects(projects, batch, true);
  if (!undoExisted) testing_support::removeTree(undo);
  setProjects(L"");
  makeProjects(projects, batch, true, 0, large);
  const auto t0 = Clock::now();
  const testing_support::ProcessResult run = testing_support::runProcess(
      testing_support::inQuotes(binDir() + L"kvs-switch.exe") + L" gost --release 2015 " +
      testing_support::inQuotes(projects.substr(0, projects.size() - 1)));
  const double tool = std::chrono::duration<double, std::milli>(Clock::now() - t0).count() / batch;
  if (run.exitCode != 0) std::printf("kvs-switch failed: %s\n", run.output.substr(run.output.size() > 300 ? run.output.size() - 300 : 0).c_str());
  removeProjects(projects, batch, true);
  std::printf("%d projects of %zu bytes, a folder each, to GOST: start-up pass %.3f ms per project, kvs-switch "
              "%.3f ms per project (%.2f x)\n",
              batch, large.size(), pass, tool, tool / pass);

  RegDeleteTreeW(HKEY_CURRENT_USER, kAddonKey);
  // The versions every switch kept, unless the user had kept some before.
  if (!undoExisted) testing_support::removeTree(undo);
  RemoveDirectoryW(projects.c_str());
  for (const auto& folder : made) RemoveDirectoryW(folder.c_str());
  return 0;
}
