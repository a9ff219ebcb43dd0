// The plug-in's start-up in the simulated host with 10, 100 and 1000 registered projects
// (small real project files), in a folder each and all in one folder, and what each project
// adds; then a list of 10,000 of which half are gone; then kvs-switch over 1000 projects beside
// the start-up pass over them; then, on the simulated share \\srv\projects (tools/wine-share),
// with the kept versions on the local disk and on the share: the start-up pass over 100
// registered projects of 40 KB and kvs-switch gost over 200 in 20 folders, each in time and in
// calls the share serves per project, against the crash-safe copy of the same files. Each
// figure is printed with its bound. Prints measurements only.
//
// Run under Wine: KVS_STATE_DIR=$PWD/build/win/wine tools/wine-run build/win/bin/startup_bench.exe
// It installs the add-on's library folders it needs under C:\Program Files\Korvanta\ and
// removes what it created; the user's PLC database is put back after each run.
#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "acadhost/host_api.h"
#include "crash_safe_copy.h"
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

struct Cost {
  double ms, calls;
};

// Best of `runs` of `job` over `projects`, each run from the files as `reset` leaves them and
// followed by `after`, which is not measured.
Cost costOf(int runs, int projects, const std::function<void()>& reset, const std::function<void()>& job,
            const std::function<void()>& after = [] {}) {
  Cost best = {1e300, 0};
  for (int r = 0; r < runs; ++r) {
    reset();
    const auto t0 = Clock::now();
    job();
    best.ms = std::min(best.ms, std::chrono::duration<double, std::milli>(Clock::now() - t0).count() / projects);
    after();
  }
  reset();
  best.calls = static_cast<double>(bench::callsOf(job)) / projects;
  after();
  return best;
}

void printAgainst(const char* what, const Cost& cost, const Cost& copy, double bound) {
  std::printf("    %-34s %7.2f ms %6.1f calls per project; copy %7.2f ms %6.1f calls: %4.2f x time, %4.2f x calls"
              " (bound %.1f: %s)\n",
              what, cost.ms, cost.calls, copy.ms, copy.calls, cost.ms / copy.ms, cost.calls / copy.calls, bound,
              bench::verdict(std::max(cost.ms / copy.ms, cost.calls / copy.calls), bound));
}

// The start-up pass over 100 registered projects and kvs-switch over 200 in 20 folders, on
// the share, against the copy of the same files; projects put back on the stock library
// before each run, so that each run switches them all.
void onShare(const std::string& large, double emptyMs) {
  const std::wstring why = testing_support::shareUnavailable();
  if (!why.empty()) {
    std::printf("on the simulated share: SKIPPED: %ls\n", why.c_str());
    return;
  }
  const std::wstring root = std::wstring(testing_support::kShareRoot) + L"startup bench\\";
  const std::wstring profile = testing_support::roamingProfile();
  const std::wstring shareProfile = std::wstring(testing_support::kShareRoot) + L"profile\\AppData\\Roaming";
  testing_support::makeFolders(root);
  const int registered = 100, folders = 20, batch = 200;
  std::vector<std::wstring> pass, tool;
  for (int i = 0; i < registered; ++i)
    pass.push_back(root + L"registered\\Project " + std::to_wstring(i) + L"\\p" + std::to_wstring(i) + L".wdp");
  for (int i = 0; i < batch; ++i)
    tool.push_back(root + L"office\\Folder " + std::to_wstring(i % folders) + L"\\p" + std::to_wstring(i) + L".wdp");
  const auto reset = [&large](const std::vector<std::wstring>& files) {
    return [&large, &files] {
      for (const std::wstring& f : files) {
        testing_support::makeFolders(f.substr(0, f.find_last_of(L'\\')));
        writeFile(f, large);
      }
    };
  };
  const auto copyAll = [](const std::vector<std::wstring>& files) {
    return [&files] {
      for (const std::wstring& f : files) bench::copyInPlace(f);
    };
  };
  std::wstring list;
  for (const std::wstring& f : pass) list += f + L";";
  // AutoCAD makes its user profile at its first start, under the roaming profile of then: it is
  // made on the local disk here, so that it outlives the share's folders.
  setProjects(L"");
  acadhost::startSession(acadhost::SessionOptions());
  acadhost::endSession();
  for (bool storeOnShare : {false, true}) {
    testing_support::setRoamingProfile(storeOnShare ? shareProfile : profile);
    const double bound = storeOnShare ? 2.5 : 1.5;
    std::printf("on the simulated share, %zu-byte projects, kept versions %s\n", large.size(),
                storeOnShare ? "on the share too" : "on the local disk");
    setProjects(list);
    const auto start = [&] {
      reset(pass)();
      acadhost::startSession(acadhost::SessionOptions());
    };
    const Cost startup = costOf(3, registered, start, [&] { acadhost::loadModule(binDir() + L"KVS_switch_2015.arx"); }, [] {
      acadhost::endSession();
      testing_support::endSwaps();
    });
    setProjects(L"");
    const Cost startupCopy = costOf(3, registered, reset(pass), copyAll(pass));
    Cost startupNet = startup;
    startupNet.ms -= emptyMs / registered;
    printAgainst("start-up pass, 100 registered:", startupNet, startupCopy, bound);
    const std::wstring command = testing_support::inQuotes(binDir() + L"kvs-switch.exe") + L" gost --release 2015 " +
                                 testing_support::inQuotes(root + L"office");
    const Cost run = costOf(3, batch, reset(tool), [&] {
      const testing_support::ProcessResult r = testing_support::runProcess(command);
      if (r.exitCode != 0) std::printf("kvs-switch failed: %s\n", r.output.substr(0, 300).c_str());
    });
    const Cost runCopy = costOf(3, batch, reset(tool), copyAll(tool));
    printAgainst("kvs-switch gost, 200 in 20 folders:", run, runCopy, bound);
  }
  testing_support::setRoamingProfile(profile);
  testing_support::removeTree(root);
  testing_support::removeTree(std::wstring(testing_support::kShareRoot) + L"profile");
}

}  // namespace

