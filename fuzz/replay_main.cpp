// Runs the fuzz target over files and folders named on the command line, so that the
// corpus and any reproducer can be replayed by a build without libFuzzer.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace fs = std::filesystem;

namespace {

bool replay_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "cannot read %s\n", path.c_str());
    return false;
  }
  const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  return true;
}

std::vector<fs::path> inputs_of(const fs::path& arg) {
  if (!fs::is_directory(arg)) return {arg};
  std::vector<fs::path> files;
  for (const fs::directory_entry& e : fs::directory_iterator(arg)) {
    if (e.is_regular_file()) files.push_back(e.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s FILE_OR_DIR...\n", argv[0]);
    return 2;
  }
  std::size_t replayed = 0;
  bool ok = true;
  for (int i = 1; i < argc; ++i) {
    for (const fs::path& file : inputs_of(argv[i])) {
      ok = replay_file(file) && ok;
      ++replayed;
    }
  }
  std::printf("replayed %zu inputs\n", replayed);
  return ok && replayed > 0 ? 0 : 1;
}
