#include "menu_plc/plc_swap.h"

#include <shellapi.h>

#include <string>

#include "common/install_layout.h"
#include "common/release_globals.h"
#include "common/text_util.h"
#include "common/texts.h"
#include "menu_plc/plc_handoff.h"
#include "menu_plc/plc_paths.h"
#include "switching/docs_folders.h"
#include "win32/file_read.h"
#include "win32/handles.h"
#include "win32/long_path.h"
#include "win32/text_codec.h"
#include "win32/system_message.h"

namespace {

using kvs::install::kRestoreProgram;
const wchar_t* const kAddonDatabase = kvs::install::kPlcDatabase;

// update.exe holds the swap mutex only for one delete and one rename.
const DWORD kSwapMutexWaitMs = 10000;

}  // namespace

bool locate_plc_database(const std::wstring& docs, kvs::PlcPaths& paths) {
  paths = kvs::plc_paths(docs);
  if (!kvs::plc_in_language_folder(version)) return true;
  // A swap whose copy failed leaves the user's database only as the backup: that folder still
  // holds it, and the restore must still be started there.
  const auto holdsDatabase = [](const kvs::PlcPaths& candidate) {
    return kvs::path_exists(candidate.working) || kvs::path_exists(candidate.backup);
  };
  const std::wstring language =
      kvs::find_plc_language(docs, kvs::product_language(running_product), holdsDatabase);
  if (language.empty()) return false;
  paths = kvs::plc_paths(docs, language);
  return true;
}

namespace {

// The database's paths for this release; false, once the message is printed, when the
// release keeps it in a language folder and none holds it.
bool plcPaths(kvs::PlcPaths& paths) {
  std::wstring docs;
  if (getMyDocsPath(L"RoamingUserMyDocsAcadeFolder", docs) && locate_plc_database(docs, paths)) return true;
  acutPrintf(L"%ls\n", kvs::text(kvs::kTextPlcFolderNotFound).c_str());
  return false;
}

std::wstring describe(DWORD code) {
  return kvs::text(kvs::kTextWithErrorCode, kvs::system_message(code), std::to_wstring(static_cast<unsigned long long>(code)));
}

void print(const std::wstring& message) { acutPrintf(L"%ls", message.c_str()); }

std::wstring folderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\') + 1); }

// The whole file as UTF-16, from UTF-8; empty when it cannot be read.
std::wstring readUtf8(const std::wstring& path) {
  std::string bytes;
  if (!kvs::read_whole_file(kvs::extended_path(path), bytes) || bytes.size() > 0x10000) return std::wstring();
  return kvs::utf8_text(bytes);
}

// Prints, once, why update.exe could not put the user's database back after the last
// session; a log whose backup is gone no longer tells the truth and goes unprinted.
void reportFailedRestore(const std::wstring& backup) {
  const std::wstring log = folderOf(backup) + kvs::kPlcRestoreLog;
  if (!kvs::path_exists(log)) return;
  if (kvs::path_exists(backup)) {
    std::wstring reason = kvs::trim(readUtf8(log));
    if (reason.empty()) reason = kvs::text(kvs::kTextPlcLogUnreadable, log);
    print(kvs::text(kvs::kTextPlcNotRestoredLast, reason, backup) + L"\n");
  }
  DeleteFileW(kvs::extended_path(log).c_str());
}

// A copy keeps its source's attributes: a read-only add-on database would give a working
// database that ACADE cannot write and update.exe cannot delete.
void clearReadOnly(const std::wstring& path) {
  const std::wstring target = kvs::extended_path(path);
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY)) return;
  if (SetFileAttributesW(target.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY)) return;
  const DWORD code = GetLastError();
  print(kvs::text(kvs::kTextPlcStaysReadOnly, path, describe(code)) + L"\n");
}

}  // namespace

kvs::KernelHandle holdPlcSession() { return kvs::KernelHandle(CreateEventW(nullptr, TRUE, FALSE, kvs::kPlcSessionLock)); }

void initPCL() {
  kvs::PlcPaths paths;
  if (!plcPaths(paths)) return;
  reportFailedRestore(paths.backup);
  // Should the wait run out, the session lock already keeps any later restore away.
  kvs::HeldMutex swapping(kvs::kPlcSwapMutex, kSwapMutexWaitMs);
  // The backup is the only record that a swap is in force.
  if (kvs::path_exists(paths.backup)) return;
  // Without the add-on's database the rename would leave ACADE with none at all.
  if (!kvs::path_exists(kAddonDatabase)) {
    print(kvs::text(kvs::kTextPlcAddonMissing, kAddonDatabase) + L"\n");
    return;
  }
  const std::wstring working = kvs::extended_path(paths.working);
  const std::wstring backup = kvs::extended_path(paths.backup);
  try {
    CFile::Rename(working.c_str(), backup.c_str());
  } catch (CFileException* e) {
    // The copy would overwrite the user's database: without the backup, nothing is swapped.
    const DWORD code = static_cast<DWORD>(e->m_lOsError);
    e->Delete();
    print(kvs::text(kvs::kTextPlcCannotRename, paths.working, paths.backup, describe(code)) + L"\n");
    return;
  }
  if (!CopyFileW(kAddonDatabase, working.c_str(), FALSE)) {
    const DWORD copyError = GetLastError();
    const std::wstring why = kvs::text(kvs::kTextPlcCannotCopy, kAddonDatabase, paths.working, describe(copyError));
    if (MoveFileW(backup.c_str(), working.c_str())) {
      print(why + L" " + kvs::text(kvs::kTextPlcBackInPlace) + L"\n");
      return;
    }
    const DWORD renameError = GetLastError();
    // The restore at unload still finds the backup and puts it back.
    print(why + L" " + kvs::text(kvs::kTextPlcKeptUntilClose, paths.backup, describe(renameError)) + L"\n");
    return;
  }
  clearReadOnly(paths.working);
}

void deinitPCL() {
  kvs::PlcPaths paths;
  if (!plcPaths(paths)) return;
  // Quoted, so that a documents folder with blanks reaches the program as one argument.
  const std::wstring parameters = L"\"" + paths.working + L"\"";
  // ShellExecuteW answers a value above 32 when the program started.
  if (reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, nullptr, kRestoreProgram, parameters.c_str(), nullptr,
                                              SW_HIDE)) > 32)
    return;
  const DWORD code = GetLastError();
  if (kvs::path_exists(paths.backup))
    print(kvs::text(kvs::kTextPlcCannotStart, kRestoreProgram, describe(code), paths.backup) + L"\n");
}
