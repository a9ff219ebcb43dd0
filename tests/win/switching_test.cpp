// Project switching against a real install tree, registry and files: what change_env builds
// from disk, and what do_change leaves on disk and prints.
#include <comdef.h>

#include <vector>

#include "win32/system_message.h"
#include "switch_fixture.h"
#include "commands/acad_switch.h"
#include "switching/kept_versions.h"
#include "switching/version_names.h"
#include "win32/handles.h"

using namespace testing_support;
using switch_fixture::kInstall;

namespace {

std::wstring noInstallation(const std::wstring& folder) {
  return L"Cannot switch to GOST: the add-on's folder " + folder + L" cannot be listed (" +
         kvs::system_message(ERROR_PATH_NOT_FOUND) + L").\n";
}

class ChangeEnv : public switch_fixture::SwitchSession {
 protected:
  std::wstring gostSymbols(const std::wstring& docsLibs) const {
    return L"C:\\Program Files\\Korvanta\\Support\\;C:\\Program Files\\Korvanta\\Data\\UGO\\GOST_2.701\\;" + docsLibs +
           L"iec2\\;" + docsLibs + L"iec2\\1-;" + docsLibs + L"pneu_iso125\\;" + docsLibs + L"hyd_iso125\\;" +
           docsLibs + L"pid\\;";
  }
  std::wstring stockSymbols(const std::wstring& docsLibs) const {
    return docsLibs + L"IEC2\\;" + docsLibs + L"IEC2\\1-\\;" + docsLibs + L"pneu_iso125\\;" + docsLibs +
           L"hyd_iso125\\;" + docsLibs + L"pid\\;";
  }
};

// Shell Folders taken away for one test and put back with every value it held.
class ShellFoldersAway {
 public:
  ShellFoldersAway() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, switch_fixture::kShellFolders.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
      return;
    wchar_t name[512];
    BYTE data[4096];
    for (DWORD i = 0;; ++i) {
      DWORD nameLen = 512, size = sizeof data, type = 0;
      if (RegEnumValueW(key, i, name, &nameLen, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
      saved_.push_back({name, type, std::vector<BYTE>(data, data + size)});
    }
    RegCloseKey(key);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, switch_fixture::kShellFolders.c_str());
  }
  ~ShellFoldersAway() {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, switch_fixture::kShellFolders.c_str());
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, switch_fixture::kShellFolders.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                    &key, nullptr);
    for (const auto& v : saved_)
      RegSetValueExW(key, v.name.c_str(), 0, v.type, v.data.data(), static_cast<DWORD>(v.data.size()));
    RegCloseKey(key);
  }

 private:
  struct Value {
    std::wstring name;
    DWORD type;
    std::vector<BYTE> data;
  };
  std::vector<Value> saved_;
};

TEST_F(ChangeEnv, GostModeListsTheInstalledLibrariesAndMovesAutoCADsPathsFirst) {
  start();
  const std::wstring out = change_env(L"+[3]%SL_DIR%panel/\r\n+[2]ACE_IEC_MENU.DAT\r\n+[1]%SL_DIR%iec2/\r\n+[7]x\r\n", 1);
  EXPECT_EQ(out, L"+[1]" + gostSymbols(libs()) +
                     L"\r\n+[2]C:\\Program Files\\Korvanta\\Data\\ACE_GOST_MENU.dat\r\n"
                     L"+[3]C:\\Program Files\\Korvanta\\Data\\Montajnie_sxemi\\Shkaf\\;" + libs() + L"panel\\;\r\n"
                     L"+[7]x\r\n+[20]kvdata.env\r\n");
  EXPECT_EQ(acadhost::transcript(), L"Support path changed.\n");
  EXPECT_EQ(setting(L"TemplatePath"), L"c:\\Program Files\\Korvanta\\Data\\Template");
}

