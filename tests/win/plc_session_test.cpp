// The user's PLC database across whole sessions with the add-on installed: the add-on's while
// any session runs, the user's own once the last has ended and update.exe has run, and what
// the next start says when that restore failed.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "support/korvanta_install.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

const std::string kOwn = "the user's own PLC database";

std::wstring session(const std::wstring& options = L"") {
  return simCommand() + L" --load " + inQuotes(binDir() + L"KVS_switch_2015.arx") + options;
}

// The value a session's product key holds, put back when the test ends.
class RegistryValueGuard {
 public:
  RegistryValueGuard(std::wstring subKey, std::wstring name) : subKey_(std::move(subKey)), name_(std::move(name)) {
    had_ = regReadString(HKEY_CURRENT_USER, subKey_, name_, value_);
  }
  ~RegistryValueGuard() {
    if (had_)
      regWriteString(HKEY_CURRENT_USER, subKey_, name_, value_);
    else
      RegDeleteKeyValueW(HKEY_CURRENT_USER, subKey_.c_str(), name_.c_str());
  }

 private:
  std::wstring subKey_, name_, value_;
  bool had_;
};

class PlcSession : public ::testing::Test {
 protected:
  void SetUp() override {
    runProcess(simCommand());  // AutoCAD's first start makes the user's profile
    useProfile(L"R20.0\\ACAD-E007");
    putUserDatabase(L"en-US\\Plc\\");
  }
  // The release's folders, in its English build and in its Russian one if that exists, moved
  // to this case's own folders: documents with blanks in their path.
  void useProfile(const std::wstring& release) {
    const std::wstring key = L"Software\\Autodesk\\AutoCAD\\" + release;
    pointAtOwnFolders(key + L":409");
    if (regKeyExists(HKEY_CURRENT_USER, key + L":419")) pointAtOwnFolders(key + L":419");
  }
  void pointAtOwnFolders(const std::wstring& key) {
    const std::wstring values[][2] = {{L"RoamingUserMyDocsAcadeFolder", docs_},
                                      {L"RoamableRootFolder", temp_.path() + L"Roaming\\"}};
    for (const auto& value : values) {
      guards_.push_back(std::make_unique<RegistryValueGuard>(key, value[0]));
      regWriteString(HKEY_CURRENT_USER, key, value[0], value[1]);
    }
  }
  void putUserDatabase(const std::wstring& plc) {
    plc_ = docs_ + L"AeData\\" + plc;
    makeFolders(plc_);
    writeBytes(plc_ + L"ace_plc.mdb", kOwn);
  }
  std::string working() const { return readBytes(plc_ + L"ace_plc.mdb"); }
  bool backedUp() const { return fileExists(plc_ + L"ace_plc_old.mdb"); }

  TempDir temp_;
  const std::wstring docs_ = temp_.path() + L"My Documents\\Acade 2015\\";
  std::wstring plc_;
  std::vector<std::unique_ptr<RegistryValueGuard>> guards_;
  RegistryKeyGuard addonKey_{L"SOFTWARE\\Korvanta"};
  KorvantaInstall installed_;  // last: its end waits for update.exe before the folders go
};

TEST_F(PlcSession, TheUsersDatabaseIsBackOnceTheSessionHasEnded) {
  struct Row {
    const wchar_t* options;
    const wchar_t* release;  // the product key to point at this case's folders, beyond 2015's
    const wchar_t* plc;
  };
  // 2013 (by its _VERNUM) keeps it in AeData\Plc and looks for no language folder.
  for (const Row& row : {Row{L"", nullptr, L"en-US\\Plc\\"},
                         Row{L" --vernum \"G.114.0.0 (UNICODE)\"", L"R19.0\\ACAD-B007", L"Plc\\"}}) {
    if (row.release) useProfile(row.release);
    putUserDatabase(row.plc);
    ProcessResult r = runProcess(session(row.options));
    ASSERT_EQ(r.exitCode, 0u) << r.output;
    EXPECT_EQ(r.output.find(toUtf8(said(L"PLC database folder not found", L"Папка базы ПЛК не найдена"))), std::string::npos)
        << r.output;
    // Right after the session update.exe is still waiting.
    EXPECT_EQ(working(), installed_.databaseBytes()) << toUtf8(row.plc);
    EXPECT_TRUE(backedUp());
    ASSERT_TRUE(waitForUpdates(30000));
    EXPECT_EQ(working(), kOwn) << toUtf8(row.plc);
    EXPECT_FALSE(backedUp());
  }
}

