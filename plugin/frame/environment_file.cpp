#include "frame/environment_file.h"

#include <cstdio>
#include <memory>

#include "frame/environment_text.h"
#include "frame/host_interface.h"

namespace {

struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

// A temporary file removed when the object goes unless it was moved into place.
class TempFile {
 public:
  explicit TempFile(const std::wstring& folder) {
    wchar_t name[MAX_PATH];
    if (GetTempFileNameW(folder.c_str(), L"kvs", 0, name)) path_ = name;
  }
  ~TempFile() {
    if (!path_.empty()) DeleteFileW(path_.c_str());
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  const std::wstring& path() const { return path_; }
  bool moveTo(const std::wstring& target) {
    if (!MoveFileExW(path_.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return false;
    path_.clear();
    return true;
  }

 private:
  std::wstring path_;
};

std::wstring widenAnsi(const std::string& bytes) {
  if (bytes.empty()) return {};
  int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring text(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), &text[0], n);
  return text;
}

std::string narrowAnsi(const std::wstring& text) {
  if (text.empty()) return {};
  int n = WideCharToMultiByte(CP_ACP, WC_COMPOSITECHECK, text.data(), static_cast<int>(text.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0)
    WideCharToMultiByte(CP_ACP, WC_COMPOSITECHECK, text.data(), static_cast<int>(text.size()), &bytes[0], n,
                        nullptr, nullptr);
  return bytes;
}

// The whole file; false (after printing why) when reading fails part way.
bool readWhole(CFile& file, const std::wstring& path, std::string& bytes) {
  try {
    ULONGLONG length = file.GetLength();
    bytes.reserve(static_cast<std::size_t>(length));
    char chunk[65536];
    for (UINT got; (got = file.Read(chunk, sizeof chunk)) != 0;) bytes.append(chunk, got);
    return true;
  } catch (CFileException* e) {
    wchar_t reason[512] = L"";
    e->GetErrorMessage(reason, 512);
    e->Delete();
    acutPrintf(L"%ls", (L"Can not read environment file " + path + L": " + reason + L"\n").c_str());
    return false;
  }
}

// Writes the bytes beside `target` and moves them over it, so that a failure leaves no half file.
bool writeWhole(const std::wstring& folder, const std::wstring& target, const std::string& bytes) {
  TempFile temp(folder);
  if (temp.path().empty()) return false;
  {
    FilePtr out(_wfopen(temp.path().c_str(), L"w+b"));
    if (!out) return false;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), out.get()) != bytes.size()) return false;
    if (std::fclose(out.release()) != 0) return false;
  }
  return temp.moveTo(target);
}

}  // namespace

void createAddonEnvironment(const std::wstring& docsFolder) {
  const std::wstring folder = docsFolder + L"AeData\\";
  const std::wstring source = folder + L"wd.env";
  const std::wstring target = folder + L"kvdata.env";

  CFile existing;
  if (existing.Open(target.c_str(), 0, nullptr)) {
    existing.Close();
    return;
  }

  CFile wdEnv;
  if (!wdEnv.Open(source.c_str(), 0, nullptr)) return;
  std::string bytes;
  bool read = readWhole(wdEnv, source, bytes);
  wdEnv.Close();
  if (!read) return;

  std::string converted = narrowAnsi(kvs::addon_environment_text(widenAnsi(bytes)));
  if (!writeWhole(folder, target, converted)) acutPrintf(L"%ls", L"Can not find environment file..\n");
}
