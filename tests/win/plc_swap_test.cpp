// The PLC database swap at load and unload, against real files, with update.exe installed.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "acadhost/host_api.h"
#include "frame/KVS_switchApp.h"
#include "menu_plc/plc_swap.h"
#include "support/korvanta_install.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

const std::string kOwn = "the user's own PLC database";
const std::wstring kProducts = L"Software\\Autodesk\\AutoCAD\\KvsPlcTest";
const wchar_t kDocsValue[] = L"RoamingUserMyDocsAcadeFolder";

class PlcSwap : public ::testing::Test {
 protected:
  void SetUp() override {
    acadhost::setEcho(false);
    ASSERT_TRUE(acadhost::startSession({}));
    acadhost::clearTranscript();
    version = L"2015";
    full_version_english = L"KvsPlcTest\\ACAD-E007:409";
    full_version_russian = L"KvsPlcTest\\ACAD-E007:419";
    regWriteString(HKEY_CURRENT_USER, kProducts + L"\\ACAD-E007:409", kDocsValue, docs_);
  }
  void TearDown() override {
    version.clear();
    full_version_english.clear();
    full_version_russian.clear();
    acadhost::endSession();
    acadhost::setEcho(true);
  }
  // The Plc folder, in a language folder or ("") directly under AeData.
  std::wstring plc(const std::wstring& language) const {
    return docs_ + L"AeData\\" + (language.empty() ? L"" : language + L"\\") + L"Plc\\";
  }
  void putUserDatabase(const std::wstring& language) {
    makeFolders(plc(language));
    writeBytes(plc(language) + L"ace_plc.mdb", kOwn);
  }
  // Every file under AeData, with its bytes.
  std::map<std::wstring, std::string> tree() const { return listTree(docs_ + L"AeData\\"); }
  static std::map<std::wstring, std::string> listTree(const std::wstring& folder) {
    std::map<std::wstring, std::string> out;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return out;
    do {
      std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        for (auto& [path, bytes] : listTree(folder + name + L"\\")) out[name + L"\\" + path] = bytes;
        out[name + L"\\"] = "";
      } else {
        out[name] = readBytes(folder + name);
      }
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return out;
  }

  TempDir temp_;
  const std::wstring docs_ = temp_.path() + L"My Documents\\Acade 2015\\";
  RegistryKeyGuard products_{kProducts};
  KorvantaInstall installed_;  // last: its end waits for update.exe before the folders go
};

TEST_F(PlcSwap, LoadMovesTheUsersDatabaseAsideAndCopiesTheAddOnsInItsLanguageFolder) {
  for (const wchar_t* language : {L"ru-RU", L"en-EN", L"en-US"}) {
    removeTree(docs_);
    putUserDatabase(language);
    initPCL();
    std::map<std::wstring, std::string> expected = {
        {std::wstring(language) + L"\\", ""},
        {std::wstring(language) + L"\\Plc\\", ""},
        {std::wstring(language) + L"\\Plc\\ace_plc.mdb", installed_.databaseBytes()},
        {std::wstring(language) + L"\\Plc\\ace_plc_old.mdb", kOwn},
    };
    EXPECT_EQ(tree(), expected) << toUtf8(language);
    EXPECT_EQ(acadhost::transcript(), L"");
  }
}

TEST_F(PlcSwap, ALoadWithTheBackupPresentChangesNothing) {
  putUserDatabase(L"en-US");
  initPCL();
  writeBytes(plc(L"en-US") + L"ace_plc.mdb", "edited while swapped");
  auto before = tree();
  initPCL();
  EXPECT_EQ(tree(), before);

  EXPECT_EQ(acadhost::transcript(), L"");

  // Swapped without a working file (the copy failed): the folder still holds the user's
  // database as the backup, so a load changes nothing and an unload starts the restore.
  DeleteFileW((plc(L"en-US") + L"ace_plc.mdb").c_str());
  before = tree();
  initPCL();
  EXPECT_EQ(tree(), before);
  deinitPCL();
  EXPECT_EQ(acadhost::transcript(), L"");
  EXPECT_FALSE(runningUpdates().empty());
}

TEST_F(PlcSwap, AnUnloadThatCannotStartTheRestoreSaysWhereTheUsersDatabaseIs) {
  putUserDatabase(L"en-US");
  initPCL();
  const std::wstring program = L"C:\\Program Files\\Korvanta\\support\\update.exe";
  const std::wstring aside = program + L".away";
  ASSERT_TRUE(MoveFileW(program.c_str(), aside.c_str()));
  acadhost::clearTranscript();
  deinitPCL();
  MoveFileW(aside.c_str(), program.c_str());
  const std::wstring said = acadhost::transcript();
  EXPECT_EQ(said.rfind(L"PLC database not restored: cannot start " + program + L": ", 0), 0u) << toUtf8(said);
  EXPECT_NE(said.find(L". Your own database is kept as " + plc(L"en-US") + L"ace_plc_old.mdb.\n"), std::wstring::npos)
      << toUtf8(said);
  EXPECT_EQ(readBytes(plc(L"en-US") + L"ace_plc_old.mdb"), kOwn);
}

