#include "common/file_seam.h"

#include "common/file_replace.h"

#include <algorithm>
#include <cwchar>
#include <utility>

namespace seam = kvs::file_seam;

namespace kvs {

namespace {

// A file beside the target that is deleted unless it has taken the target's place.
struct TempFile {
  ~TempFile() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    if (!name.empty()) {
      const DWORD error = GetLastError();  // the cause of the failure outlives the clean-up
      DeleteFileW(name.c_str());
      SetLastError(error);
    }
  }
  std::wstring name;
  HANDLE handle = INVALID_HANDLE_VALUE;
};

// A name of our own: GetTempFileNameW takes folders of MAX_PATH characters at most.
bool create_beside(const std::wstring& path, TempFile& temp) {
  const std::size_t slash = path.find_last_of(L"\\/");
  const std::wstring folder = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
  const unsigned long stamp = GetTickCount() ^ (GetCurrentProcessId() << 16);
  for (unsigned long attempt = 0; attempt < 100; ++attempt) {
    wchar_t suffix[16];
    swprintf(suffix, 16, L"%08lx", (stamp + attempt * 7919u) & 0xFFFFFFFFu);
    temp.name = folder + L"~kvs" + suffix + L".tmp";
    temp.handle = seam::create_new(temp.name);
    if (temp.handle != INVALID_HANDLE_VALUE) return true;
    if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  temp.name.clear();
  return false;
}

bool write_all(HANDLE file, std::string_view bytes) {
  // WriteFile takes at most 4 GB at a time.
  for (std::size_t done = 0; done < bytes.size();) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
    if (!seam::write(file, bytes.data() + done, chunk)) return false;
    done += chunk;
  }
  return true;
}

// Small parts are gathered before they are written, so a text of many pieces costs few writes.
bool write_parts(HANDLE file, const std::vector<std::string_view>& parts) {
  constexpr std::size_t kGather = 1 << 16;
  std::string gathered;
  for (const std::string_view part : parts) {
    if (gathered.size() + part.size() <= kGather) {
      gathered.append(part);
      continue;
    }
    if (!write_all(file, gathered)) return false;
    gathered.clear();
    if (part.size() < kGather) gathered.append(part);
    else if (!write_all(file, part)) return false;
  }
  return write_all(file, gathered);
}

}  // namespace

bool replace_file_content(const std::wstring& path, std::string_view bytes, DWORD attributes) {
  return replace_file_content(path, std::vector<std::string_view>{bytes}, attributes);
}

bool replace_file_content(const std::wstring& path, const std::vector<std::string_view>& parts, DWORD attributes) {
  TempFile temp;
  if (!create_beside(path, temp)) return false;
  if (!write_parts(temp.handle, parts)) return false;
  if (!seam::flush(temp.handle)) return false;
  if (!seam::close(std::exchange(temp.handle, INVALID_HANDLE_VALUE))) return false;
  if (!seam::set_attributes(temp.name, attributes)) return false;
  if (!seam::replace(temp.name, path)) return false;
  temp.name.clear();
  return true;
}

}  // namespace kvs
