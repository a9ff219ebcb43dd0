#include "switching/kept_versions.h"

#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <map>

#include "win32/file_read.h"
#include "win32/file_replace.h"
#include "win32/long_path.h"
#include "win32/path_identity.h"
#include "win32/system_message.h"
#include "win32/text_codec.h"
#include "common/text_util.h"
#include "common/texts.h"
#include "win32/handles.h"
#include "switching/project_look.h"

namespace {

const wchar_t kPathFile[] = L"project.txt";
const wchar_t kMenuFile[] = L"own_menu.txt";
const wchar_t kSettingsFile[] = L"settings.txt";
// What every version's name matches ("20261210T083222.306Z.kept", and ".wdp" from earlier
// versions of the add-on), and no other file of the store.
const wchar_t kVersionPattern[] = L"*Z.*";
// Folders tried per project when other projects' paths hash alike.
const int kFolderAttempts = 8;

bool makeFolder(const std::wstring& folder) {
  if (CreateDirectoryW(folder.c_str(), nullptr)) return true;
  const DWORD error = GetLastError();
  const DWORD attributes = GetFileAttributesW(folder.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return true;
  SetLastError(error);
  return false;
}

// %APPDATA%\Korvanta\Undo\, which the first keep makes; empty, with the system's error
// set, when the system does not know %APPDATA%. The user's folder does not move while
// AutoCAD runs, and asking the shell costs more than the rest of a keep: it is asked until it
// answers, then remembered. Only AutoCAD's main thread keeps versions.
std::wstring storeRoot() {
  static std::wstring known;
  if (!known.empty()) return known;
  wchar_t appData[MAX_PATH];
  const HRESULT hr = SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, appData);
  if (FAILED(hr)) {
    SetLastError(HRESULT_FACILITY(hr) == FACILITY_WIN32 ? HRESULT_CODE(hr) : ERROR_PATH_NOT_FOUND);
    return std::wstring();
  }
  known = std::wstring(appData) + L"\\Korvanta\\Undo\\";
  return known;
}

enum class Naming { Project, Other, NoPathFile, NoFolder, Unreadable };

bool folderGone(DWORD error) { return error == ERROR_PATH_NOT_FOUND; }

// Whether the folder's path file names the project, given by its identity. A path file that is there but cannot be
// read says nothing either way: taking it for another project's would lose what is kept. The
// file is read without asking for the folder first: on a share each question is a round trip.
Naming namesProject(const std::wstring& folder, const std::wstring& project) {
  std::string bytes;
  if (!kvs::read_whole_file(folder + kPathFile, bytes)) {
    const DWORD error = GetLastError();
    if (folderGone(error)) return Naming::NoFolder;
    return error == ERROR_FILE_NOT_FOUND ? Naming::NoPathFile : Naming::Unreadable;
  }
  const kvs::DecodedText named = kvs::decode_text_file(bytes);
  return named.failure == kvs::DecodeFailure::None && kvs::path_identity(kvs::trim(named.text)) == project
             ? Naming::Project
             : Naming::Other;
}

// The store's own folders are made here, when a project first needs one, so that a keep for a
// project seen before touches nothing but its own folder.
bool claim(const std::wstring& root, const std::wstring& folder, const std::wstring& project) {
  const std::wstring addon = root.substr(0, root.find_last_of(L'\\', root.size() - 2) + 1);
  const std::wstring shard = folder.substr(0, folder.find_last_of(L'\\', folder.size() - 2) + 1);
  std::string bytes;
  return makeFolder(addon) && makeFolder(root) && makeFolder(shard) && makeFolder(folder) &&
         kvs::encode_text_file(project, kvs::TextEncoding::Utf8, bytes) &&
         kvs::replace_file_content(folder + kPathFile, bytes, FILE_ATTRIBUTE_NORMAL);
}

// The project's folder in the store, ending in a separator: the first candidate whose path file
// names the project, or, when `create`, the first one that is free or has no path file (a keep
// that stopped half way), claimed. Empty, with the system's error set, when there is none:
// ERROR_FILE_NOT_FOUND only when the project surely has no folder yet.
std::wstring findProjectFolder(const std::wstring& project, bool create) {
  const std::wstring root = storeRoot();
  if (root.empty()) return std::wstring();
  // Every spelling of the project's path leads to one folder; a path as ACADE writes it is its
  // own identity, so folders kept before identities were used are found as they were.
  const std::wstring identity = kvs::path_identity(project);
  for (int attempt = 0; attempt < kFolderAttempts; ++attempt) {
    // A level of 256 folders keeps each folder short, however many projects an office has.
    const std::wstring name = kvs::kept_folder_name(identity, attempt);
    const std::wstring folder = root + name.substr(0, 2) + L"\\" + name + L"\\";
    const Naming naming = namesProject(folder, identity);
    if (naming == Naming::Project) return folder;
    if (naming == Naming::Unreadable) return std::wstring();
    if (naming == Naming::NoFolder) {
      // Candidates are claimed in order: past the first free one there is none of this project.
      if (!create) break;
      return claim(root, folder, project) ? folder : std::wstring();
    }
    if (create && naming == Naming::NoPathFile) return claim(root, folder, project) ? folder : std::wstring();
  }
  SetLastError(create ? ERROR_FILE_EXISTS : ERROR_FILE_NOT_FOUND);
  return std::wstring();
}

// The folders found, for each project as AutoCAD's main thread names it: a project's folder
// stays its own, and reading the path file costs more than the rest of a keep.
std::map<std::wstring, std::wstring>& knownFolders() {
  static std::map<std::wstring, std::wstring> known;
  return known;
}

// The versions of each folder as this process last listed or kept them: only AutoCAD's main
// thread keeps versions, and on a share a listing costs a round trip per file. A version
// another process dropped meanwhile is passed over; one it added is seen at the next listing.
std::map<std::wstring, std::vector<KeptVersion> >& knownVersions() {
  static std::map<std::wstring, std::vector<KeptVersion> > known;
  return known;
}

// What each folder's settings file held when this process last read or wrote it, with the
// file's time and size then: another process (a second AutoCAD, kvs-switch) may write it
// meanwhile, and asking for its attributes costs less than reading it again.
struct KnownSettings {
  std::wstring text;
  bool present;
  FILETIME written;
  DWORD size;
};

std::map<std::wstring, KnownSettings>& knownSettings() {
  static std::map<std::wstring, KnownSettings> known;
  return known;
}

// The settings file's time and size as the cache keeps them; false, with the system's error
// set, when it cannot be asked, and present false when there is no such file.
bool settingsStamp(const std::wstring& file, KnownSettings& stamp) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  stamp.present = GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data) != 0;
  if (!stamp.present) {
    stamp.written.dwLowDateTime = stamp.written.dwHighDateTime = 0;
    stamp.size = 0;
    return GetLastError() == ERROR_FILE_NOT_FOUND;
  }
  stamp.written = data.ftLastWriteTime;
  stamp.size = data.nFileSizeLow;
  return true;
}

