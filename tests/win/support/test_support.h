// Fixtures shared by the Windows tests: files, folders, registry keys and child processes.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

namespace testing_support {

// Folder of the running test program; the plug-in, the host and acade-sim lie beside it.
std::wstring binDir();

std::string readBytes(const std::wstring& path);
// The same, where a missing file is a failure of the case (said), not of the whole test.
std::string bytesOf(const std::wstring& path);
void writeBytes(const std::wstring& path, const std::string& bytes);
bool fileExists(const std::wstring& path);
// The file's last write set to 2001-01-01, long before any test runs.
void backdate(const std::wstring& path);
void makeFolders(const std::wstring& path);
// A full drive path in the "\\?\" form when it is too long for the plain one.
std::wstring anyLength(const std::wstring& path);
void removeTree(const std::wstring& path);

// Text in the ANSI code page (1251 here) and back, as ACADE's files hold it.
std::string toAnsi(const std::wstring& text);
std::wstring fromAnsi(const std::string& bytes);
std::string toUtf8(const std::wstring& text);

// What a user of this run's display language reads (KVS_LC_MESSAGES): the English or the Russian.
std::wstring said(const std::wstring& english, const std::wstring& russian);
std::wstring fromUtf8(const std::string& bytes);
// The bytes of a text file in `encoding`: "ansi" (no mark), or "utf-8", "utf-16le" and
// "utf-16be" after their byte-order mark.
std::string fileBytes(const std::wstring& text, const std::string& encoding);
// The text of UTF-16 LE bytes after their byte-order mark; empty without the mark.
std::wstring utf16Text(const std::string& bytes);

// A fresh folder under %TEMP%, removed with everything in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::wstring& path() const { return path_; }  // ends with a backslash
 private:
  std::wstring path_;
};

// Deletes an HKCU key tree now and again when the object goes.
class RegistryKeyGuard {
 public:
  explicit RegistryKeyGuard(std::wstring subKey, HKEY root = HKEY_CURRENT_USER);
  ~RegistryKeyGuard();
  RegistryKeyGuard(const RegistryKeyGuard&) = delete;
  RegistryKeyGuard& operator=(const RegistryKeyGuard&) = delete;
 private:
  std::wstring subKey_;
  HKEY root_;
};

// The add-on's store of kept project versions, %APPDATA%\Korvanta\Undo\, removed now and
// again when the object goes.
class KeptVersionsGuard {
 public:
  KeptVersionsGuard();
  ~KeptVersionsGuard();
  KeptVersionsGuard(const KeptVersionsGuard&) = delete;
  KeptVersionsGuard& operator=(const KeptVersionsGuard&) = delete;
  static std::wstring folder();  // ends with a backslash
};

bool regKeyExists(HKEY root, const std::wstring& subKey);
// The REG_SZ value, or nullptr-like false when missing.
bool regReadString(HKEY root, const std::wstring& subKey, const std::wstring& name, std::wstring& value);
void regWriteString(HKEY root, const std::wstring& subKey, const std::wstring& name, const std::wstring& value);

struct ProcessResult {
  DWORD exitCode = 0;
  std::string output;  // standard output and standard error, as bytes
};
// Runs a program (command line as Windows splits it), feeding `input` on standard input.
ProcessResult runProcess(const std::wstring& commandLine, const std::string& input = "");
// One argument of a command line, in double quotes.
std::wstring inQuotes(const std::wstring& argument);
// acade-sim's command, its options to follow.
std::wstring simCommand();
// The add-on's installer, run silently as an administrator's script runs it.
ProcessResult runSetup();

// A program kept running with its standard input open, for sessions that overlap in time.
class RunningProcess {
 public:
  explicit RunningProcess(const std::wstring& commandLine);
  ~RunningProcess();  // as finish()
  RunningProcess(const RunningProcess&) = delete;
  RunningProcess& operator=(const RunningProcess&) = delete;
  void send(const std::string& input);
  // True once the output holds `text`; false when the program ends or the time runs out first.
  bool waitForOutput(const std::string& text, DWORD timeoutMs);
  // Closes standard input and waits for the end.
  ProcessResult finish();
  HANDLE process() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace testing_support