int main(int argc, char** argv) {
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

  std::string large = text.substr(0, text.find("?[SCALE]"));
  for (int n = 40; large.size() < 40000; ++n)
    large += "+[" + std::to_string(n) + "]C:\\Projects\\Plant\\Reports\\" + std::to_string(n) + "\r\n";
  large += text.substr(text.find("?[SCALE]"));

  setProjects(L"");
  const double empty = startupMs(5);
  std::printf("start-up with no registered project: %.1f ms\n", empty);
  // --share: the share's figures alone.
  const bool shareOnly = argc > 1 && std::string(argv[1]) == "--share";
  for (bool folderEach : {true, false}) {
    if (shareOnly) break;
    std::printf("%s\n", folderEach ? "a folder per project" : "all projects in one folder");
    std::printf("  registered projects   start-up ms   ms per project\n");
    double perProject[3] = {0, 0, 0};
    int at = 0;
    for (int count : {10, 100, 1000}) {
      setProjects(makeProjects(projects, count, folderEach, 0, text));
      const double ms = startupMs(count >= 1000 ? 2 : 3);
      perProject[at++] = (ms - empty) / count;
      std::printf("  %19d   %11.1f   %14.3f\n", count, ms, (ms - empty) / count);
      removeProjects(projects, count, folderEach);
    }
    std::printf("  per project at 1000 = %4.2f x that at 100 (bound 1.5: %s)\n", perProject[2] / perProject[1],
                bench::verdict(perProject[2] / perProject[1], 1.5));
  }

  const auto finish = [&] {
    onShare(large, empty);
    RegDeleteTreeW(HKEY_CURRENT_USER, kAddonKey);
    // The versions every switch kept, unless the user had kept some before.
    if (!undoExisted) testing_support::removeTree(undo);
    RemoveDirectoryW(projects.c_str());
    for (const auto& folder : made) RemoveDirectoryW(folder.c_str());
    return 0;
  };
  if (shareOnly) return finish();
  // A long list of which half is gone: each drop is stored, the rest of the pass stays linear.
  const int many = 10000;
  setProjects(makeProjects(projects, many, true, many / 2, text));
  const double ms = startupMs(1);
  std::printf("%d registered projects, half of them gone: %.0f ms\n", many, ms);
  removeProjects(projects, many, true);

  // kvs-switch over the same kind of tree, 1000 projects of 40 KB in a folder each, beside the
  // start-up pass over them: both switch every project to GOST with the same code.
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

  return finish();
}
