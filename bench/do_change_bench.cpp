// Throughput of do_change on project files on disk against a plain copy of the same bytes.
//
// For each size it prints MB/s (10^6 bytes of project file) for:
//  - do_change: read, convert, rewrite (stock mode), convert back, write a temporary file,
//               flush it and put it in the project's place;
//  - copy:      the crash-safe copy of the same bytes: read the file whole, write it to a file
//               beside it, flush that and put it in the file's place;
//  - keep:      the step of do_change that keeps the file's present bytes as a version to undo
//               to, alone; here bytes already kept, as at every start and quit after the first.
// Each size as an ANSI file and as a UTF-16 file.
// Runs in a simulated session (AutoCAD's paths move with each switch). Best of a few rounds,
// the three taking turns.
// Numbers only; nothing is asserted.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

#include "acadhost/host_api.h"
#include "best_time.h"
#include "frame/KVS_switchApp.h"
#include "switching/kept_versions.h"
#include "commands/acad_switch.h"
#include "win32/file_read.h"
#include "win32/file_replace.h"

namespace {

using Clock = std::chrono::steady_clock;

// The crash-safe copy: read whole, written beside, flushed and put in the original's place,
// by the same replace that do_change writes its file with.
void copyInPlace(const std::wstring& original) {
  std::string bytes;
  if (!kvs::read_whole_file(original, bytes) || !kvs::replace_file_content(original, bytes, FILE_ATTRIBUTE_NORMAL))
    std::printf("copy failed\n");
}

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

void measure(const char* label, std::size_t target, int runs, const std::wstring& folder, bool utf16 = false) {
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
              "  (keep alone %4.2f x copy)\n",
              label, bytes.size(), mb / change, mb / plain, change / plain, keep / plain);
  DeleteFileW(project.c_str());
}

}  // namespace

int main() {
  acadhost::setEcho(false);
  if (!acadhost::startSession({})) return 1;
  version = L"2015";
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  std::printf("do_change on project files; MB = 10^6 bytes; best of several runs\n");
  for (bool utf16 : {false, true}) {
    const char* encoding = utf16 ? "UTF-16" : "ANSI";
    std::printf("%s\n", encoding);
    measure("10KB", 10'000, 9, temp, utf16);
    measure("1MB", 1'000'000, 15, temp, utf16);
    measure("64MB", 64'000'000, 5, temp, utf16);
  }
  acadhost::endSession();
  return 0;
}