TEST_F(ChangeEnv, StockModeWorkedExampleAndRecord20) {
  start();
  EXPECT_EQ(change_env(L"+[5]1\r\n+[2]ACE_GOST_MENU.dat\r\n+[20]kvdata.env\r\n?[x]rest", 2),
            L"+[2]ACE_IEC_MENU.DAT\r\n+[5]1\r\n+[20]wd.env\r\n?[x]rest");
  // Records 1 to 3 stay absent; record 20 is gained in either mode.
  EXPECT_EQ(change_env(L"+[8]IEC\r\n", 2), L"+[8]IEC\r\n+[20]wd.env\r\n");
  EXPECT_EQ(change_env(L"+[8]IEC\r\n+[20]other.env", 1), L"+[8]IEC\r\n+[20]kvdata.env");
  EXPECT_EQ(change_env(L"+[1]%SL_DIR%iec2/\r\n+[3]%SL_DIR%panel/\r\n", 2),
            L"+[1]" + stockSymbols(libs()) + L"\r\n+[3]" + libs() + L"panel\\;\r\n+[20]wd.env\r\n");
  EXPECT_EQ(setting(L"TemplatePath"), L"C:\\Logs\\Template");
}

TEST_F(ChangeEnv, EmptyPanelFolderLeavesOnlyTheStockPanelEntry) {
  removeTree(kInstall + L"Data\\Montajnie_sxemi\\Shkaf");
  start();
  EXPECT_EQ(change_env(L"+[3]%SL_DIR%panel/", 1), L"+[3]" + libs() + L"panel\\;\r\n+[20]kvdata.env");
}

