// The restore program: its pass in-process with a recorded wait, and update.exe itself for
// what only the real process shows (argument splitting, another process holding the file).
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <vector>

#include "menu_plc/plc_handoff.h"
#include "restore.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

const std::string kOwn = "the user's own PLC database";
const std::string kAddon = "the add-on's PLC database, edited while loaded";

class EnvironmentVariable {
 public:
  EnvironmentVariable(const wchar_t* name, const wchar_t* value) : name_(name) { SetEnvironmentVariableW(name, value); }
  ~EnvironmentVariable() { SetEnvironmentVariableW(name_, nullptr); }

 private:
  const wchar_t* name_;
};

class Restore : public ::testing::Test {
 protected:
  int run(const std::vector<std::wstring>& args) {
    std::vector<const wchar_t*> argv{L"update.exe"};
    for (const auto& a : args) argv.push_back(a.c_str());
    argv.push_back(nullptr);
    update::Environment env;
    env.wait = [this](DWORD ms) {
      waits_.push_back(ms);
      if (onWait_) onWait_();
    };
    env.print = [this](const std::wstring& text) { printed_ += text; };
    env.complain = [this](const std::wstring& text) { complaints_ += text; };
    env.host = host_;
    return update::run(static_cast<int>(argv.size() - 1), argv.data(), env);
  }
  std::vector<std::wstring> files() {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((dir_.path() + L"*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
      if (data.cFileName[0] != L'.') names.push_back(data.cFileName);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
  }

  TempDir dir_;
  const std::wstring working_ = dir_.path() + L"ace_plc.mdb";
  const std::wstring backup_ = dir_.path() + L"ace_plc_old.mdb";
  std::vector<DWORD> waits_;
  std::function<void()> onWait_;
  std::wstring printed_, complaints_;
  HANDLE host_ = nullptr;
};

TEST_F(Restore, BackupTakesTheWorkingNameAfterTheWait) {
  writeBytes(working_, kAddon);
  writeBytes(backup_, kOwn);
  onWait_ = [&] {
    EXPECT_EQ(readBytes(working_), kAddon);
    EXPECT_EQ(readBytes(backup_), kOwn);
  };
  EXPECT_EQ(run({working_}), 0);
  EXPECT_EQ(waits_, std::vector<DWORD>{10000});
  EXPECT_EQ(files(), std::vector<std::wstring>{L"ace_plc.mdb"});
  EXPECT_EQ(readBytes(working_), kOwn);
  EXPECT_EQ(printed_ + complaints_, L"");

  // Without a working database the rename alone restores it.
  onWait_ = nullptr;
  ASSERT_TRUE(MoveFileW(working_.c_str(), backup_.c_str()));
  EXPECT_EQ(run({working_, L"ignored.mdb"}), 0);
  EXPECT_EQ(files(), std::vector<std::wstring>{L"ace_plc.mdb"});
  EXPECT_EQ(readBytes(working_), kOwn);
}

TEST_F(Restore, AReadOnlyWorkingCopyIsReplacedToo) {
  writeBytes(working_, kAddon);
  ASSERT_TRUE(SetFileAttributesW(working_.c_str(), FILE_ATTRIBUTE_READONLY));
  writeBytes(backup_, kOwn);
  EXPECT_EQ(run({working_}), 0) << toUtf8(complaints_);
  EXPECT_EQ(files(), std::vector<std::wstring>{L"ace_plc.mdb"});
  EXPECT_EQ(readBytes(working_), kOwn);
}

TEST_F(Restore, WaitsForItsAutoCadToEndAndForEverySessionWithTheAddOn) {
  struct Row {
    const char* name;
    bool hostRunning, sessionOpen;
    std::vector<DWORD> waits;  // a session that ends gives its AutoCAD the least wait too
  };
  for (const Row& row : {Row{"its AutoCAD", true, false, {10000, 1000}},
                         Row{"another session", false, true, {10000, 1000, 10000}}}) {
    writeBytes(working_, kAddon);
    writeBytes(backup_, kOwn);
    kvs::KernelHandle host(CreateEventW(nullptr, TRUE, !row.hostRunning, nullptr));  // signalled once it has ended
    kvs::KernelHandle session(row.sessionOpen ? CreateEventW(nullptr, TRUE, FALSE, kvs::kPlcSessionLock) : nullptr);
    host_ = host.get();
    waits_.clear();
    onWait_ = [&] {
      EXPECT_EQ(readBytes(working_), kAddon) << row.name;
      if (waits_.size() == 2) {
        SetEvent(host.get());
        session.reset();
      }
    };
    EXPECT_EQ(run({working_}), 0) << row.name;
    EXPECT_EQ(waits_, row.waits) << row.name;
    EXPECT_EQ(readBytes(working_), kOwn) << row.name;
  }
}

TEST_F(Restore, WithoutABackupNothingIsTouched) {
  writeBytes(working_, kAddon);
  EXPECT_EQ(run({working_}), 0);
  EXPECT_EQ(waits_, std::vector<DWORD>{10000});
  EXPECT_EQ(files(), std::vector<std::wstring>{L"ace_plc.mdb"});
  EXPECT_EQ(readBytes(working_), kAddon);

  // No argument: an empty path, whatever lies in the current folder.
  writeBytes(backup_, kOwn);
  wchar_t previous[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, previous);
  SetCurrentDirectoryW(dir_.path().c_str());
  int status = run({});
  SetCurrentDirectoryW(previous);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(waits_.size(), 2u);
  EXPECT_EQ(readBytes(working_), kAddon);
  EXPECT_EQ(readBytes(backup_), kOwn);
  EXPECT_EQ(printed_ + complaints_, L"");
}

TEST_F(Restore, AnArgumentWithoutMdbIsRefusedAndNothingIsDeleted) {
  writeBytes(working_, kAddon);
  writeBytes(backup_, kOwn);
  // The file system ignores case, the backup name does not: this names the working file
  // itself as its own backup.
  for (const std::wstring& arg : {dir_.path() + L"ACE_PLC.MDB", dir_.path() + L"ace_plc.db"}) {
    complaints_.clear();
    EXPECT_NE(run({arg}), 0) << toUtf8(arg);
    EXPECT_NE(complaints_.find(L"\"" + arg + L"\""), std::wstring::npos) << toUtf8(complaints_);
  }
  EXPECT_TRUE(waits_.empty());
  EXPECT_EQ(readBytes(working_), kAddon);
  EXPECT_EQ(readBytes(backup_), kOwn);
}

TEST_F(Restore, FrameworkFailureEndsAtOnceWithStatusOne) {
  writeBytes(backup_, kOwn);
  EnvironmentVariable fail(L"KVS_MFC_INIT_FAIL", L"1");
  EXPECT_EQ(run({working_}), 1);
  EXPECT_EQ(printed_, L"Fatal Error: MFC initialization failed\n");
  EXPECT_TRUE(waits_.empty());
  EXPECT_EQ(files(), std::vector<std::wstring>{L"ace_plc_old.mdb"});
}

class UpdateExe : public Restore {
 protected:
  // update.exe as AutoCAD starts it: a child of another process, which ends at once (here a
  // command interpreter), its output in a pipe of ours.
  ProcessResult exe(const std::wstring& arguments) {
    RunningProcess autocad(L"cmd.exe /q /k");
    HANDLE output = nullptr, input = nullptr, given = nullptr;
    if (!CreatePipe(&output, &input, nullptr, 0) ||
        !DuplicateHandle(GetCurrentProcess(), input, autocad.process(), &given, 0, TRUE,
                         DUPLICATE_SAME_ACCESS | DUPLICATE_CLOSE_SOURCE))
      throw std::runtime_error("cannot create a pipe");
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    std::vector<char> attributes(size);
    auto list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attributes.data());
    HANDLE parent = autocad.process();
    InitializeProcThreadAttributeList(list, 1, 0, &size);
    UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_PARENT_PROCESS, &parent, sizeof parent, nullptr, nullptr);
    STARTUPINFOEXW si = {};
    si.StartupInfo.cb = sizeof si;
    si.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    si.StartupInfo.hStdOutput = si.StartupInfo.hStdError = given;
    si.lpAttributeList = list;
    PROCESS_INFORMATION pi = {};
    std::wstring command = L"\"" + binDir() + L"update.exe\" " + arguments;
    const BOOL started = CreateProcessW(nullptr, &command[0], nullptr, nullptr, TRUE, EXTENDED_STARTUPINFO_PRESENT,
                                        nullptr, nullptr, &si.StartupInfo, &pi);
    DeleteProcThreadAttributeList(list);
    autocad.finish();
    ProcessResult r;
    char chunk[4096];
    DWORD got = 0;
    while (started && ReadFile(output, chunk, sizeof chunk, &got, nullptr) && got > 0) r.output.append(chunk, got);
    CloseHandle(output);
    if (!started) throw std::runtime_error("cannot start update.exe");
    WaitForSingleObject(pi.hProcess, INFINITE);
    GetExitCodeProcess(pi.hProcess, &r.exitCode);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return r;
  }
};

