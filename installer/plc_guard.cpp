// The Windows Installer package's custom actions (KorvantaSetup.msi, run from its Binary table,
// never installed). FindUserLanguage tells the package which language to speak. FindSwappedPlc,
// at removal, finds every user's own PLC database that the add-on has swapped out, kept as
// ace_plc_old.mdb until update.exe puts it back. It only looks; the package's launch condition
// refuses the removal when it names one.
//
// msiexec runs the removal as whoever starts it: the administrator at a command line, or the
// local system account when Group Policy or a distribution tool removes the package, often
// before anyone has logged on. HKEY_CURRENT_USER is that account's, which holds no ACADE
// profile then, so every user is looked at: the profiles in each loaded hive (the users logged
// on), and the documents folders ACADE makes in each profile on the machine (the users who are
// not, whose hives Windows has not loaded). KorvantaSetup.exe's uninstaller calls the same search
// through ListSwappedPlc.
#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include <string>
#include <vector>

#include "common/path_fold.h"
#include "common/texts.h"
#include "menu_plc/plc_paths.h"
#include "win32/handles.h"
#include "win32/long_path.h"
#include "win32/registry.h"
#include "win32/ui_language.h"

namespace {

const wchar_t kAutocadKey[] = L"Software\\Autodesk\\AutoCAD";
const wchar_t kProfileList[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";

std::vector<std::wstring> subkeys(HKEY root, const std::wstring& path) {
  return kvs::subkey_names(root, path, KEY_WOW64_64KEY);
}

std::wstring stringValue(HKEY root, const std::wstring& path, const wchar_t* name) {
  std::wstring value;
  kvs::RegKey key;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, key.put()) == ERROR_SUCCESS)
    kvs::read_string_value(key.get(), name, value);
  return value;
}

std::wstring asFolder(std::wstring path) {
  if (!path.empty() && path[path.size() - 1] != L'\\') path += L'\\';
  return path;
}

bool endsWith(const std::wstring& text, const std::wstring& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// An ACADE documents folder, with the language of the build whose profile names it (empty when
// only the folder is known).
struct Docs {
  std::wstring folder, language;
};

void add(std::vector<Docs>& docs, const std::wstring& folder, const std::wstring& language) {
  const Docs d = {folder, language};
  docs.push_back(d);
}

// ACADE's documents folder of every build's profile in the loaded hive HKEY_USERS\<hive>: one
// key per release under AutoCAD's, one per product under that, as ACADE makes them.
void docsOfHive(const std::wstring& hive, std::vector<Docs>& docs) {
  const std::wstring autocad = hive + L"\\" + kAutocadKey;
  const std::vector<std::wstring> releases = subkeys(HKEY_USERS, autocad);
  for (std::size_t r = 0; r < releases.size(); ++r) {
    const std::wstring release = autocad + L"\\" + releases[r];
    const std::vector<std::wstring> products = subkeys(HKEY_USERS, release);
    for (std::size_t p = 0; p < products.size(); ++p) {
      const std::wstring folder = stringValue(HKEY_USERS, release + L"\\" + products[p], L"RoamingUserMyDocsAcadeFolder");
      if (!folder.empty()) add(docs, asFolder(folder), kvs::product_language(products[p]));
    }
  }
}

// The documents folders ACADE makes by default, "Documents\Acade <year>\", in every profile the
// machine has, whether or not its user is logged on.
void docsOfProfiles(std::vector<Docs>& docs) {
  const std::vector<std::wstring> sids = subkeys(HKEY_LOCAL_MACHINE, kProfileList);
  for (std::size_t s = 0; s < sids.size(); ++s) {
    const std::wstring image = stringValue(HKEY_LOCAL_MACHINE, std::wstring(kProfileList) + L"\\" + sids[s], L"ProfileImagePath");
    if (image.empty()) continue;
    std::vector<wchar_t> expanded(ExpandEnvironmentStringsW(image.c_str(), nullptr, 0) + 1);
    if (!ExpandEnvironmentStringsW(image.c_str(), &expanded[0], static_cast<DWORD>(expanded.size()))) continue;
    const std::wstring documents = asFolder(&expanded[0]) + L"Documents\\";
    WIN32_FIND_DATAW data;
    kvs::FindHandle find(FindFirstFileW(kvs::extended_path(documents + L"Acade *").c_str(), &data));
    if (!find.valid()) continue;
    do {
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) add(docs, documents + data.cFileName + L"\\", L"");
    } while (FindNextFileW(find.get(), &data));
  }
}

