#include "win32/file_replace.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <utility>

#include "win32/file_seam.h"
#include "win32/handles.h"

namespace seam = kvs::file_seam;

namespace kvs {

namespace {

// A file made beside the target, by its name: deleted unless it has taken the target's place.
struct TempFileKind {
  typedef std::wstring Type;
  static std::wstring none() { return std::wstring(); }
  static bool is_none(const std::wstring& name) { return name.empty(); }
  static void close(const std::wstring& name) {
    const DWORD error = GetLastError();  // the cause of the failure outlives the clean-up
    // A file made read-only must lose that before it can go.
    if (!DeleteFileW(name.c_str()) && SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_NORMAL)) DeleteFileW(name.c_str());
    SetLastError(error);
  }
};

struct TempFile {
  TempFile() {}
  Unique<TempFileKind> name;  // first, so that the file is closed before it is deleted
  FileHandle handle;

 private:
  TempFile(const TempFile&);
  TempFile& operator=(const TempFile&);
};

// The attributes a new file can be given; the others belong to how the file is stored.
const DWORD kSettableAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                      FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE |
                                      FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

const wchar_t kTempStart[] = L"~kvs";
const wchar_t kTempEnd[] = L".tmp";

std::wstring folder_of(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

// "~kvs" and eight hexadecimal digits of the target's file name, letter case aside: the
// temporary files made for one target begin alike, so that its leftovers are known.
std::wstring temp_prefix(const std::wstring& path) {
  std::wstring name = path.substr(folder_of(path).size());
  if (!name.empty()) CharUpperBuffW(&name[0], static_cast<DWORD>(name.size()));
  unsigned long hash = 2166136261u;  // FNV-1a
  for (std::size_t i = 0; i < name.size(); ++i) hash = ((hash ^ (name[i] & 0xFFFFu)) * 16777619u) & 0xFFFFFFFFu;
  wchar_t digits[16];
  swprintf(digits, 16, L"%08lx", hash);
  return kTempStart + std::wstring(digits) + L"-";
}

bool is_hex(const std::wstring& text, std::size_t at, std::size_t count) {
  if (text.size() < at + count) return false;
  for (std::size_t i = at; i < at + count; ++i)
    if (!iswxdigit(text[i])) return false;
  return true;
}

// A temporary file's name as create_beside makes them: "~kvs", 8 digits, "-", 8 digits, ".tmp".
bool is_temp_name(const std::wstring& name) {
  return name.size() == 25 && name.compare(0, 4, kTempStart) == 0 && is_hex(name, 4, 8) && name[12] == L'-' &&
         is_hex(name, 13, 8) && name.compare(21, 4, kTempEnd) == 0;
}

// The temporary files in `folder` whose names begin with `start`. Deleting one that another
// process still writes is refused, since that process holds it open without letting it go.
void remove_temp_files(const std::wstring& folder, const std::wstring& start) {
  WIN32_FIND_DATAW data;
  const FindHandle find(FindFirstFileW((folder + start + L"*" + kTempEnd).c_str(), &data));
  if (!find.valid()) return;
  do {
    const std::wstring name = data.cFileName;
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && is_temp_name(name)) DeleteFileW((folder + name).c_str());
  } while (FindNextFileW(find.get(), &data));
}

// A name of our own: GetTempFileNameW takes folders of MAX_PATH characters at most. The file
// gets its attributes as it is made, which spares a call per replace. The first name tried is
// the same at every replace of a file, so a replace cut short leaves it taken: only then are
// the file's leftovers looked for, which spares listing the folder at every replace.
bool create_beside(const std::wstring& path, DWORD attributes, TempFile& temp) {
  attributes &= kSettableAttributes;
  if (attributes == 0) attributes = FILE_ATTRIBUTE_NORMAL;
  const std::wstring folder = folder_of(path);
  const std::wstring prefix = temp_prefix(path);
  const unsigned long stamp = GetTickCount() ^ (GetCurrentProcessId() << 16);
  for (unsigned long attempt = 0; attempt < 100; ++attempt) {
    wchar_t suffix[16];
    // Attempt 1 tries the first name again, once the leftovers have gone.
    swprintf(suffix, 16, L"%08lx", attempt < 2 ? 0ul : (stamp + attempt * 7919u) & 0xFFFFFFFFu);
    const std::wstring name = folder + prefix + suffix + kTempEnd;
    FileHandle handle(seam::create_new(name, attributes));
    if (handle.valid()) {
      *temp.name.put() = name;
      temp.handle = std::move(handle);
      return true;
    }
    if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) break;
    if (attempt == 0) remove_temp_files(folder, prefix);
  }
  return false;
}

bool write_all(HANDLE file, const ByteSpan& bytes) {
  // WriteFile takes at most 4 GB at a time.
  for (std::size_t done = 0; done < bytes.size;) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size - done, 1u << 30));
    if (!seam::write(file, bytes.data + done, chunk)) return false;
    done += chunk;
  }
  return true;
}

// The parts in order. Small ones are gathered into writes of up to 64 KB, so that a text with
// many changed lines costs few calls; large ones are written from where they lie.
bool write_parts(HANDLE file, const std::vector<ByteSpan>& parts) {
  const std::size_t kGathered = 1u << 16;
  std::string gathered;
  gathered.reserve(kGathered);
  for (std::size_t i = 0; i <= parts.size(); ++i) {
    const bool last = i == parts.size();
    if (!gathered.empty() && (last || gathered.size() + parts[i].size > kGathered)) {
      const ByteSpan some = {gathered.data(), gathered.size()};
      if (!write_all(file, some)) return false;
      gathered.clear();
    }
    if (last) break;
    if (parts[i].size >= kGathered) {
      if (!write_all(file, parts[i])) return false;
    } else {
      gathered.append(parts[i].data, parts[i].size);
    }
  }
  return true;
}

}  // namespace

void remove_replace_leftovers(const std::wstring& path) { remove_temp_files(folder_of(path), temp_prefix(path)); }

void remove_replace_leftovers_in(const std::wstring& folder) { remove_temp_files(folder, kTempStart); }

bool replace_file_content(const std::wstring& path, const std::string& bytes, DWORD attributes) {
  const ByteSpan whole = {bytes.data(), bytes.size()};
  return replace_file_content(path, std::vector<ByteSpan>(1, whole), attributes);
}

bool replace_file_content(const std::wstring& path, const std::vector<ByteSpan>& parts, DWORD attributes) {
  BegunReplace replace;
  return replace.begin(path, attributes) && replace.finish(parts);
}

struct BegunReplace::State {
  std::wstring path;
  TempFile temp;
};

BegunReplace::BegunReplace() : state_(new State) {}

BegunReplace::~BegunReplace() {}

bool BegunReplace::begin(const std::wstring& path, DWORD attributes) {
  state_->path = path;
  return create_beside(path, attributes, state_->temp);
}

bool BegunReplace::finish(const std::vector<ByteSpan>& parts) {
  TempFile& temp = state_->temp;
  if (!temp.handle.valid()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  if (!write_parts(temp.handle.get(), parts)) return false;
  if (!seam::flush(temp.handle.get())) return false;
  // Renamed while open, which spares opening it again; what it holds is on the disk already.
  if (!seam::replace(temp.handle.get(), state_->path)) return false;
  temp.name.release();
  return true;
}

}  // namespace kvs
