// acade-sim's program: options, then commands from a script or standard input.
#include <cwctype>
#include <string>

#include "host.h"

namespace acadhost {

namespace {

const wchar_t kUsage[] =
    L"usage: acade-sim [--release YEAR|KEY] [--russian] [--plain-autocad] [--vernum TEXT] [--project PATH]\n"
    L"                 [--load PATH]... [SCRIPT]\n"
    L"  --release YEAR  simulated ACADE release, a year from 2010 to 2027 or its release key such as\n"
    L"                  R24.3 (default 2015)\n"
    L"  --russian       the Russian build of AutoCAD instead of the English one\n"
    L"  --plain-autocad AutoCAD without the Electrical toolset (product id ...01, no ACADE profile)\n"
    L"  --vernum TEXT   _VERNUM as given, instead of the release's own\n"
    L"  --project PATH  ACADE's active project file\n"
    L"  --load PATH     load an ObjectARX application at start (repeatable)\n"
    L"  SCRIPT          commands, one per line (UTF-8); standard input when absent\n";

void writeStderr(const std::wstring& text) {
  std::string bytes = wideToUtf8(text);
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

// Reads lines as they arrive, so that an interactive session answers each command at once.
class LineReader {
 public:
  explicit LineReader(HANDLE h) : h_(h) {}
  bool next(std::wstring& line) {
    while (true) {
      std::size_t nl = buffer_.find('\n');
      if (nl != std::string::npos) {
        line = decode(buffer_.substr(0, nl));
        buffer_.erase(0, nl + 1);
        return true;
      }
      char chunk[4096];
      DWORD got = 0;
      if (eof_ || !ReadFile(h_, chunk, sizeof chunk, &got, nullptr) || got == 0) {
        eof_ = true;
        if (buffer_.empty()) return false;
        line = decode(buffer_);
        buffer_.clear();
        return true;
      }
      buffer_.append(chunk, got);
    }
  }

 private:
  std::wstring decode(std::string bytes) {
    if (first_ && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
    first_ = false;
    return utf8ToWide(bytes);
  }
  HANDLE h_;
  std::string buffer_;
  bool eof_ = false;
  bool first_ = true;
};

bool isComment(const std::wstring& line) {
  std::size_t i = 0;
  while (i < line.size() && std::iswspace(line[i])) ++i;
  return i == line.size() || line[i] == L';';
}

}  // namespace

int runSimulator(int argc, wchar_t** argv) {
  SessionOptions options;
  std::wstring script;
  for (int i = 1; i < argc; ++i) {
    std::wstring arg = argv[i];
    auto value = [&](std::wstring& out) {
      if (i + 1 >= argc) return false;
      out = argv[++i];
      return true;
    };
    std::wstring v;
    if (arg == L"--help" || arg == L"-h") {
      Host::get().print(kUsage);
      return 0;
    } else if (arg == L"--russian") {
      options.russian = true;
    } else if (arg == L"--plain-autocad") {
      options.plainAutocad = true;
    } else if (arg == L"--release" && value(v)) {
      const ReleaseInfo* release = findRelease(v);
      if (!release) {
        writeStderr(L"acade-sim: --release takes a year from 2010 to 2027 or a release key from R18.0 to R26.0, not \"" +
                    v + L"\"\n");
        return 2;
      }
      options.release = release->year;
    } else if (arg == L"--vernum" && value(v)) {
      options.vernum = v;
    } else if (arg == L"--project" && value(v)) {
      options.project = v;
    } else if (arg == L"--load" && value(v)) {
      options.loads.push_back(v);
    } else if (arg.size() > 1 && arg[0] == L'-') {
      writeStderr(L"acade-sim: unknown option or missing value: " + arg + L"\n" + kUsage);
      return 2;
    } else if (script.empty()) {
      script = arg;
    } else {
      writeStderr(L"acade-sim: only one script can be given\n" + std::wstring(kUsage));
      return 2;
    }
  }

  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  HANDLE scriptFile = INVALID_HANDLE_VALUE;
  if (!script.empty()) {
    scriptFile = CreateFileW(script.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (scriptFile == INVALID_HANDLE_VALUE) {
      writeStderr(L"acade-sim: cannot open the script " + script + L"\n");
      return 2;
    }
    input = scriptFile;
  }

  Host& host = Host::get();
  if (!startSession(options)) return 2;
  host.print(productFolderName(options.release) + L" (simulated), " + productKey() +
             L", _VERNUM " + host.sysvars[L"VERNUM"] + L"\n");
  loadBundles();
  for (const auto& path : options.loads) {
    if (!loadModule(path)) {
      writeStderr(L"acade-sim: cannot load " + path + L"\n");
      host.endSession();
      return 1;
    }
  }

  LineReader reader(input);
  std::wstring line;
  while (!host.quit && reader.next(line)) {
    if (!isComment(line)) runLine(line);
  }
  if (scriptFile != INVALID_HANDLE_VALUE) CloseHandle(scriptFile);
  // The end of input ends the session as QUIT does.
  if (!host.quit) runLine(L"QUIT");
  host.endSession();
  host.ensureNewLine();
  return 0;
}

}  // namespace acadhost
