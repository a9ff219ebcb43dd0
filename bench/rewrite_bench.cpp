// Throughput of the project text rewrite against plain copies of the same text.
//
// For each size it prints, in MB of project file (one byte per character on disk):
//  - rewrite:   rewrite_project_text on the wide text;
//  - copy:      a copy of the wide text in memory, i.e. reading and writing the same bytes
//               the rewrite must at least touch;
//  - file:      writing the text as 8-bit bytes to a temporary file and reading it back
//               (page cache, no fsync), the I/O that surrounds a rewrite on disk.
// Each figure is the best of a few runs. Numbers only; nothing is asserted.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "best_time.h"
#include "switching/project_text.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

volatile std::size_t g_sink;  // keeps results observable so that no work is optimised away

const wchar_t* const kValueShapes[] = {
    L"C:\\Users\\Public\\Documents\\Autodesk\\Acade 2015\\Libs\\iec2\\;",
    L"default.wdt",
    L"1",
    L"  Plant 7, line ",
    L"C:\\Projects\\Plant\\Reports\\r",
    L"ACE_PLC.MDB\t",
};

// Records with realistic values in mostly ascending order, a few out of order and a few
// repeated, then a drawing list tail; about `target` characters in all.
std::wstring make_project(std::size_t target) {
  std::wstring text =
      L"+[1]C:\\Program Files\\Korvanta\\Support\\;C:\\Program Files\\Korvanta\\Data\\UGO\\GOST_2.701\\;\r\n"
      L"+[2]C:\\Program Files\\Korvanta\\Data\\ACE_GOST_MENU.dat\r\n"
      L"+[3]C:\\Program Files\\Korvanta\\Data\\Montajnie_sxemi\\Shkaf\\;\r\n"
      L"+[20]kvdata.env\r\n";
  text.reserve(target + 256);
  const std::size_t records_end = target - target / 10;
  for (int i = 0; text.size() < records_end; ++i) {
    int number = 4 + i;
    if (number == 20) continue;
    if (i % 37 == 0) number += 1;  // out of order
    if (i % 101 == 0) number -= 1;  // repeated
    const wchar_t* shape = kValueShapes[static_cast<std::size_t>(i) % std::size(kValueShapes)];
    text += L"+[" + std::to_wstring(number) + L"]" + shape + std::to_wstring(i) + L"\r\n";
  }
  text += L"?[Drawings]\r\n";
  for (int i = 0; text.size() < target; ++i) {
    text += L"C:\\Projects\\Plant\\Sheets\\" + std::to_wstring(i) + L".dwg\r\n";
  }
  return text;
}

class TempFile {
 public:
  TempFile() : path_(fs::temp_directory_path() / "kvs_rewrite_bench.tmp") {}
  ~TempFile() {
    std::error_code ignored;
    fs::remove(path_, ignored);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

void file_round_trip(const std::string& bytes, const fs::path& path) {
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  std::ifstream in(path, std::ios::binary);
  std::string back(bytes.size(), '\0');
  in.read(back.data(), static_cast<std::streamsize>(back.size()));
  g_sink = g_sink + static_cast<std::size_t>(in.gcount()) + static_cast<unsigned char>(back.back());
}

void measure(const char* label, std::size_t target, int runs, const TempFile& temp) {
  const std::wstring text = make_project(target);
  const std::string bytes(text.begin(), text.end());  // ASCII only, so one byte per character
  const kvs::RecordValues values =
      kvs::gost_values({L"GOST_2.701", L"Rele"}, {L"Shkaf"}, L"C:\\Users\\Public\\Documents", L"2015");

  const double rewrite = bench::best_seconds(runs, [&] {
    const std::wstring out = kvs::rewrite_project_text(text, values);
    g_sink = g_sink + out.size() + static_cast<std::size_t>(out[out.size() / 2]);
  });
  const double copy = bench::best_seconds(runs, [&] {
    const std::wstring out(text);
    g_sink = g_sink + out.size() + static_cast<std::size_t>(out[out.size() / 2]);
  });
  const double file = bench::best_seconds(runs, [&] { file_round_trip(bytes, temp.path()); });

  const double mb = static_cast<double>(text.size()) / 1e6;
  std::printf("%-6s %10zu chars  rewrite %8.1f MB/s  copy %8.1f MB/s  file %8.1f MB/s  "
              "rewrite time = %4.1f x copy, %4.1f x file\n",
              label, text.size(), mb / rewrite, mb / copy, mb / file, rewrite / copy, rewrite / file);
}

}  // namespace

int main() {
  std::printf("project text rewrite; MB = 10^6 characters of project file; best of several runs\n");
  const TempFile temp;
  measure("10KB", 10'000, 7, temp);
  measure("1MB", 1'000'000, 5, temp);
  measure("64MB", 64'000'000, 3, temp);
  return 0;
}
