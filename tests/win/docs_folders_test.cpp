// The documents-folder lookups against the real (Wine's) registry.
#include <gtest/gtest.h>

#include "frame/KVS_switchApp.h"
#include "support/test_support.h"
#include "switching/docs_folders.h"

using namespace testing_support;

namespace {

const wchar_t kFailure[] = L"(the lookup failed)";

// The path a lookup gives, or kFailure when it says it failed, which leaves no path.
std::wstring allDocs(const std::wstring& name) {
  std::wstring path = L"stale";
  if (getAllDocsPath(name, path)) return path;
  return path.empty() ? kFailure : L"a failure with a path: " + path;
}
std::wstring myDocs(const std::wstring& name) {
  std::wstring path = L"stale";
  if (getMyDocsPath(name, path)) return path;
  return path.empty() ? kFailure : L"a failure with a path: " + path;
}
const std::wstring kProducts = L"Software\\Autodesk\\AutoCAD\\KvsTest";

class DocsFolders : public ::testing::Test {
 protected:
  void SetUp() override {
    full_version_english = L"KvsTest\\ACAD-E007:409";
    full_version_russian = L"KvsTest\\ACAD-E007:419";
  }
  void TearDown() override {
    full_version_english.clear();
    full_version_russian.clear();
  }
  const std::wstring english_ = kProducts + L"\\ACAD-E007:409";
  const std::wstring russian_ = kProducts + L"\\ACAD-E007:419";
  RegistryKeyGuard guard_{kProducts};
};

TEST_F(DocsFolders, CommonDocumentsComesAsStoredWithoutASeparator) {
  std::wstring stored;
  ASSERT_TRUE(regReadString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                            L"Common Documents", stored));
  EXPECT_EQ(allDocs(L"Common Documents"), stored);
  EXPECT_NE(stored.back(), L'\\');
  EXPECT_EQ(allDocs(L"No Such Folder Name"), kFailure);
}

TEST_F(DocsFolders, RussianBuildDecidesWheneverItsKeyOpens) {
  EXPECT_EQ(myDocs(L"RoamableRootFolder"), kFailure);  // neither key

  regWriteString(HKEY_CURRENT_USER, english_, L"RoamableRootFolder", L"C:\\R\\");
  EXPECT_EQ(myDocs(L"RoamableRootFolder"), L"C:\\R\\");

  regWriteString(HKEY_CURRENT_USER, russian_, L"Other", L"x");
  EXPECT_EQ(myDocs(L"RoamableRootFolder"), kFailure);

  regWriteString(HKEY_CURRENT_USER, russian_, L"RoamableRootFolder", L"D:\\Р\\");
  EXPECT_EQ(myDocs(L"RoamableRootFolder"), L"D:\\Р\\");
}

TEST_F(DocsFolders, StoredErrorAndMalformedDataNeverReadPastTheValue) {
  // A stored text is a path, whatever it says.
  regWriteString(HKEY_CURRENT_USER, english_, L"V", L"Error");
  EXPECT_EQ(myDocs(L"V"), L"Error");

  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, english_.c_str(), 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
  // No terminator, and an odd byte count: the whole characters are the text.
  const wchar_t raw[] = {L'C', L':', L'\\', L'A', L'\\'};
  RegSetValueExW(key, L"Unterminated", 0, REG_SZ, reinterpret_cast<const BYTE*>(raw), sizeof raw + 1);
  // A folder on a deep share: read whole, never cut.
  std::wstring longPath(600, L'x');
  RegSetValueExW(key, L"Long", 0, REG_SZ, reinterpret_cast<const BYTE*>(longPath.c_str()),
                 static_cast<DWORD>((longPath.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  EXPECT_EQ(myDocs(L"Unterminated"), L"C:\\A\\");
  EXPECT_EQ(myDocs(L"Long"), longPath);
}

}  // namespace
