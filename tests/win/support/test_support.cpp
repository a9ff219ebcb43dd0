#include "support/test_support.h"

#include <gtest/gtest.h>

#include "win32/registry.h"
#include "win32/ui_language.h"

#include <shlobj.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

namespace testing_support {

namespace {

struct Handle {
  HANDLE h = INVALID_HANDLE_VALUE;
  ~Handle() {
    if (h && h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
};

}  // namespace

std::wstring binDir() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p = path;
  return p.substr(0, p.find_last_of(L'\\') + 1);
}

std::string readBytes(const std::wstring& path) {
  Handle f;
  f.h = CreateFileW(anyLength(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, 0, nullptr);
  if (f.h == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot open a file for reading");
  std::string bytes;
  char chunk[65536];
  DWORD got = 0;
  while (ReadFile(f.h, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
  return bytes;
}

void writeBytes(const std::wstring& path, const std::string& bytes) {
  Handle f;
  f.h = CreateFileW(anyLength(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f.h == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create a file");
  DWORD put = 0;
  if (!bytes.empty() && !WriteFile(f.h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr))
    throw std::runtime_error("cannot write a file");
}

void backdate(const std::wstring& path) {
  SYSTEMTIME st = {2001, 1, 1, 1, 0, 0, 0, 0};
  FILETIME past;
  SystemTimeToFileTime(&st, &past);
  HANDLE f = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  SetFileTime(f, nullptr, nullptr, &past);
  CloseHandle(f);
}

bool fileExists(const std::wstring& path) {
  return GetFileAttributesW(anyLength(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void makeFolders(const std::wstring& path) {
  if (path.size() < MAX_PATH - 12) {
    SHCreateDirectoryExW(nullptr, path.c_str(), nullptr);
    return;
  }
  // Beyond the shell's limit: one folder at a time, from the first one that is missing.
  for (std::size_t at = path.find(L'\\', 3); at != std::wstring::npos; at = path.find(L'\\', at + 1))
    CreateDirectoryW(anyLength(path.substr(0, at)).c_str(), nullptr);
  CreateDirectoryW(anyLength(path).c_str(), nullptr);
}

std::wstring anyLength(const std::wstring& path) {
  if (path.size() < MAX_PATH - 12 || path.rfind(L"\\\\", 0) == 0) return path;
  return L"\\\\?\\" + path;
}

void removeTree(const std::wstring& path) {
  std::wstring base = anyLength(path);
  if (!base.empty() && base.back() == L'\\') base.pop_back();
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((base + L"\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring child = base + L"\\" + name;
      SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        removeTree(child);
      else
        DeleteFileW(child.c_str());
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  SetFileAttributesW(base.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryW(base.c_str());
}

static std::string narrow(UINT cp, const std::wstring& text) {
  if (text.empty()) return {};
  int n = WideCharToMultiByte(cp, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(cp, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
  return out;
}

static std::wstring widen(UINT cp, const std::string& bytes) {
  if (bytes.empty()) return {};
  int n = MultiByteToWideChar(cp, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(cp, 0, bytes.data(), static_cast<int>(bytes.size()), &out[0], n);
  return out;
}

std::string toAnsi(const std::wstring& text) { return narrow(CP_ACP, text); }
std::wstring fromAnsi(const std::string& bytes) { return widen(CP_ACP, bytes); }
std::string toUtf8(const std::wstring& text) { return narrow(CP_UTF8, text); }
std::wstring fromUtf8(const std::string& bytes) { return widen(CP_UTF8, bytes); }

std::wstring utf16Text(const std::string& bytes) {
  if (bytes.compare(0, 2, "\xFF\xFE") != 0) return L"";
  std::wstring text;
  for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
    text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8);
  return text;
}

std::string fileBytes(const std::wstring& text, const std::string& encoding) {
  if (encoding == "ansi") return toAnsi(text);
  if (encoding == "utf-8") return "\xEF\xBB\xBF" + toUtf8(text);
  const bool big = encoding == "utf-16be";
  std::string bytes = big ? "\xFE\xFF" : "\xFF\xFE";
  for (wchar_t c : text) {
    const char low = static_cast<char>(c & 0xFF), high = static_cast<char>((c >> 8) & 0xFF);
    bytes += big ? high : low;
    bytes += big ? low : high;
  }
  return bytes;
}

TempDir::TempDir() {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  static unsigned counter = 0;
  path_ = std::wstring(temp) + L"kvs_test_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
          std::to_wstring(++counter) + L"\\";
  removeTree(path_);
  makeFolders(path_);
}

TempDir::~TempDir() { removeTree(path_); }

RegistryKeyGuard::RegistryKeyGuard(std::wstring subKey, HKEY root) : subKey_(std::move(subKey)), root_(root) {
  RegDeleteTreeW(root_, subKey_.c_str());
}

RegistryKeyGuard::~RegistryKeyGuard() { RegDeleteTreeW(root_, subKey_.c_str()); }

KeptVersionsGuard::KeptVersionsGuard() { removeTree(folder()); }

KeptVersionsGuard::~KeptVersionsGuard() { removeTree(folder()); }

std::wstring KeptVersionsGuard::folder() {
  wchar_t appData[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData);
  return std::wstring(appData) + L"\\Korvanta\\Undo\\";
}

bool regKeyExists(HKEY root, const std::wstring& subKey) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, subKey.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

bool regReadString(HKEY root, const std::wstring& subKey, const std::wstring& name, std::wstring& value) {
  DWORD size = 0;
  if (RegGetValueW(root, subKey.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &size) != ERROR_SUCCESS)
    return false;
  std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
  if (RegGetValueW(root, subKey.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, buffer.data(), &size) != ERROR_SUCCESS)
    return false;
  value = buffer.data();
  return true;
}

std::string bytesOf(const std::wstring& path) {
  if (!fileExists(path)) {
    ADD_FAILURE() << "missing: " << toUtf8(path);
    return "";
  }
  return readBytes(path);
}

void regWriteString(HKEY root, const std::wstring& subKey, const std::wstring& name, const std::wstring& value) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    throw std::runtime_error("cannot create a registry key");
  kvs::write_string_value(key, name.c_str(), value);
  RegCloseKey(key);
}

std::wstring inQuotes(const std::wstring& argument) { return L"\"" + argument + L"\""; }

std::wstring simCommand() { return inQuotes(binDir() + L"acade-sim.exe"); }

ProcessResult runSetup() { return runProcess(inQuotes(binDir() + L"KorvantaSetup.exe") + L" /S"); }

ProcessResult runProcess(const std::wstring& commandLine, const std::string& input) {
  RunningProcess process(commandLine);
  process.send(input);
  return process.finish();
}

struct RunningProcess::State {
  Handle process, input, output;
  std::thread reader;
  std::mutex mutex;
  std::condition_variable grown;
  std::string text;
  bool ended = false;
  bool finished = false;
  DWORD exitCode = 0;
};

RunningProcess::RunningProcess(const std::wstring& commandLine) : state_(new State) {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  Handle outWrite, inRead;
  if (!CreatePipe(&state_->output.h, &outWrite.h, &inherit, 0) || !CreatePipe(&inRead.h, &state_->input.h, &inherit, 0))
    throw std::runtime_error("cannot create pipes");
  SetHandleInformation(state_->output.h, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(state_->input.h, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOW si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = inRead.h;
  si.hStdOutput = outWrite.h;
  si.hStdError = outWrite.h;
  PROCESS_INFORMATION pi = {};
  std::wstring cmd = commandLine;
  if (!CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi))
    throw std::runtime_error("cannot start a process");
  CloseHandle(pi.hThread);
  state_->process.h = pi.hProcess;
  State* state = state_.get();
  state_->reader = std::thread([state] {
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(state->output.h, chunk, sizeof chunk, &got, nullptr) && got > 0) {
      std::lock_guard<std::mutex> lock(state->mutex);
      state->text.append(chunk, got);
      state->grown.notify_all();
    }
    std::lock_guard<std::mutex> lock(state->mutex);
    state->ended = true;
    state->grown.notify_all();
  });
}

RunningProcess::~RunningProcess() { finish(); }

void RunningProcess::send(const std::string& input) {
  DWORD put = 0;
  if (!input.empty()) WriteFile(state_->input.h, input.data(), static_cast<DWORD>(input.size()), &put, nullptr);
}

bool RunningProcess::waitForOutput(const std::string& text, DWORD timeoutMs) {
  std::unique_lock<std::mutex> lock(state_->mutex);
  return state_->grown.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
    return state_->text.find(text) != std::string::npos || state_->ended;
  }) && state_->text.find(text) != std::string::npos;
}

HANDLE RunningProcess::process() const { return state_->process.h; }

ProcessResult RunningProcess::finish() {
  if (!state_->finished) {
    state_->finished = true;
    CloseHandle(state_->input.h);
    state_->input.h = INVALID_HANDLE_VALUE;
    state_->reader.join();
    WaitForSingleObject(state_->process.h, INFINITE);
    GetExitCodeProcess(state_->process.h, &state_->exitCode);
  }
  return {state_->exitCode, state_->text};
}

std::wstring said(const std::wstring& english, const std::wstring& russian) {
  return kvs::user_language() == kvs::UiLanguage::Russian ? russian : english;
}

}  // namespace testing_support