// The same, remembered. A folder that is gone (the store cleared) shows when it is next used,
// and is then forgotten (forgetFolder) and looked for again.
std::wstring projectFolder(const std::wstring& project, bool create) {
  const std::map<std::wstring, std::wstring>::iterator found = knownFolders().find(project);
  if (found != knownFolders().end()) return found->second;
  std::wstring folder = findProjectFolder(project, create);
  if (!folder.empty()) knownFolders()[project] = folder;
  return folder;
}

// Whether `error`, met in the project's remembered folder, says the folder is gone: it is then
// forgotten, for the caller to look for it again.
bool forgetFolder(const std::wstring& project, DWORD error) {
  const std::map<std::wstring, std::wstring>::iterator found = knownFolders().find(project);
  if (!folderGone(error) || found == knownFolders().end()) return false;
  knownVersions().erase(found->second);
  knownSettings().erase(found->second);
  knownFolders().erase(found);
  return true;
}

kvs::KeptTime keptTimeOf(const FILETIME& ft) {
  return ((static_cast<kvs::KeptTime>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime) / 10000;
}

// The versions in the project's folder of the store, oldest first. Only names of versions are
// asked for: on a share every file listed costs a round trip. A version's time is the later of
// the one its name holds and its file's, which a keep of the same bytes sets anew. False, with
// the system's error set, when the folder cannot be listed.
bool listVersions(const std::wstring& folder, std::vector<KeptVersion>& versions) {
  versions.clear();
  WIN32_FIND_DATAW data;
  kvs::FindHandle find(FindFirstFileW((folder + kVersionPattern).c_str(), &data));
  if (!find.valid()) return GetLastError() == ERROR_FILE_NOT_FOUND;
  do {
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    kvs::KeptTime time = 0;
    if (!kvs::version_time(data.cFileName, time)) continue;
    time = std::max(time, keptTimeOf(data.ftLastWriteTime));
    const KeptVersion version = {time, folder + data.cFileName,
                                 static_cast<unsigned long long>(data.nFileSizeHigh) << 32 | data.nFileSizeLow};
    versions.push_back(version);
  } while (FindNextFileW(find.get(), &data));
  std::sort(versions.begin(), versions.end(), [](const KeptVersion& a, const KeptVersion& b) { return a.time < b.time; });
  return true;
}

std::vector<KeptVersion> versionsIn(const std::wstring& folder) {
  std::vector<KeptVersion> versions;
  if (listVersions(folder, versions)) knownVersions()[folder] = versions;
  return versions;
}

kvs::KeptTime now() {
  FILETIME ft;
  GetSystemTimeAsFileTime(&ft);
  return keptTimeOf(ft);
}

std::vector<kvs::KeptTime> timesOf(const std::vector<KeptVersion>& versions) {
  std::vector<kvs::KeptTime> times;
  for (const KeptVersion& v : versions) times.push_back(v.time);
  return times;
}

// The new version's file, or empty with the system's error set; `times` gains its time. What a
// keep cut short left in the folder goes first: each version is written once, under a new name,
// so no later write would meet it.
std::wstring addVersion(const std::wstring& folder, std::vector<kvs::KeptTime>& times, const std::string& bytes) {
  kvs::remove_replace_leftovers_in(folder);
  const kvs::KeptTime time = kvs::next_version_time(now(), times);
  const std::wstring file = folder + kvs::version_file_name(time);
  if (!kvs::replace_file_content(file, bytes, FILE_ATTRIBUTE_NORMAL)) return std::wstring();
  times.push_back(time);
  return file;
}

bool keepIdenticalVersion(std::vector<KeptVersion>& versions, std::vector<kvs::KeptTime>& times,
                          const std::string& bytes) {
  for (KeptVersion& v : versions) {
    // Only a version of the same size is opened: the listing has given every size. Its time
    // is set through the handle it was compared through: a rename would cost more calls.
    if (v.size != bytes.size()) continue;
    const kvs::FileHandle file(CreateFileW(v.file.c_str(), GENERIC_READ | FILE_WRITE_ATTRIBUTES,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid() || !kvs::file_holds(file.get(), bytes)) continue;
    const kvs::KeptTime kept = kvs::next_version_time(now(), times);
    const unsigned long long units = kept * 10000;
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(units);
    ft.dwHighDateTime = static_cast<DWORD>(units >> 32);
    if (!SetFileTime(file.get(), nullptr, nullptr, &ft)) return false;
    *std::find(times.begin(), times.end(), v.time) = kept;
    v.time = kept;
    std::sort(versions.begin(), versions.end(), [](const KeptVersion& a, const KeptVersion& b) { return a.time < b.time; });
    return true;
  }
  return false;
}

// A version that cannot be dropped now goes at a later keep; the switch goes on. Versions
// listed in `versions` go by the name they have, which earlier versions of the add-on gave.
void dropOldVersions(const std::wstring& folder, const std::vector<KeptVersion>& versions,
                     const std::vector<kvs::KeptTime>& times, kvs::SwitchReport& report) {
  for (const kvs::KeptTime time : kvs::versions_to_drop(times)) {
    std::wstring file = folder + kvs::version_file_name(time);
    for (const KeptVersion& v : versions)
      if (v.time == time) file = v.file;
    if (!DeleteFileW(file.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND)
      report.say(kvs::text(kvs::kTextCannotDropKept, file, kvs::system_message(GetLastError())) + L"\n");
  }
}

void reportNotKept(const std::wstring& project, const std::wstring& where, DWORD error, kvs::SwitchReport& report) {
  report.say(kvs::text(kvs::kTextCannotKeepVersion, project, where, kvs::system_message(error)) + left_as_it_was());
}

void reportNotRemembered(const std::wstring& project, const std::wstring& where, DWORD error, kvs::SwitchReport& report) {
  report.say(kvs::text(kvs::kTextCannotRememberSettings, project, where, kvs::system_message(error)) +
             left_as_it_was());
}

// Where a failed keep was meant to go, for its message.
std::wstring storeForMessages() {
  const std::wstring root = storeRoot();
  return root.empty() ? L"%APPDATA%\\Korvanta\\Undo\\" : root;
}

}  // namespace

bool keep_project_version(const std::wstring& project, const std::string& bytes, kvs::SwitchReport& report) {
  const std::wstring folder = projectFolder(project, true);
  if (folder.empty()) {
    const DWORD error = GetLastError();
    reportNotKept(project, storeForMessages(), error, report);
    return false;
  }
  if (knownVersions().find(folder) == knownVersions().end()) {
    std::vector<KeptVersion> listed;
    if (!listVersions(folder, listed) && forgetFolder(project, GetLastError()))
      return keep_project_version(project, bytes, report);
    knownVersions()[folder] = listed;
  }
  std::vector<KeptVersion>& versions = knownVersions()[folder];
  std::vector<kvs::KeptTime> times = timesOf(versions);
  // A project switched at every start and quit holds the same bytes again and again: a version
  // that holds them already is made the newest, which costs no write.
  if (keepIdenticalVersion(versions, times, bytes)) return true;
  const std::wstring added = addVersion(folder, times, bytes);
  if (added.empty()) {
    const DWORD error = GetLastError();
    knownVersions().erase(folder);
    if (forgetFolder(project, error)) return keep_project_version(project, bytes, report);
    reportNotKept(project, folder, error, report);
    return false;
  }
  dropOldVersions(folder, versions, times, report);
  const KeptVersion version = {times.back(), added, bytes.size()};
  versions.push_back(version);
  const std::vector<kvs::KeptTime> dropped = kvs::versions_to_drop(times);
  for (std::size_t i = versions.size(); i-- > 0;)
    if (std::find(dropped.begin(), dropped.end(), versions[i].time) != dropped.end()) versions.erase(versions.begin() + i);
  return true;
}

// A remembered file's text, from its bytes; false, with the system's error set, when it is not
// text.
bool decodeRemembered(const std::string& bytes, std::wstring& text) {
  kvs::DecodedText decoded = kvs::decode_text_file(bytes);
  if (decoded.failure != kvs::DecodeFailure::None) {
    SetLastError(ERROR_INVALID_DATA);
    return false;
  }
  text.swap(decoded.text);
  return true;
}

// A remembered file's text; empty when there is none. False, with the system's error set, when
// it cannot be read.
bool readRemembered(const std::wstring& file, std::wstring& text) {
  text.clear();
  std::string bytes;
  if (!kvs::read_whole_file(file, bytes)) return GetLastError() == ERROR_FILE_NOT_FOUND;
  return decodeRemembered(bytes, text);
}

// The settings file's text with its time and size as it was read; as readRemembered.
bool readSettingsFile(const std::wstring& file, KnownSettings& read) {
  read.text.clear();
  read.present = false;
  read.written.dwLowDateTime = read.written.dwHighDateTime = 0;
  read.size = 0;
  std::string bytes;
  if (!kvs::read_whole_file(file, bytes, read.written)) return GetLastError() == ERROR_FILE_NOT_FOUND;
  read.present = true;
  read.size = static_cast<DWORD>(bytes.size());
  return decodeRemembered(bytes, read.text);
}

// The folder's remembered settings: read the first time, and again only when the file's time
// or size has changed since. As readRemembered.
bool readSettings(const std::wstring& folder, std::wstring& text) {
  const std::wstring file = folder + kSettingsFile;
  const std::map<std::wstring, KnownSettings>::const_iterator found = knownSettings().find(folder);
  if (found != knownSettings().end()) {
    KnownSettings now;
    if (!settingsStamp(file, now)) return false;
    if (found->second.present == now.present && found->second.size == now.size &&
        CompareFileTime(&found->second.written, &now.written) == 0) {
      text = found->second.text;
      return true;
    }
  }
  KnownSettings read;
  if (!readSettingsFile(file, read)) return false;
  text = read.text;
  knownSettings()[folder] = read;
  return true;
}

bool remember_replaced_settings(const std::wstring& project, const kvs::ReplacedSettings& replaced,
                                kvs::SwitchReport& report) {
  const std::wstring folder = projectFolder(project, true);
  if (folder.empty()) {
    const DWORD error = GetLastError();
    reportNotRemembered(project, storeForMessages(), error, report);
    return false;
  }
  const std::wstring file = folder + kSettingsFile;
  std::wstring present;
  if (!readSettings(folder, present)) {
    if (forgetFolder(project, GetLastError())) return remember_replaced_settings(project, replaced, report);
    reportNotRemembered(project, file, GetLastError(), report);
    return false;
  }
  const std::wstring text =
      kvs::replaced_settings_text(kvs::remembered_after_switch(kvs::replaced_settings_of(present), replaced));
  // The start-up pass switches a registered project every time: only a change is written.
  if (text == present) return true;
  std::string bytes;
  if (!kvs::encode_text_file(text, kvs::TextEncoding::Utf8, bytes) ||
      !kvs::replace_file_content(file, bytes, FILE_ATTRIBUTE_NORMAL)) {
    const DWORD error = GetLastError();
    knownSettings().erase(folder);
    reportNotRemembered(project, file, error, report);
    return false;
  }
  KnownSettings written;
  if (settingsStamp(file, written) && written.present) {
    written.text = text;
    knownSettings()[folder] = written;
  } else {
    knownSettings().erase(folder);
  }
  // What an earlier version remembered of the menu alone is in the settings now.
  DeleteFileW((folder + kMenuFile).c_str());
  return true;
}

bool remembered_switch_back(const std::wstring& project, kvs::ReplacedSettings& settings, std::wstring& menu,
                            std::wstring& file) {
  settings = kvs::ReplacedSettings();
  menu.clear();
  const std::wstring folder = projectFolder(project, false);
  if (folder.empty()) {
    const DWORD error = GetLastError();
    file = storeForMessages();
    SetLastError(error);
    return error == ERROR_FILE_NOT_FOUND;  // else the store could not be searched
  }
  std::wstring text;
  file = folder + kSettingsFile;
  if (!readSettings(folder, text)) {
    return forgetFolder(project, GetLastError()) && remembered_switch_back(project, settings, menu, file);
  }
  settings = kvs::replaced_settings_of(text);
  // A switch that remembered the menu this way removed what earlier versions kept of it.
  const kvs::ReplacedSetting& remembered = settings[1];
  if (remembered.known) {
    if (remembered.present && kvs::menu_kind(remembered.before) == kvs::MenuKind::Own) menu = kvs::trim(remembered.before);
    return true;
  }
  file = folder + kMenuFile;
  if (!readRemembered(file, menu)) return false;
  menu = kvs::trim(menu);
  return true;
}

std::vector<KeptVersion> kept_project_versions(const std::wstring& project) {
  const std::wstring folder = projectFolder(project, false);
  return folder.empty() ? std::vector<KeptVersion>() : versionsIn(folder);
}

UndoResult restore_newest_version(const std::wstring& project, kvs::SwitchReport& report) {
  const std::wstring folder = projectFolder(project, false);
  std::vector<KeptVersion> versions = folder.empty() ? std::vector<KeptVersion>() : versionsIn(folder);
  // What follows changes the folder; the next keep lists it again.
  knownVersions().erase(folder);
  UndoResult result;
  if (versions.empty()) {
    result.outcome = UndoOutcome::NothingKept;
    return result;
  }
  // Whatever the project holds now is put aside, text or not: undo is how a damaged file is repaired.
  const std::wstring path = kvs::extended_path(project);
  const DWORD attributes = GetFileAttributesW(path.c_str());
  std::wstring why;
  std::string current;
  if (attributes == INVALID_FILE_ATTRIBUTES)
    why = kvs::system_message(GetLastError());
  else if (attributes & FILE_ATTRIBUTE_DIRECTORY)
    why = kvs::text(kvs::kTextIsFolder);
  else if (attributes & FILE_ATTRIBUTE_READONLY)
    why = kvs::text(kvs::kTextIsReadOnly);
  else if (!kvs::read_whole_file(path, current))
    why = kvs::system_message(GetLastError());
  if (!why.empty()) {
    report.say(kvs::text(kvs::kTextCannotPutBack, project, why) + left_as_it_was());
    return result;
  }
  // The newest version that differs from the file: putting back what it holds already would
  // undo nothing, and the same bytes are kept anew below.
  std::string restored;
  std::vector<KeptVersion> same;
  while (!versions.empty()) {
    const KeptVersion& newest = versions.back();
    if (!kvs::read_whole_file(newest.file, restored)) {
      report.say(kvs::text(kvs::kTextCannotReadKept, newest.file, kvs::system_message(GetLastError())) + L"\n");
      return result;
    }
    if (restored != current) break;
    same.push_back(newest);
    versions.pop_back();
  }
  if (versions.empty()) {
    result.outcome = UndoOutcome::NothingDifferent;
    return result;
  }
  const KeptVersion newest = versions.back();
  result.time = newest.time;
  std::vector<kvs::KeptTime> times = timesOf(versions);
  // The names of the versions passed over stay taken until they go, or the new one could take
  // the name of one that is then deleted.
  for (const KeptVersion& v : same) times.push_back(v.time);
  const std::wstring replaced = addVersion(folder, times, current);
  if (replaced.empty()) {
    reportNotKept(project, folder, GetLastError(), report);
    return result;
  }
  if (!kvs::replace_file_content(path, restored, attributes)) {
    const DWORD error = GetLastError();
    DeleteFileW(replaced.c_str());
    report.say(kvs::text(kvs::kTextCannotWriteProject, project, kvs::system_message(error)) + L"." + left_as_it_was());
    return result;
  }
  DeleteFileW(newest.file.c_str());
  for (const KeptVersion& v : same) {
    DeleteFileW(v.file.c_str());
    times.erase(std::find(times.begin(), times.end(), v.time));
  }
  times.erase(std::find(times.begin(), times.end(), newest.time));
  dropOldVersions(folder, versions, times, report);
  kvs::DecodedText decoded = kvs::decode_text_file(restored);
  result.outcome = UndoOutcome::Restored;
  result.readable = decoded.failure == kvs::DecodeFailure::None;
  result.text.swap(decoded.text);
  return result;
}