bool isFile(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(kvs::extended_path(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool listed(const std::vector<std::wstring>& list, const std::wstring& path) {
  for (std::size_t i = 0; i < list.size(); ++i)
    if (kvs::same_path(list[i], path)) return true;
  return false;
}

// A line in the installation's log (msiexec /l*v), which no user interface shows.
void logLine(MSIHANDLE install, const std::wstring& text) {
  PMSIHANDLE record = MsiCreateRecord(0);
  MsiRecordSetStringW(record, 0, text.c_str());
  MsiProcessMessage(install, INSTALLMESSAGE_INFO, record);
}

// Every user's backup that exists, each once; `looked` counts the documents folders looked in.
std::vector<std::wstring> swappedBackups(std::size_t& looked) {
  std::vector<Docs> docs;
  const std::vector<std::wstring> hives = subkeys(HKEY_USERS, L"");
  for (std::size_t h = 0; h < hives.size(); ++h)
    if (!endsWith(hives[h], L"_Classes")) docsOfHive(hives[h], docs);
  docsOfProfiles(docs);
  looked = docs.size();

  std::vector<std::wstring> found;
  for (std::size_t d = 0; d < docs.size(); ++d) {
    // Where the plug-in's swap keeps it, for every release and language folder.
    const std::vector<std::wstring> backups = kvs::plc_backup_places(docs[d].folder, docs[d].language);
    for (std::size_t b = 0; b < backups.size(); ++b)
      if (isFile(backups[b]) && !listed(found, backups[b])) found.push_back(backups[b]);
  }
  return found;
}

std::wstring joined(const std::vector<std::wstring>& paths) {
  std::wstring list;
  for (std::size_t i = 0; i < paths.size(); ++i) list += (i ? L"; " : L"") + paths[i];
  return list;
}

}  // namespace

// Sets KVS_SWAPPED_PLC to the backups found, separated by "; ", and leaves it unset when there
// are none. Succeeds whatever it finds: refusing is the launch condition's part.
extern "C" UINT __stdcall FindSwappedPlc(MSIHANDLE install) {
  std::size_t looked = 0;
  const std::vector<std::wstring> found = swappedBackups(looked);
  for (std::size_t i = 0; i < found.size(); ++i)
    logLine(install, kvs::text(kvs::kTextGuardKept, found[i]));
  const std::wstring list = joined(found);
  if (found.empty()) {
    logLine(install, kvs::text(kvs::kTextGuardNone, std::to_wstring(static_cast<unsigned long long>(looked))));
    return ERROR_SUCCESS;
  }
  MsiSetPropertyW(install, L"KVS_SWAPPED_PLC", list.c_str());
  return ERROR_SUCCESS;
}

// Sets KVS_RUSSIAN when the user's display language is Russian, by the add-on's one rule: the
// package's name and refusals then speak Russian, and English otherwise.
extern "C" UINT __stdcall FindUserLanguage(MSIHANDLE install) {
  if (kvs::user_language() == kvs::UiLanguage::Russian) MsiSetPropertyW(install, L"KVS_RUSSIAN", L"1");
  return ERROR_SUCCESS;
}

// The same search for KorvantaSetup.exe's uninstaller, through NSIS's System plug-in: the number
// of backups found, and in `list` (room for `size` characters, at least 1) as many of them as
// fit, separated by "; ".
extern "C" int __stdcall ListSwappedPlc(wchar_t* list, int size) {
  std::size_t looked = 0;
  const std::vector<std::wstring> found = swappedBackups(looked);
  const std::wstring text = joined(found);
  const std::size_t room = size > 0 ? static_cast<std::size_t>(size - 1) : 0;
  const std::size_t put = text.size() < room ? text.size() : room;
  if (size > 0) {
    text.copy(list, put);
    list[put] = L'\0';
  }
  return static_cast<int>(found.size());
}