TEST_F(UpdateExe, QuotedPathWithBlanksIsOneArgument) {
  const std::wstring folder = dir_.path() + L"My Documents\\Acade 2015\\AeData\\en-US\\Plc\\";
  makeFolders(folder);
  writeBytes(folder + L"ace_plc.mdb", kAddon);
  writeBytes(folder + L"ace_plc_old.mdb", kOwn);
  ProcessResult r = exe(L"\"" + folder + L"ace_plc.mdb\" second.mdb");
  EXPECT_EQ(r.exitCode, 0u) << r.output;
  EXPECT_EQ(r.output, "");
  EXPECT_EQ(readBytes(folder + L"ace_plc.mdb"), kOwn);
  EXPECT_FALSE(fileExists(folder + L"ace_plc_old.mdb"));
}

TEST_F(UpdateExe, WorkingDatabaseHeldOpenKeepsTheBackupAndFails) {
  writeBytes(working_, kAddon);
  writeBytes(backup_, kOwn);
  HANDLE held = CreateFileW(working_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  ProcessResult r = exe(L"\"" + working_ + L"\"");
  CloseHandle(held);
  EXPECT_NE(r.exitCode, 0u) << r.output;
  EXPECT_NE(r.output.find(toAnsi(L"cannot rename \"" + backup_ + L"\" to \"" + working_ + L"\": ")), std::string::npos)
      << r.output;
  EXPECT_NE(r.output.find(toAnsi(L"deleting \"" + working_ + L"\" first failed: ")), std::string::npos) << r.output;
  EXPECT_EQ(readBytes(working_), kAddon);
  EXPECT_EQ(readBytes(backup_), kOwn);
}

TEST_F(UpdateExe, FrameworkFailureIsReportedOnStandardOutput) {
  writeBytes(backup_, kOwn);
  EnvironmentVariable fail(L"KVS_MFC_INIT_FAIL", L"1");
  ProcessResult r = exe(L"\"" + working_ + L"\"");
  EXPECT_EQ(r.exitCode, 1u);
  EXPECT_EQ(r.output, "Fatal Error: MFC initialization failed\r\n");
  EXPECT_EQ(files(), std::vector<std::wstring>{L"ace_plc_old.mdb"});
}

}  // namespace
