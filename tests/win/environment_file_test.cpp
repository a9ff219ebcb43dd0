// kvdata.env made from wd.env in a documents folder.
#include <gtest/gtest.h>

#include <set>

#include "acadhost/host_api.h"
#include "frame/environment_file.h"
#include "win32/system_message.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

class AddonEnvironment : public ::testing::Test {
 protected:
  void SetUp() override {
    acadhost::setEcho(false);
    makeFolders(aeData());
    acadhost::clearTranscript();
  }
  void TearDown() override { acadhost::setEcho(true); }
  std::wstring aeData() const { return docs_.path() + L"AeData\\"; }
  std::wstring wdEnv() const { return aeData() + L"wd.env"; }
  std::wstring kvdataEnv() const { return aeData() + L"kvdata.env"; }
  std::set<std::wstring> filesInAeData() const {
    std::set<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((aeData() + L"*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
      std::wstring name = data.cFileName;
      if (name != L"." && name != L"..") names.insert(name);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
  }
  TempDir docs_;
};

TEST_F(AddonEnvironment, CatalogFolderReplacedEverythingElseByteForByte) {
  // Code page 1251 Cyrillic, CRLF, LF and a lone CR, near misses in other case or spelling.
  const std::string wd =
      "; \xCF\xE0\xEF\xEA\xE0 \xEA\xE0\xF2\xE0\xEB\xEE\xE3\xEE\xE2 \xB8\xA8\r\n"
      "WD_CATALOG,%WD_DIR%/catalogs/default_cat.mdb\r\n"
      "WD_FOOTPRINT,%WD_DIR%/catalogs/footprint_lookup.mdb;%WD_DIR%/catalogs/x\n"
      "WD_PLC,%WD_DIR%/Catalogs/ace_plc.mdb\r"
      "WD_OTHER,%WD_DIR%/catalogs\\y\r\n"
      "%WD_DIR%/catalogs/";
  const std::string expected =
      "; \xCF\xE0\xEF\xEA\xE0 \xEA\xE0\xF2\xE0\xEB\xEE\xE3\xEE\xE2 \xB8\xA8\r\n"
      "WD_CATALOG,C:/Program Files/Korvanta/Data/default_cat.mdb\r\n"
      "WD_FOOTPRINT,C:/Program Files/Korvanta/Data/footprint_lookup.mdb;C:/Program Files/Korvanta/Data/x\n"
      "WD_PLC,%WD_DIR%/Catalogs/ace_plc.mdb\r"
      "WD_OTHER,%WD_DIR%/catalogs\\y\r\n"
      "C:/Program Files/Korvanta/Data/";
  writeBytes(wdEnv(), wd);
  createAddonEnvironment(docs_.path());
  ASSERT_TRUE(fileExists(kvdataEnv()));
  EXPECT_EQ(readBytes(kvdataEnv()), expected);
  EXPECT_EQ(readBytes(wdEnv()), wd);
  EXPECT_EQ(acadhost::transcript(), L"");
  EXPECT_EQ(filesInAeData(), (std::set<std::wstring>{L"wd.env", L"kvdata.env"}));
}

TEST_F(AddonEnvironment, UnicodeWdEnvGivesKvdataEnvInTheSameEncoding) {
  const std::wstring wd = L"; Каталоги\r\nWD_CATALOG,%WD_DIR%/catalogs/default_cat.mdb\r\n";
  const std::wstring expected = L"; Каталоги\r\nWD_CATALOG,C:/Program Files/Korvanta/Data/default_cat.mdb\r\n";
  for (const char* encoding : {"utf-8", "utf-16le", "utf-16be"}) {
    SCOPED_TRACE(encoding);
    DeleteFileW(kvdataEnv().c_str());
    writeBytes(wdEnv(), fileBytes(wd, encoding));
    createAddonEnvironment(docs_.path());
    EXPECT_EQ(readBytes(kvdataEnv()), fileBytes(expected, encoding));
  }
  // Not text: nothing is made, and the message says why.
  DeleteFileW(kvdataEnv().c_str());
  writeBytes(wdEnv(), "\xFF\xFEW");
  createAddonEnvironment(docs_.path());
  EXPECT_FALSE(fileExists(kvdataEnv()));
  EXPECT_EQ(acadhost::transcript(), L"Cannot make kvdata.env from " + wdEnv() + L": it is not valid UTF-16 text.\n");
}

TEST_F(AddonEnvironment, LargeFilesComeOutWhole) {
  std::string wd, expected;
  for (int i = 0; i < 3000; ++i) {
    std::string n = std::to_string(i);
    wd += "WD_CAT" + n + ",%WD_DIR%/catalogs/c" + n + ".mdb ; \xEA\xE0\xF2\r\n";
    expected += "WD_CAT" + n + ",C:/Program Files/Korvanta/Data/c" + n + ".mdb ; \xEA\xE0\xF2\r\n";
  }
  ASSERT_GT(wd.size(), 100000u);
  writeBytes(wdEnv(), wd);
  createAddonEnvironment(docs_.path());
  std::string out = readBytes(kvdataEnv());
  EXPECT_EQ(out.size(), expected.size());
  EXPECT_TRUE(out == expected);
}

TEST_F(AddonEnvironment, EmptyWdEnvGivesAnEmptyFile) {
  writeBytes(wdEnv(), "");
  createAddonEnvironment(docs_.path());
  ASSERT_TRUE(fileExists(kvdataEnv()));
  EXPECT_EQ(readBytes(kvdataEnv()), "");
}

TEST_F(AddonEnvironment, ExistingFileIsNeverRewritten) {
  writeBytes(wdEnv(), "WD_CATALOG,%WD_DIR%/catalogs/new.mdb\r\n");
  writeBytes(kvdataEnv(), "user's own, %WD_DIR%/catalogs/\r\n");
  createAddonEnvironment(docs_.path());
  EXPECT_EQ(readBytes(kvdataEnv()), "user's own, %WD_DIR%/catalogs/\r\n");
  EXPECT_EQ(acadhost::transcript(), L"");
}

TEST_F(AddonEnvironment, MissingWdEnvCreatesNothingAndSaysNothing) {
  createAddonEnvironment(docs_.path());
  EXPECT_TRUE(filesInAeData().empty());
  EXPECT_EQ(acadhost::transcript(), L"");
}

TEST_F(AddonEnvironment, WdEnvThatCannotBeReadIsReportedAndNothingIsMade) {
  makeFolders(wdEnv());  // there, but no file to read
  createAddonEnvironment(docs_.path());
  EXPECT_EQ(acadhost::transcript(),
            L"Cannot read environment file " + wdEnv() + L": " + kvs::system_message(ERROR_ACCESS_DENIED) + L".\n");
  EXPECT_EQ(filesInAeData(), std::set<std::wstring>{L"wd.env"});
}

TEST_F(AddonEnvironment, TargetThatCannotBeWrittenIsReportedAndLeavesNoTemporaryFile) {
  writeBytes(wdEnv(), "WD_CATALOG,%WD_DIR%/catalogs/a.mdb\r\n");
  makeFolders(kvdataEnv());  // a folder of that name: not a file that opens, nor one that can be replaced
  createAddonEnvironment(docs_.path());
  EXPECT_EQ(acadhost::transcript().find(L"Cannot write environment file " + kvdataEnv() + L": "), 0u)
      << toUtf8(acadhost::transcript());
  EXPECT_EQ(filesInAeData(), (std::set<std::wstring>{L"wd.env", L"kvdata.env"}));
  EXPECT_EQ(GetFileAttributesW(kvdataEnv().c_str()) & FILE_ATTRIBUTE_DIRECTORY,
            static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
}

}  // namespace
