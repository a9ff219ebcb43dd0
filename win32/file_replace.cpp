#include "win32/file_replace.h"

#include <algorithm>
#include <cwchar>

#include "win32/file_seam.h"

namespace seam = kvs::file_seam;

namespace kvs {

namespace {

// A file beside the target that is deleted unless it has taken the target's place.
struct TempFile {
  TempFile() : handle(INVALID_HANDLE_VALUE) {}
  ~TempFile() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    if (!name.empty()) {
      const DWORD error = GetLastError();  // the cause of the failure outlives the clean-up
      // A file made read-only must lose that before it can go.
      if (!DeleteFileW(name.c_str()) && SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_NORMAL)) DeleteFileW(name.c_str());
      SetLastError(error);
    }
  }
  std::wstring name;
  HANDLE handle;
};

// The attributes a new file can be given; the others belong to how the file is stored.
const DWORD kSettableAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                      FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE |
                                      FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// A name of our own: GetTempFileNameW takes folders of MAX_PATH characters at most. The file
// gets its attributes as it is made, which spares a call per replace.
bool create_beside(const std::wstring& path, DWORD attributes, TempFile& temp) {
  attributes &= kSettableAttributes;
  if (attributes == 0) attributes = FILE_ATTRIBUTE_NORMAL;
  const std::size_t slash = path.find_last_of(L"\\/");
  const std::wstring folder = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
  const unsigned long stamp = GetTickCount() ^ (GetCurrentProcessId() << 16);
  for (unsigned long attempt = 0; attempt < 100; ++attempt) {
    wchar_t suffix[16];
    swprintf(suffix, 16, L"%08lx", (stamp + attempt * 7919u) & 0xFFFFFFFFu);
    temp.name = folder + L"~kvs" + suffix + L".tmp";
    temp.handle = seam::create_new(temp.name, attributes);
    if (temp.handle != INVALID_HANDLE_VALUE) return true;
    if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  temp.name.clear();
  return false;
}

bool write_all(HANDLE file, const std::string& bytes) {
  // WriteFile takes at most 4 GB at a time.
  for (std::size_t done = 0; done < bytes.size();) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
    if (!seam::write(file, bytes.data() + done, chunk)) return false;
    done += chunk;
  }
  return true;
}

}  // namespace

bool replace_file_content(const std::wstring& path, const std::string& bytes, DWORD attributes) {
  TempFile temp;
  if (!create_beside(path, attributes, temp)) return false;
  if (!write_all(temp.handle, bytes)) return false;
  if (!seam::flush(temp.handle)) return false;
  // Renamed while open, which spares opening it again; what it holds is on the disk already.
  if (!seam::replace(temp.handle, path)) return false;
  temp.name.clear();
  return true;
}

}  // namespace kvs
