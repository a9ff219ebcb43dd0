#include "support/korvanta_install.h"

#include "win32/registry.h"

#include <tlhelp32.h>

#include <stdexcept>

#include "support/test_support.h"

namespace testing_support {

const wchar_t kInstalledUpdate[] = L"C:\\Program Files\\Korvanta\\support\\update.exe";
const wchar_t kInstalledDatabase[] = L"C:\\Program Files\\Korvanta\\Data\\ace_plc.mdb";

namespace {

// Each missing folder of `path`, outermost first, made and recorded.
void makeFoldersRecorded(const std::wstring& path, std::vector<std::wstring>& made) {
  std::size_t at = path.find(L'\\', 3);  // past "C:\"
  while (true) {
    const std::wstring folder = path.substr(0, at);
    if (!fileExists(folder)) {
      if (!CreateDirectoryW(folder.c_str(), nullptr)) throw std::runtime_error("cannot make an installation folder");
      made.push_back(folder);
    }
    if (at == std::wstring::npos) break;
    at = path.find(L'\\', at + 1);
  }
}

// The update.exe runs this program started by unloading the plug-in in-process: they wait
// for it, their AutoCAD, to end, and have touched nothing yet.
void endUpdatesStartedHere() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
    if (_wcsicmp(entry.szExeFile, L"update.exe") != 0 || entry.th32ParentProcessID != GetCurrentProcessId()) continue;
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID);
    if (!process) continue;
    TerminateProcess(process, 1);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
  }
  CloseHandle(snapshot);
}

}  // namespace

KorvantaInstall::KorvantaInstall() {
  if (!waitForUpdates(30000)) throw std::runtime_error("an earlier update.exe is still running");
  database_ = readBytes(binDir() + L"Korvanta\\Data\\ace_plc.mdb");
  // The installer's spelling of the folder; the plug-in names it in lower case.
  makeFoldersRecorded(L"C:\\Program Files\\Korvanta\\Support", madeFolders_);
  makeFoldersRecorded(L"C:\\Program Files\\Korvanta\\Data", madeFolders_);
  place(kInstalledUpdate, readBytes(binDir() + L"update.exe"));
  place(kInstalledDatabase, database_);
}

void KorvantaInstall::place(const std::wstring& path, const std::string& bytes) {
  Placed p{path, fileExists(path), {}};
  if (p.existed) p.previous = readBytes(path);
  writeBytes(path, bytes);
  placed_.push_back(std::move(p));
}

KorvantaInstall::~KorvantaInstall() {
  endUpdatesStartedHere();
  waitForUpdates(30000);
  for (const Placed& p : placed_) {
    SetFileAttributesW(p.path.c_str(), FILE_ATTRIBUTE_NORMAL);  // a case may have made it read-only
    try {
      if (p.existed)
        writeBytes(p.path, p.previous);
      else
        DeleteFileW(p.path.c_str());
    } catch (const std::exception&) {
    }
  }
  for (auto it = madeFolders_.rbegin(); it != madeFolders_.rend(); ++it) RemoveDirectoryW(it->c_str());
}

std::vector<DWORD> runningUpdates() {
  std::vector<DWORD> ids;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return ids;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
    if (_wcsicmp(entry.szExeFile, L"update.exe") == 0) ids.push_back(entry.th32ProcessID);
  CloseHandle(snapshot);
  return ids;
}

bool waitForUpdates(DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (DWORD id : runningUpdates()) {
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
    if (!process) continue;  // already gone
    const ULONGLONG now = GetTickCount64();
    DWORD rc = WaitForSingleObject(process, now < deadline ? static_cast<DWORD>(deadline - now) : 0);
    CloseHandle(process);
    if (rc != WAIT_OBJECT_0) return false;
  }
  return true;
}


void endSwaps() {
  const std::wstring autocad = L"Software\\Autodesk\\AutoCAD\\";
  for (const auto& release : kvs::subkey_names(HKEY_CURRENT_USER, autocad)) {
    for (const auto& product : kvs::subkey_names(HKEY_CURRENT_USER, autocad + release)) {
      std::wstring docs;
      if (!regReadString(HKEY_CURRENT_USER, autocad + release + L"\\" + product, L"RoamingUserMyDocsAcadeFolder", docs))
        continue;
      for (const wchar_t* language : {L"", L"ru-RU\\", L"en-EN\\", L"en-US\\"}) {
        const std::wstring plc = docs + L"AeData\\" + language + L"Plc\\";
        if (!fileExists(plc + L"ace_plc_old.mdb")) continue;
        DeleteFileW((plc + L"ace_plc.mdb").c_str());
        MoveFileW((plc + L"ace_plc_old.mdb").c_str(), (plc + L"ace_plc.mdb").c_str());
      }
    }
  }
}

}  // namespace testing_support
