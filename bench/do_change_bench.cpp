// Throughput of do_change on project files on disk against a plain copy of the same bytes.
//
// For each size it prints MB/s (10^6 bytes of project file) for:
//  - do_change: read, convert, rewrite (stock mode), convert back, write a temporary file,
//               flush it and put it in the project's place;
//  - copy:      the crash-safe copy of the same bytes: read the file whole, write it to a file
//               beside it, flush that and put it in the file's place;
//  - keep:      the step of do_change that keeps the file's present bytes as a version to undo
//               to, alone; here bytes already kept, as at every start and quit after the first.
// Each size as an ANSI file and as a UTF-16 file, each against its bound.
// With --share: a 40 KB project on the simulated share \\srv\projects (tools/wine-share),
// where every file-system call waits: the time and the calls the share serves per switch and
// per copy; with --store-on-share as well, the user's kept versions are on the share too (a
// roaming profile on a server).
// Runs in a simulated session (AutoCAD's paths move with each switch). Best of a few rounds,
// the three taking turns.
// Numbers only; nothing is asserted.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <cstring>
#include <string>

#include "acadhost/host_api.h"
#include "best_time.h"
#include "crash_safe_copy.h"
#include "support/installed_library.h"
#include "support/simulated_share.h"
#include "support/test_support.h"
#include "frame/KVS_switchApp.h"
#include "switching/kept_versions.h"
#include "commands/acad_switch.h"
#include "win32/file_read.h"
#include "win32/file_replace.h"

