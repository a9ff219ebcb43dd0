#include "menu_plc/plc_swap.h"

#include "frame/host_interface.h"

#include <shellapi.h>

#include <string>

#include "win32/system_message.h"
#include "common/text_util.h"
#include "win32/handles.h"
#include "common/release_globals.h"
#include "menu_plc/plc_paths.h"
#include "switching/docs_folders.h"

namespace {

const wchar_t kAddonDatabase[] = L"C:\\Program Files\\Korvanta\\Data\\ace_plc.mdb";
const wchar_t kRestoreProgram[] = L"C:\\Program Files\\Korvanta\\support\\update.exe";

bool exists(const std::wstring& path) { return kvs::pathExists(path.c_str()); }

// For the releases with language folders: moves the paths into the language folder that
// holds the working database or its backup; false, once the message is printed, when none does.
bool resolveLanguageFolder(std::wstring& working, std::wstring* backup) {
  if (!kvs::plc_in_language_folder(version)) return true;
  // A swap whose copy failed leaves the user's database only as the backup: that folder still
  // holds it, and the restore must still be started there.
  const auto holdsDatabase = [](const std::wstring& candidate) {
    return exists(candidate) || exists(kvs::replace_all(candidate, L"ace_plc.mdb", L"ace_plc_old.mdb"));
  };
  const std::wstring language = kvs::find_plc_language(working, holdsDatabase);
  if (language.empty()) {
    acutPrintf(L"Plc folder not found..\n");
    return false;
  }
  working = kvs::in_language_folder(working, language);
  if (backup) *backup = kvs::in_language_folder(*backup, language);
  return true;
}

// The system's text for an error code, with the code.
std::wstring describe(DWORD code) { return kvs::system_message(code) + L" (error " + std::to_wstring(code) + L")"; }

}  // namespace

void initPCL() {
  kvs::PlcPaths paths = kvs::plc_paths(getMyDocsPath(L"RoamingUserMyDocsAcadeFolder"));
  if (!resolveLanguageFolder(paths.working, &paths.backup)) return;
  // The backup is the only record that a swap is in force.
  if (exists(paths.backup)) return;
  try {
    CFile::Rename(paths.working.c_str(), paths.backup.c_str());
  } catch (CFileException* e) {
    // The copy would overwrite the user's database: without the backup, nothing is swapped.
    const DWORD code = static_cast<DWORD>(e->m_lOsError);
    e->Delete();
    const std::wstring message = L"PLC database not swapped: cannot rename " + paths.working + L" to " +
                                 paths.backup + L": " + describe(code) + L".\n";
    acutPrintf(L"%ls", message.c_str());
    return;
  }
  CopyFileW(kAddonDatabase, paths.working.c_str(), FALSE);
}

void deinitPCL() {
  std::wstring working = kvs::plc_paths(getMyDocsPath(L"RoamingUserMyDocsAcadeFolder")).working;
  if (!resolveLanguageFolder(working, nullptr)) return;
  // Quoted, so that a documents folder with blanks reaches the program as one argument.
  const std::wstring parameters = L"\"" + working + L"\"";
  ShellExecuteW(nullptr, nullptr, kRestoreProgram, parameters.c_str(), nullptr, SW_HIDE);
}
