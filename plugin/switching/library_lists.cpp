#include "switching/library_lists.h"

#include <windows.h>

#include <vector>

#include "common/text_util.h"
#include "common/texts.h"
#include "switching/docs_folders.h"
#include "win32/handles.h"
#include "win32/system_message.h"

namespace {

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

// Said with the system's reason, which scanLibraryFolders leaves as the last error.
std::wstring noInstallation(const wchar_t* folder) {
  return kvs::text(kvs::kTextNoInstallation, folder, kvs::system_message(GetLastError())) + L"\n";
}

}  // namespace

bool library_lists(int tip, const std::wstring& version, kvs::RecordValues& values, std::wstring& message) {
  std::vector<std::wstring> symbols, panels;
  if (tip == 1 && !scanLibraryFolders(kvs::install::kUgoFolder, symbols)) {
    message = noInstallation(kvs::install::kUgoFolder);
    return false;
  }
  std::wstring docs;
  if (!getAllDocsPath(L"Common Documents", docs)) {
    message = kvs::text(kvs::kTextNoPublicDocuments) + L"\n";
    return false;
  }
  if (tip != 1) {
    values = kvs::stock_values(docs, version);
    return true;
  }
  if (!scanLibraryFolders(kvs::install::kPanelFolder, panels)) {
    message = noInstallation(kvs::install::kPanelFolder);
    return false;
  }
  values = kvs::gost_values(symbols, panels, docs, version);
  return true;
}