namespace {

using Clock = std::chrono::steady_clock;

using bench::copyInPlace;
using bench::verdict;

// Records in ascending order with library-path-like values, then a drawing list tail.
std::string makeProject(std::size_t target) {
  std::string text = "+[1]x\r\n+[2]ACE_GOST_MENU.dat\r\n+[3]y\r\n+[20]kvdata.env\r\n";
  const std::size_t recordsEnd = target - target / 10;
  for (int n = 21; text.size() < recordsEnd; ++n)
    text += "+[" + std::to_string(n) + "]C:\\Projects\\Plant\\Reports\\" + std::to_string(n) + "\r\n";
  text += "?[Drawings]\r\n";
  for (int i = 0; text.size() < target; ++i) text += "C:\\Projects\\Plant\\Sheets\\" + std::to_string(i) + ".dwg\r\n";
  return text;
}

// The same text as a Unicode project: UTF-16 LE after its byte-order mark.
std::string asUtf16(const std::string& ascii) {
  std::string bytes = "\xFF\xFE";
  bytes.reserve(2 + 2 * ascii.size());
  for (char c : ascii) bytes.append({c, '\0'});
  return bytes;
}

void measure(const char* label, std::size_t target, int runs, const std::wstring& folder, bool utf16, double bound) {
  const std::wstring project = folder + L"bench.wdp";
  const std::string bytes = utf16 ? asUtf16(makeProject(target / 2)) : makeProject(target);
  if (!kvs::replace_file_content(project, bytes, FILE_ATTRIBUTE_NORMAL)) std::printf("cannot write %ls\n", project.c_str());
  // The first switch changes the file; the rounds then measure a project switched back and forth,
  // since a switch to the library a project is on writes nothing.
  if (!do_change(project, 2)) std::printf("do_change failed\n");
  std::string present;
  kvs::read_whole_file(project, present);
  int tip = 1;
  // Rounds take turns, so that a slow spell of the machine does not fall on one of the three.
  double change = 1e300, plain = 1e300, keep = 1e300;
  for (int round = 0; round < runs; ++round) {
    change = std::min(change, bench::best_seconds(1, [&] {
      if (!do_change(project, tip)) std::printf("do_change failed\n");
      tip = 3 - tip;
    }, 0.05));
    plain = std::min(plain, bench::best_seconds(1, [&] { copyInPlace(project); }, 0.05));
    keep = std::min(keep, bench::best_seconds(1, [&] {
      if (!keep_project_version(project, present, command_line())) std::printf("keep failed\n");
    }, 0.05));
  }
  const double mb = static_cast<double>(bytes.size()) / 1e6;
  std::printf("  %-5s %10zu bytes  do_change %8.1f MB/s  copy %8.1f MB/s  do_change time = %4.1f x copy"
              " (bound %.1f: %s)  (keep alone %4.2f x copy)\n",
              label, bytes.size(), mb / change, mb / plain, change / plain, bound, verdict(change / plain, bound),
              keep / plain);
  DeleteFileW(project.c_str());
}

double callsOf(const std::function<void()>& job, int times) {
  return static_cast<double>(bench::callsOf([&] {
           for (int i = 0; i < times; ++i) job();
         })) / times;
}

// A 40 KB project switched back and forth on the share against the crash-safe copy.
void measureOnShare(const std::wstring& folder, bool utf16, double bound) {
  const std::wstring project = folder + L"bench.wdp";
  const std::string bytes = utf16 ? asUtf16(makeProject(20'000)) : makeProject(40'000);
  if (!kvs::replace_file_content(project, bytes, FILE_ATTRIBUTE_NORMAL)) std::printf("cannot write %ls\n", project.c_str());
  int tip = 2;
  const auto change = [&] {
    tip = 3 - tip;
    if (!do_change(project, tip)) std::printf("do_change failed\n");
  };
  const auto plain = [&] { copyInPlace(project); };
  change();  // the first switch makes the store's folder
  double changeTime = 1e300, plainTime = 1e300;
  for (int round = 0; round < 5; ++round) {
    changeTime = std::min(changeTime, bench::best_seconds(1, change, 0.1));
    plainTime = std::min(plainTime, bench::best_seconds(1, plain, 0.1));
  }
  const double changeCalls = callsOf(change, 10), plainCalls = callsOf(plain, 10);
  std::printf("  %-6s %6zu bytes  switch %6.1f ms  copy %6.1f ms  = %4.2f x (bound %.1f: %s)   calls: switch %5.1f"
              "  copy %5.1f  = %4.2f x (bound %.1f: %s)\n",
              utf16 ? "UTF-16" : "ANSI", bytes.size(), changeTime * 1e3, plainTime * 1e3, changeTime / plainTime, bound,
              verdict(changeTime / plainTime, bound), changeCalls, plainCalls, changeCalls / plainCalls, bound,
              verdict(changeCalls / plainCalls, bound));
  DeleteFileW(project.c_str());
}

int onShare(bool storeOnShare) {
  const std::wstring why = testing_support::shareUnavailable();
  if (!why.empty()) {
    std::printf("on the simulated share: SKIPPED: %ls\n", why.c_str());
    return 0;
  }
  const std::wstring profile = testing_support::roamingProfile();
  if (storeOnShare) testing_support::setRoamingProfile(std::wstring(testing_support::kShareRoot) + L"profile\\AppData\\Roaming");
  const testing_support::InstalledLibrary library;
  acadhost::setEcho(false);
  if (!acadhost::startSession({})) return 1;
  version = L"2015";
  const std::wstring folder = std::wstring(testing_support::kShareRoot) + L"switch bench\\";
  testing_support::makeFolders(folder);
  std::printf("on the simulated share, 40 KB project, kept versions %s; best of several rounds\n",
              storeOnShare ? "on the share too" : "on the local disk");
  for (bool utf16 : {false, true}) measureOnShare(folder, utf16, storeOnShare ? 2.5 : 1.5);
  acadhost::endSession();
  RemoveDirectoryW(folder.c_str());
  if (storeOnShare) {
    testing_support::removeTree(std::wstring(testing_support::kShareRoot) + L"profile");
    testing_support::setRoamingProfile(profile);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--share") == 0)
    return onShare(argc > 2 && std::strcmp(argv[2], "--store-on-share") == 0);
  const testing_support::InstalledLibrary library;
  acadhost::setEcho(false);
  if (!acadhost::startSession({})) return 1;
  version = L"2015";
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  std::printf("do_change on project files; MB = 10^6 bytes; best of several runs\n");
  for (bool utf16 : {false, true}) {
    const char* encoding = utf16 ? "UTF-16" : "ANSI";
    std::printf("%s\n", encoding);
    measure("10KB", 10'000, 9, temp, utf16, 3);
    measure("100KB", 100'000, 9, temp, utf16, 3);
    measure("1MB", 1'000'000, 15, temp, utf16, 3);
    measure("64MB", 64'000'000, 5, temp, utf16, 4);
  }
  acadhost::endSession();
  return 0;
}