TEST_F(PlcSwap, WithoutALanguageFolderOneMessageAtLoadAndOneAtUnloadAndNothingElse) {
  putUserDatabase(L"");  // where releases before 2014 keep it
  makeFolders(docs_ + L"AeData\\ru-RU");
  auto before = tree();
  initPCL();
  const std::wstring notFound = L"PLC database folder not found: ACADE's documents folder holds no AeData\\Plc folder, or cannot be read.\n";
  EXPECT_EQ(acadhost::transcript(), notFound);
  deinitPCL();
  EXPECT_EQ(acadhost::transcript(), notFound + notFound);
  EXPECT_TRUE(runningUpdates().empty());
  EXPECT_EQ(tree(), before);

  // A failed documents-folder lookup ends the same way for these releases.
  RegDeleteTreeW(HKEY_CURRENT_USER, kProducts.c_str());
  acadhost::clearTranscript();
  initPCL();
  deinitPCL();
  EXPECT_EQ(acadhost::transcript(), notFound + notFound);
  EXPECT_TRUE(runningUpdates().empty());
}

TEST_F(PlcSwap, OtherReleasesUseAeDataPlcWithoutLookingFirst) {
  version = L"2013";
  putUserDatabase(L"");
  putUserDatabase(L"en-US");
  initPCL();
  EXPECT_EQ(readBytes(plc(L"") + L"ace_plc.mdb"), installed_.databaseBytes());
  EXPECT_EQ(readBytes(plc(L"") + L"ace_plc_old.mdb"), kOwn);
  EXPECT_EQ(readBytes(plc(L"en-US") + L"ace_plc.mdb"), kOwn);
  EXPECT_FALSE(fileExists(plc(L"en-US") + L"ace_plc_old.mdb"));

  // Nothing in AeData\Plc: the rename is tried, fails, and nothing is copied.
  removeTree(plc(L""));
  makeFolders(plc(L""));
  acadhost::clearTranscript();
  initPCL();
  EXPECT_TRUE(listTree(plc(L"")).empty());
  EXPECT_NE(acadhost::transcript().find(L"PLC database not swapped: cannot rename " + plc(L"") + L"ace_plc.mdb to " +
                                        plc(L"") + L"ace_plc_old.mdb: "),
            std::wstring::npos)
      << toUtf8(acadhost::transcript());
}

TEST_F(PlcSwap, AFailedRenameCopiesNothingAndSaysWhy) {
  putUserDatabase(L"en-US");
  const std::wstring working = plc(L"en-US") + L"ace_plc.mdb";
  HANDLE held = CreateFileW(working.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  initPCL();
  CloseHandle(held);
  const std::wstring said = acadhost::transcript();
  EXPECT_EQ(said.rfind(L"PLC database not swapped: cannot rename " + working + L" to " + plc(L"en-US") +
                           L"ace_plc_old.mdb: ",
                       0),
            0u)
      << toUtf8(said);
  EXPECT_EQ(said.back(), L'\n');
  EXPECT_EQ(readBytes(working), kOwn);
  EXPECT_FALSE(fileExists(plc(L"en-US") + L"ace_plc_old.mdb"));
}

TEST_F(PlcSwap, WithoutAUsableAddOnDatabaseTheUsersStaysInPlace) {
  const std::wstring working = plc(L"en-US") + L"ace_plc.mdb";
  struct Row {
    const char* name;
    std::function<void()> breakIt;
    std::wstring said;  // the beginning of what the load prints, and its end
    std::wstring ending;
  };
  HANDLE held = INVALID_HANDLE_VALUE;  // the add-on's database, open to nobody else
  for (const Row& row :
       {Row{"missing", [] { DeleteFileW(kInstalledDatabase); },
            L"PLC database not swapped: the add-on's database C:\\Program Files\\Korvanta\\Data\\ace_plc.mdb is "
            L"missing.\n",
            L""},
        Row{"not copyable",
            [&] { held = CreateFileW(kInstalledDatabase, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr); },
            L"PLC database not swapped: cannot copy C:\\Program Files\\Korvanta\\Data\\ace_plc.mdb to " + working + L": ",
            L". Your own database is back in place.\n"}}) {
    removeTree(docs_);
    putUserDatabase(L"en-US");
    acadhost::clearTranscript();
    row.breakIt();
    initPCL();
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    held = INVALID_HANDLE_VALUE;
    writeBytes(kInstalledDatabase, installed_.databaseBytes());
    const std::wstring said = acadhost::transcript();
    EXPECT_EQ(said.rfind(row.said, 0), 0u) << row.name << ": " << toUtf8(said);
    EXPECT_EQ(said.size() - said.rfind(row.ending), row.ending.size()) << row.name << ": " << toUtf8(said);
    EXPECT_EQ(tree(), (std::map<std::wstring, std::string>{{L"en-US\\", ""}, {L"en-US\\Plc\\", ""},
                                                             {L"en-US\\Plc\\ace_plc.mdb", kOwn}}))
        << row.name;
  }
}

TEST_F(PlcSwap, AReadOnlyAddOnDatabaseGivesAWritableWorkingCopy) {
  putUserDatabase(L"en-US");
  ASSERT_TRUE(SetFileAttributesW(kInstalledDatabase, FILE_ATTRIBUTE_READONLY));
  initPCL();
  EXPECT_EQ(acadhost::transcript(), L"");
  EXPECT_EQ(readBytes(plc(L"en-US") + L"ace_plc_old.mdb"), kOwn);
  EXPECT_EQ(GetFileAttributesW((plc(L"en-US") + L"ace_plc.mdb").c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
}

}  // namespace
