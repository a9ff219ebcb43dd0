#include <afxwin.h>
#include <tlhelp32.h>

#include "win32/long_path.h"
#include "win32/text_codec.h"
#include "win32/system_message.h"
#include "common/texts.h"
#include "menu_plc/plc_handoff.h"
#include "menu_plc/plc_paths.h"

#include "restore.h"

namespace update {

namespace {

std::wstring quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

std::wstring describe(DWORD code) {
  return kvs::text(kvs::kTextWithErrorCode, kvs::system_message(code), std::to_wstring(static_cast<unsigned long long>(code)));
}

bool running(HANDLE host) { return host && WaitForSingleObject(host, 0) == WAIT_TIMEOUT; }

// True while any session of this user has the plug-in loaded: the event lives as long as
// one of them keeps it open, and vanishes with the last, even one that crashed.
bool sessionOpen() {
  kvs::KernelHandle lock(OpenEventW(SYNCHRONIZE, FALSE, kvs::kPlcSessionLock));
  return lock.valid();
}

// The backup put back under the working name; false with the reason when that failed.
bool putBackupBack(const std::wstring& working, const std::wstring& backup, std::wstring& why) {
  if (!kvs::path_exists(backup)) return true;
  const std::wstring target = kvs::extended_path(working);
  // A working copy of a read-only add-on database refuses the delete.
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    SetFileAttributesW(target.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  // The rename does not replace an existing file.
  const DWORD deleteError = DeleteFileW(target.c_str()) ? ERROR_SUCCESS : GetLastError();
  try {
    CFile::Rename(kvs::extended_path(backup).c_str(), target.c_str());
  } catch (CFileException* e) {
    why = kvs::text(kvs::kTextUpdateCannotRename, quoted(backup), quoted(working), describe(static_cast<DWORD>(e->m_lOsError)));
    e->Delete();
    if (deleteError != ERROR_SUCCESS && deleteError != ERROR_FILE_NOT_FOUND)
      why = kvs::text(kvs::kTextUpdateDeleteFailed, why, quoted(working), describe(deleteError));
    return false;
  }
  return true;
}

// The reason, in UTF-8, where the next load of the plug-in looks for it; the error when it
// cannot be written.
DWORD writeLog(const std::wstring& path, const std::wstring& reason) {
  const std::wstring line = reason + L"\r\n";
  std::string bytes;
  if (!kvs::append_encoded(line.data(), line.size(), kvs::TextEncoding::Utf8, bytes)) return GetLastError();
  kvs::KernelHandle file(CreateFileW(kvs::extended_path(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return GetLastError();
  DWORD put = 0;
  if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr)) return GetLastError();
  return put == bytes.size() ? ERROR_SUCCESS : ERROR_DISK_FULL;
}

int restore(const std::wstring& working, const Environment& env) {
  const std::size_t slash = working.find_last_of(L'\\');
  if (slash == std::wstring::npos) return kRestoredOrNothingToDo;  // no argument: no folder to look in
  const std::wstring log = working.substr(0, slash + 1) + kvs::kPlcRestoreLog;
  std::wstring failure;
  if (putBackupBack(working, kvs::plc_backup_beside(working), failure)) {
    // Whatever an earlier run left there no longer holds.
    DeleteFileW(kvs::extended_path(log).c_str());
    return kRestoredOrNothingToDo;
  }
  env.complain(kvs::text(kvs::kTextUpdateFailed, failure) + L"\n");
  const DWORD logError = writeLog(log, failure);
  if (logError != ERROR_SUCCESS) env.complain(kvs::text(kvs::kTextUpdateCannotWriteLog, quoted(log), describe(logError)) + L"\n");
  return kRenameFailed;
}

}  // namespace

kvs::KernelHandle openParentProcess() {
  DWORD parent = 0;
  {
    kvs::KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.valid()) return kvs::KernelHandle();
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry))
      if (entry.th32ProcessID == GetCurrentProcessId()) parent = entry.th32ParentProcessID;
  }
  if (!parent) return kvs::KernelHandle();
  kvs::KernelHandle process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, parent));
  if (!process.valid()) return kvs::KernelHandle();
  // The id of a parent that has ended may already name a newer process, which is not ours.
  FILETIME parentStart, ownStart, unused1, unused2, unused3;
  if (GetProcessTimes(process.get(), &parentStart, &unused1, &unused2, &unused3) &&
      GetProcessTimes(GetCurrentProcess(), &ownStart, &unused1, &unused2, &unused3) &&
      CompareFileTime(&parentStart, &ownStart) > 0)
    return kvs::KernelHandle();
  return process;
}

int run(int argc, const wchar_t* const* argv, const Environment& env) {
  if (!AfxWinInit(GetModuleHandleW(nullptr), nullptr, GetCommandLineW(), 0)) {
    env.print(kvs::text(kvs::kTextUpdateFrameworkFailed) + L"\n");
    return kFrameworkFailed;
  }
  const std::wstring working = argc > 1 && argv[1] ? argv[1] : L"";
  // Only the database the plug-in swaps has a backup; any other name could be the backup itself,
  // and the delete below would destroy the only copy.
  if (!working.empty() && kvs::plc_backup_beside(working).empty()) {
    env.complain(kvs::text(kvs::kTextUpdateNotADatabase, quoted(working), kvs::kPlcWorkingName) + L"\n");
    return kNotADatabase;
  }

  env.wait(kWaitMs);
  for (;;) {
    if (running(env.host)) {
      env.wait(kPollMs);
      continue;
    }
    {
      // A plug-in that loads now either finds the backup gone or is seen here.
      kvs::HeldMutex swapping(kvs::kPlcSwapMutex, INFINITE);
      if (!sessionOpen()) return restore(working, env);
    }
    // Another session works with the add-on's database. Once it unloads, its AutoCAD gets
    // the same time to finish as this one's did; its own update.exe may restore first.
    while (sessionOpen()) env.wait(kPollMs);
    env.wait(kWaitMs);
  }
}

}  // namespace update
