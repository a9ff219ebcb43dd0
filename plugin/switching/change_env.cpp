#include "switching/change_env.h"

#include <vector>

#include "commands/support_paths.h"
#include "common/text_util.h"
#include "win32/handles.h"
#include "common/release_globals.h"
#include "switching/docs_folders.h"

namespace {

const wchar_t kNoInstallation[] = L"Error. Installation folder not found.";

// The library subfolders of `folder` (given with its trailing backslash) in the order the file
// system lists them; false when the folder cannot be listed.
bool scanLibraryFolders(const wchar_t* folder, std::vector<std::wstring>& names) {
  WIN32_FIND_DATAW data;
  kvs::FindHandle find(FindFirstFileW((std::wstring(folder) + L"*.*").c_str(), &data));
  if (!find.valid()) return false;
  do {
    if (kvs::is_plain_library_folder(data.dwFileAttributes, data.cFileName)) names.push_back(data.cFileName);
  } while (FindNextFileW(find.get(), &data));
  return true;
}

}  // namespace

bool library_values(int tip, kvs::RecordValues& values, std::wstring& message) {
  if (tip == 1) {
    // AutoCAD's paths move first and stay moved even when the library turns out to be missing.
    fSetSupportPath(1);
    std::vector<std::wstring> symbols, panels;
    message = kNoInstallation;
    if (!scanLibraryFolders(kvs::install::kUgoFolder, symbols)) return false;
    const std::wstring docs = getAllDocsPath(L"Common Documents");
    if (kvs::contains(docs, L"Error")) {
      message = docs;
      return false;
    }
    if (!scanLibraryFolders(kvs::install::kPanelFolder, panels)) return false;
    values = kvs::gost_values(symbols, panels, docs, version);
    return true;
  }
  const std::wstring docs = getAllDocsPath(L"Common Documents");
  if (kvs::contains(docs, L"Error")) {
    message = docs;
    return false;
  }
  fSetSupportPath(2);
  values = kvs::stock_values(docs, version);
  return true;
}

std::wstring change_env(std::wstring str, int tip) {
  kvs::RecordValues values;
  std::wstring message;
  if (!library_values(tip, values, message)) return message;
  return kvs::rewrite_project_text(str, values);
}