TEST_F(ChangeEnv, OnlyPlainFoldersAreListed) {
  const std::wstring ugo = kInstall + L"Data\\UGO\\";
  for (const wchar_t* name : {L"Hidden", L"System", L"ReadOnly", L"Plain"}) makeFolders(ugo + name);
  writeBytes(ugo + L"file.txt", "not a library");
  ASSERT_TRUE(SetFileAttributesW((ugo + L"Hidden").c_str(), FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(SetFileAttributesW((ugo + L"System").c_str(), FILE_ATTRIBUTE_SYSTEM));
  ASSERT_TRUE(SetFileAttributesW((ugo + L"ReadOnly").c_str(), FILE_ATTRIBUTE_READONLY));
  start();
  const std::wstring out = change_env(L"+[1]x", 1);
  EXPECT_NE(out.find(L"\\UGO\\Plain\\;"), std::wstring::npos) << out;
  EXPECT_NE(out.find(L"\\UGO\\GOST_2.701\\;"), std::wstring::npos) << out;
  EXPECT_EQ(out.find(L"Hidden"), std::wstring::npos) << out;
  EXPECT_EQ(out.find(L"System"), std::wstring::npos) << out;
  if (GetFileAttributesW((ugo + L"ReadOnly").c_str()) & FILE_ATTRIBUTE_READONLY)
    EXPECT_EQ(out.find(L"ReadOnly"), std::wstring::npos) << out;
  else  // Wine keeps no read-only attribute on folders, so there the folder is a plain one
    EXPECT_NE(out.find(L"\\UGO\\ReadOnly\\;"), std::wstring::npos) << out;
  EXPECT_EQ(out.find(L"file.txt"), std::wstring::npos) << out;
}

TEST_F(ChangeEnv, UnreadableShellFoldersGivesBareLibraryEntries) {
  start();
  ShellFoldersAway away;
  EXPECT_EQ(change_env(L"+[1]%SL_DIR%iec2/\r\n+[3]%SL_DIR%panel/", 2), L"+[1]" + stockSymbols(L"\\Autodesk\\Acade 2015\\Libs\\") +
                                                   L"\r\n+[3]\\Autodesk\\Acade 2015\\Libs\\panel\\;\r\n+[20]wd.env");
}

TEST_F(ChangeEnv, FailuresAndWhatTheyLeaveBehind) {
  start();
  {
    // Stock mode: no documents folder, so AutoCAD's paths are left as they were.
    ShellFoldersAway away;
    regWriteString(HKEY_LOCAL_MACHINE, switch_fixture::kShellFolders, L"KvsOther", L"C:\\x");
    EXPECT_EQ(change_env(L"+[1]x", 2), L"Cannot read the public documents folder (Common Documents) from the registry.\n");
    EXPECT_EQ(setting(L"TemplatePath"), L"C:\\Old\\Template");
  }
  removeTree(kInstall + L"Data\\Montajnie_sxemi");
  EXPECT_EQ(change_env(L"+[1]x", 1), noInstallation(kInstall + L"Data\\Montajnie_sxemi\\"));
  removeTree(kInstall + L"Data\\UGO");
  acadhost::clearTranscript();
  EXPECT_EQ(change_env(L"+[1]x", 1), noInstallation(kInstall + L"Data\\UGO\\"));
  // GOST mode moves AutoCAD's paths before it looks for the library.
  EXPECT_EQ(acadhost::transcript(), L"Support path changed.\n");
  EXPECT_EQ(setting(L"ACAD"), L"c:\\program files\\korvanta\\support;C:\\Acad\\support;C:\\Acad\\fonts");
}

class ProjectDriver : public ChangeEnv {
 protected:
  void SetUp() override {
    ChangeEnv::SetUp();
    project_ = dir_.path() + L"Проект.wdp";
  }
  std::vector<std::wstring> folderContents() const {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((dir_.path() + L"*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
      if (wcscmp(data.cFileName, L".") && wcscmp(data.cFileName, L"..")) names.push_back(data.cFileName);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
  }
  // A project as ACADE writes it, on the stock library: description lines with "+", "?" and
  // "Error" in them first, then settings, properties and drawings. Stored without its last line break.
  std::wstring acadeProject() const {
    const std::wstring libs = this->libs();
    return L"*[1]АО \"Водоканал\", Error codes\r\n*[2]Щит ЩУ-2 (+24В)\r\n*[3]Реконструкция? см. ТЗ\r\n"
           L"+[1]" + stockSymbols(libs) + L"\r\n+[2]ACE_IEC_MENU.DAT\r\n+[3]" + libs + L"panel\\;\r\n"
           L"+[4]ACE_PANEL_MENU.DAT\r\n+[5]1\r\n+[20]wd.env\r\n?[0]H\r\n?[5]%S%N\r\n=====SUB=Схемы\r\n"
           L"Лист01.dwg\r\n===Шкаф ЩУ-2, вид спереди?";
  }
  TempDir dir_;
  std::wstring project_;
};

TEST_F(ProjectDriver, WritesCodePage1251ByteExact) {
  makeFolders(kInstall + L"Data\\UGO\\Реле");
  start();
  // Raw code page 1251: "Цех 3" in a record, "Щит" in the tail; on the stock library already.
  writeBytes(project_, "+[11]\xD6\xE5\xF5 3\r\n+[20]wd.env\r\n?[x]\r\n*[1]\xD9\xE8\xF2\r\n\r\n");
  ASSERT_TRUE(do_change(project_, 2));
  EXPECT_EQ(readBytes(project_), "+[11]\xD6\xE5\xF5 3\r\n+[20]wd.env\r\n?[x]\r\n*[1]\xD9\xE8\xF2\r\n\r\n");
  EXPECT_EQ(acadhost::transcript(), L"");

  writeBytes(project_, "+[1]x\r\n");
  ASSERT_TRUE(do_change(project_, 1));
  const std::string bytes = readBytes(project_);
  EXPECT_NE(bytes.find("\\UGO\\\xD0\xE5\xEB\xE5\\;"), std::string::npos) << bytes;
  // A folder name spelled with a combining breve is composed before conversion: "й" is 0xE9.
  makeFolders(kInstall + L"Data\\UGO\\\x0438\x0306");
  writeBytes(project_, "+[1]x\r\n");
  ASSERT_TRUE(do_change(project_, 1));
  EXPECT_NE(readBytes(project_).find("\\UGO\\\xE9\\;"), std::string::npos) << readBytes(project_);
  EXPECT_EQ(bytes.substr(bytes.size() - 19), "\r\n+[20]kvdata.env\r\n");
}

TEST_F(ProjectDriver, SwitchesAWholeMegabyteProject) {
  start();
  std::string records, expected;
  for (int n = 4; n < 50000; ++n) {
    std::string line = "+[" + std::to_string(n) + "]value " + std::to_string(n) + "\r\n";
    records += n == 20 ? "+[20]kvdata.env\r\n" : line;
    expected += n == 20 ? "+[20]wd.env\r\n" : line;
  }
  ASSERT_GT(records.size(), 1000000u);
  writeBytes(project_, records + "?[end]tail");
  ASSERT_TRUE(do_change(project_, 2));
  EXPECT_EQ(readBytes(project_), expected + "?[end]tail");
}

TEST_F(ProjectDriver, RoundTripKeepsEverythingButTheSwitchedRecords) {
  start();
  const std::string original = "+[1]%SL_DIR%a/\r\n+[2]ACE_IEC_MENU.DAT\r\n+[3]%SL_DIR%b/\r\n+[4]1\r\n+[11]Demo\r\n+[20]wd.env\r\n?[S]1\r\n=====\r\nA.dwg";
  writeBytes(project_, original);
  ASSERT_TRUE(do_change(project_, 1));
  const std::string gost = readBytes(project_);
  ASSERT_TRUE(do_change(project_, 2));
  EXPECT_EQ(readBytes(project_), original);
  ASSERT_TRUE(do_change(project_, 1));
  EXPECT_EQ(readBytes(project_), gost);
  EXPECT_NE(gost.find("+[4]1\r\n+[11]Demo\r\n+[20]kvdata.env\r\n?[S]1\r\n=====\r\nA.dwg"), std::string::npos) << gost;
}

TEST_F(ProjectDriver, AcadeProjectsSwitchInTheirOwnEncodingKeepingEveryOtherLine) {
  start();
  const std::wstring stock = acadeProject();
  const std::wstring head = stock.substr(0, stock.find(L"+[1]"));
  const std::wstring tail = stock.substr(stock.find(L"?[0]"));
  for (const char* encoding : {"ansi", "utf-8", "utf-16le", "utf-16be"}) {
    SCOPED_TRACE(encoding);
    writeBytes(project_, fileBytes(stock, encoding));
    ASSERT_EQ(switch_project_file(project_, 1), SwitchResult::Switched) << toUtf8(acadhost::transcript());
    const std::string gost = readBytes(project_);
    const std::string gostHead = fileBytes(head, encoding);
    EXPECT_EQ(gost.substr(0, gostHead.size()), gostHead) << "description lines first, unchanged";
    const auto body = [encoding](const std::wstring& text) {
      return fileBytes(text, encoding).substr(fileBytes(L"", encoding).size());
    };
    const std::string gostTail = body(tail);
    EXPECT_EQ(gost.substr(gost.size() - gostTail.size()), gostTail) << "properties and drawings last, unchanged";
    for (const wchar_t* line : {L"\r\n+[2]C:\\Program Files\\Korvanta\\Data\\ACE_GOST_MENU.dat\r\n+[3]",
                                L"\r\n+[4]ACE_PANEL_MENU.DAT\r\n+[5]1\r\n+[20]kvdata.env\r\n?[0]H"}) {
      EXPECT_NE(gost.find(body(line)), std::string::npos) << toUtf8(line);
    }
    ASSERT_TRUE(do_change(project_, 1));
    EXPECT_EQ(readBytes(project_), gost) << "switching twice changes nothing";
    ASSERT_TRUE(do_change(project_, 2));
    EXPECT_EQ(readBytes(project_), fileBytes(stock, encoding)) << "back to the bytes it had";
  }
}

TEST_F(ProjectDriver, UnicodeCharactersBeyondTheBasicPlaneSwitchInEitherByteOrder) {
  start();
  // The first pair lies across two groups of four units, the second within one.
  const std::wstring head = L"Щит\U0001F50C пульт \U0001F4A1\r\n";
  for (const char* encoding : {"utf-16le", "utf-16be"}) {
    SCOPED_TRACE(encoding);
    writeBytes(project_, fileBytes(head + L"+[20]wd.env\r\n", encoding));
    ASSERT_EQ(switch_project_file(project_, 1), SwitchResult::Switched) << toUtf8(acadhost::transcript());
    EXPECT_EQ(readBytes(project_), fileBytes(head + L"+[20]kvdata.env\r\n", encoding));
  }
}

TEST_F(ProjectDriver, FilesThatAreNotTextAreRefusedAndLeftAsTheyWere) {
  start();
  const struct {
    const char* name;
    std::string bytes;
    std::wstring why;
  } cases[] = {
      {"ANSI with a zero byte", std::string("+[1]a\r\n\0+[2]b", 13), L"it holds a zero byte, so it is not a text file."},
      {"UTF-16 of odd length", "\xFF\xFE+\0[\0" "1", L"it is not valid UTF-16 text."},
      {"UTF-16 with a lone surrogate", std::string("\xFF\xFE+\0\x00\xD8", 6), L"it is not valid UTF-16 text."},
      // Far enough in that the check reads it among four units at a time.
      {"UTF-16 BE with a lone surrogate after a record",
       std::string("\xFE\xFF\0+\0[\0" "1\0]\0a\0b\0c\0d\xDC\x00\0e\0f\0g\0h", 28), L"it is not valid UTF-16 text."},
      {"UTF-16 with a zero unit after a record", std::string("\xFF\xFE+\0[\0" "1\0]\0a\0b\0c\0d\0\0\0e\0f\0", 24),
       L"it holds a zero byte, so it is not a text file."},
      {"UTF-8 with a broken sequence", "\xEF\xBB\xBF+[1]\xC3(", L"it is not valid UTF-8 text."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    writeBytes(project_, c.bytes);
    acadhost::clearTranscript();
    EXPECT_EQ(switch_project_file(project_, 1), SwitchResult::FileUnusable);
    EXPECT_EQ(readBytes(project_), c.bytes);
    EXPECT_EQ(acadhost::transcript(),
              L"Cannot switch project file " + project_ + L": " + c.why + L" The file is left as it was.\n");
  }
}

TEST_F(ProjectDriver, RefusalsLeaveTheFileAsItWas) {
  start();
  // A missing project: false, the file and the cause named, and AutoCAD's paths untouched.
  const std::wstring missing = dir_.path() + L"missing.wdp";
  EXPECT_EQ(switch_project_file(missing, 1), SwitchResult::FileGone);
  EXPECT_EQ(acadhost::transcript(),
            L"Cannot open project file " + missing + L": " + kvs::system_message(ERROR_FILE_NOT_FOUND) + L"\n");
  EXPECT_EQ(setting(L"TemplatePath"), L"C:\\Old\\Template");

  // A folder named like a project is there but is no project: kept at start-up, said so.
  const std::wstring folder = dir_.path() + L"Папка.wdp";
  makeFolders(folder);
  acadhost::clearTranscript();
  EXPECT_EQ(switch_project_file(folder, 1), SwitchResult::FileUnusable);
  EXPECT_EQ(acadhost::transcript(), L"Cannot open project file " + folder + L": it is a folder, not a file.\n");

  // Read-only, or empty: refused as it is read, before AutoCAD's paths move.
  writeBytes(project_, "+[5]x\r\n");
  ASSERT_TRUE(SetFileAttributesW(project_.c_str(), FILE_ATTRIBUTE_READONLY));
  acadhost::clearTranscript();
  EXPECT_FALSE(do_change(project_, 1));
  EXPECT_EQ(acadhost::transcript(),
            L"Cannot switch project file " + project_ + L": it is read-only. The file is left as it was.\n");
  EXPECT_EQ(readBytes(project_), "+[5]x\r\n");
  EXPECT_EQ(setting(L"TemplatePath"), L"C:\\Old\\Template");
  ASSERT_TRUE(SetFileAttributesW(project_.c_str(), FILE_ATTRIBUTE_NORMAL));
  writeBytes(project_, std::string("\xFF\xFE\r\0\n\0", 6));
  acadhost::clearTranscript();
  EXPECT_EQ(switch_project_file(project_, 1), SwitchResult::FileUnusable);
  EXPECT_EQ(acadhost::transcript(), L"Cannot switch project file " + project_ +
                                        L": it is empty, so it is not an ACADE project file. The file is left as it was.\n");
  writeBytes(project_, "+[5]x\r\n");

  // Without AutoCAD's automation objects the switch stops before any file is touched; the
  // error is left to the command that asked for the switch.
  ASSERT_TRUE(SetFileAttributesW(project_.c_str(), FILE_ATTRIBUTE_NORMAL));
  acadhost::setAutomationMissing(true);
  EXPECT_THROW(do_change(project_, 1), _com_error);
  EXPECT_EQ(readBytes(project_), "+[5]x\r\n");
}

// Every file step of a switch, its keep and its remembering of what it replaced, failed in turn, in
// both directions: the file stays as it was and nothing is left beside it.
TEST_F(ProjectDriver, AFailureAtAnyFileStepKeepsTheOriginalAndLeavesNoTemporaryFile) {
  start();
  const struct {
    int tip;
    std::string original;
  } cases[] = {{2, "+[20]kvdata.env\r\n+[7]0\r\n"}, {1, "+[2]OFFICE.DAT\r\n+[7]0\r\n"}};
  auto& hook = kvs::file_seam::fault_hook;
  const std::wstring causeText = kvs::system_message(ERROR_DISK_FULL);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tip);
    writeBytes(project_, c.original);
    ASSERT_TRUE(SetFileAttributesW(project_.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    int step = 1;
    for (;; ++step) {
      // Each round meets the store as the first switch of a project does.
      removeTree(KeptVersionsGuard::folder());
      hook = kvs::file_seam::FaultHook();
      hook.fail_at = step;
      acadhost::clearTranscript();
      const bool switched = do_change(project_, c.tip);
      if (hook.calls < step) {
        ASSERT_TRUE(switched);  // every step has been failed once; this run had no fault
        break;
      }
      ASSERT_FALSE(switched) << "step " << step;
      EXPECT_EQ(readBytes(project_), c.original) << "step " << step;
      EXPECT_EQ(folderContents(), std::vector<std::wstring>{L"Проект.wdp"}) << "step " << step;
      // A switch to GOST moves AutoCAD's paths once the file is read, and says so first.
      std::wstring printed = acadhost::transcript();
      const std::wstring moved = L"Support path changed.\n";
      if (printed.rfind(moved, 0) == 0) printed.erase(0, moved.size());
      // Keeping the version for kvs_undo, and the project's own menu, come before the replace,
      // and their failures stop the switch too.
      bool kept = false;
      for (const std::wstring& start : {L"Cannot keep the present version of project file " + project_ + L" in ",
                                        L"Cannot remember the library settings of project file " + project_ + L" in "}) {
        if (printed.rfind(start, 0) != 0) continue;
        kept = true;
        EXPECT_EQ(printed.substr(printed.find(L": ", start.size())), L": " + causeText + L". The file is left as it was.\n")
            << "step " << step;
      }
      if (kept) continue;
      const std::wstring what = printed.substr(0, printed.find(L" project file"));
      EXPECT_TRUE(what == L"Cannot open" || what == L"Cannot read" || what == L"Cannot write") << "step " << step;
      EXPECT_EQ(printed, what + L" project file " + project_ + L": " + causeText + L"\n") << "step " << step;
    }
    EXPECT_GE(step, c.tip == 1 ? 14 : 10) << "reading, writing, flushing and replacing are all behind the seam";
    EXPECT_EQ(folderContents(), std::vector<std::wstring>{L"Проект.wdp"});
    EXPECT_EQ(GetFileAttributesW(project_.c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
  }
  hook = kvs::file_seam::FaultHook();
  // Seen afresh (as at AutoCAD's next start: here under another letter case), a project whose
  // folder of kept versions cannot be told, its path file locked, is not switched back: the
  // menu it remembers is unknown, not none.
  const std::wstring kept = kvs::kept_folder_name(project_, 0);
  const std::wstring pathFile = KeptVersionsGuard::folder() + kept.substr(0, 2) + L"\\" + kept + L"\\project.txt";
  std::wstring upper = project_;
  CharUpperW(&upper[0]);
  {
    const kvs::FileHandle locked(CreateFileW(pathFile.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(locked.valid());
    EXPECT_FALSE(do_change(upper, 2));
    EXPECT_EQ(readBytes(project_).find("OFFICE.DAT"), std::string::npos);
  }
  // The switch back gives the own menu, remembered by the switch to GOST, back.
  EXPECT_TRUE(do_change(project_, 2));
  // The switch back gives the project its bytes back, own menu and all.
  EXPECT_EQ(readBytes(project_), "+[2]OFFICE.DAT\r\n+[7]0\r\n");
  // What another program remembers meanwhile (kvs-switch, a second AutoCAD) is what a switch
  // back of this one gives.
  EXPECT_TRUE(do_change(project_, 1));
  EXPECT_EQ(runProcess(inQuotes(binDir() + L"kvs-switch.exe") + L" stock --release 2015 " + inQuotes(project_)).exitCode, 0u);
  writeBytes(project_, "+[2]OTHER.DAT\r\n+[7]0\r\n");
  EXPECT_EQ(runProcess(inQuotes(binDir() + L"kvs-switch.exe") + L" gost --release 2015 " + inQuotes(project_)).exitCode, 0u);
  EXPECT_TRUE(do_change(project_, 2));
  EXPECT_EQ(readBytes(project_), "+[2]OTHER.DAT\r\n+[7]0\r\n");
  // Set back to the stock menu by hand, the project's own is forgotten on the next way to GOST.
  writeBytes(project_, "+[2]ACE_IEC_MENU.DAT\r\n");
  EXPECT_TRUE(do_change(project_, 1));
  EXPECT_TRUE(do_change(project_, 2));
  EXPECT_EQ(readBytes(project_), "+[2]ACE_IEC_MENU.DAT\r\n");
}

// AutoCAD killed in the middle of a switch leaves its temporary file beside the project, and a
// keep's in the project's folder of kept versions; the next switch of that project removes the
// first, its next keep of a new version the second, but never a file another AutoCAD is still
// writing, nor another project's.
TEST_F(ProjectDriver, TheNextSwitchRemovesWhatASwitchCutShortLeftBehind) {
  start();
  writeBytes(project_, "+[7]0\r\n");
  ASSERT_TRUE(do_change(project_, 1));
  const std::wstring temp = kvs::file_seam::fault_hook.last_created;  // its name, now the project's
  ASSERT_EQ(temp.substr(0, dir_.path().size() + 4), dir_.path() + L"~kvs");
  const std::wstring store = kept_project_versions(project_).at(0).file;
  const std::wstring keptLeftover = store.substr(0, store.find_last_of(L'\\') + 1) + L"~kvs0123abcd-00c0ffee.tmp";
  const std::wstring writing = temp.substr(0, temp.size() - 12) + L"0000beef.tmp";
  const std::wstring otherProjects = dir_.path() + L"~kvs00000000-00000000.tmp";
  for (const std::wstring& leftover : {temp, keptLeftover, writing, otherProjects}) writeBytes(leftover, "cut short");
  const kvs::FileHandle stillWriting(CreateFileW(writing.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(stillWriting.valid());

  ASSERT_TRUE(do_change(project_, 2));
  EXPECT_FALSE(fileExists(temp));
  EXPECT_FALSE(fileExists(keptLeftover));
  EXPECT_TRUE(fileExists(writing));
  EXPECT_TRUE(fileExists(otherProjects));
}

}  // namespace