TEST_F(PlcSession, AnEnglishBuildSwapsItsOwnDatabaseBesideALeftoverRussianOne) {
  runProcess(simCommand() + L" --release 2016");  // the English 2016 build's first start
  useProfile(L"R20.1\\ACAD-F007");
  putUserDatabase(L"ru-RU\\Plc\\");
  const std::wstring russian = plc_;
  putUserDatabase(L"en-US\\Plc\\");
  ProcessResult r = runProcess(session(L" --release 2016"), "kvs_status\n");
  ASSERT_EQ(r.exitCode, 0u) << r.output;
  EXPECT_NE(r.output.find(toUtf8(said(L"PLC database: the add-on's; the user's own is kept as ",
                                      L"База ПЛК: надстройки; собственная база пользователя сохранена как ") +
                                 plc_ + L"ace_plc_old.mdb\n")),
            std::string::npos)
      << r.output;
  EXPECT_EQ(working(), installed_.databaseBytes());
  EXPECT_EQ(readBytes(russian + L"ace_plc.mdb"), kOwn);
  EXPECT_FALSE(fileExists(russian + L"ace_plc_old.mdb"));
  ASSERT_TRUE(waitForUpdates(30000));
  EXPECT_EQ(working(), kOwn);
  EXPECT_FALSE(backedUp());
}

TEST_F(PlcSession, OverlappingSessionsKeepTheAddOnsDatabaseUntilTheLastHasEnded) {
  RunningProcess first(session()), second(session());
  for (RunningProcess* s : {&first, &second}) {
    s->send("SHELL echo loaded\n");
    ASSERT_TRUE(s->waitForOutput("Command: SHELL echo loaded", 60000));
    EXPECT_EQ(working(), installed_.databaseBytes());
  }
  ProcessResult ended = first.finish();
  EXPECT_EQ(ended.exitCode, 0u) << ended.output;
  // Longer than the first update.exe's least wait, after which it once restored.
  Sleep(12000);
  EXPECT_EQ(working(), installed_.databaseBytes());
  EXPECT_TRUE(backedUp());

  second.finish();
  // Both runs of update.exe end; the later finds nothing left to do and reports nothing.
  ASSERT_TRUE(waitForUpdates(60000));
  EXPECT_EQ(working(), kOwn);
  EXPECT_FALSE(backedUp());
  EXPECT_FALSE(fileExists(plc_ + L"ace_plc_restore.log"));
}

TEST_F(PlcSession, ARestoreThatFailedIsReportedOnceAtTheNextStart) {
  ASSERT_EQ(runProcess(session()).exitCode, 0u);
  const std::wstring working = plc_ + L"ace_plc.mdb", backup = plc_ + L"ace_plc_old.mdb";
  // Held open by another program while update.exe runs: neither deleted nor replaced.
  HANDLE held = CreateFileW(working.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const bool updatesEnded = waitForUpdates(30000);
  CloseHandle(held);
  ASSERT_TRUE(updatesEnded);

  ProcessResult next = runProcess(session());
  const std::string failed =
      toUtf8(said(L"PLC database not restored after the last session: cannot rename \"" + backup + L"\" to \"" + working + L"\": ",
                  L"База ПЛК не восстановлена после прошлого сеанса: не удаётся переименовать \"" + backup + L"\" в \"" +
                      working + L"\": "));
  const std::size_t at = next.output.find(failed);
  ASSERT_NE(at, std::string::npos) << next.output;
  EXPECT_NE(next.output.find(toUtf8(said(L". Your own database is kept as ", L". Ваша собственная база сохранена как ") +
                                    backup + L".\n"),
                             at),
            std::string::npos)
      << next.output;
  EXPECT_EQ(next.output.find(failed, at + 1), std::string::npos) << next.output;
  EXPECT_FALSE(fileExists(plc_ + L"ace_plc_restore.log"));

  // That session's own update.exe puts the database back.
  ASSERT_TRUE(waitForUpdates(30000));
  EXPECT_EQ(readBytes(working), kOwn);
}

}  // namespace
