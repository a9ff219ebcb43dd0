// The "\\?\" form of long paths, as the file functions are given it, and the key of a path.
#include <gtest/gtest.h>

#include "support/test_support.h"
#include "win32/long_path.h"
#include "win32/path_identity.h"

namespace {

TEST(LongPath, OnlyLongPathsTakeTheExtendedForm) {
  const std::wstring tail(260, L'a');
  const struct {
    std::wstring path, expected;
  } rows[] = {
      {L"C:\\short\\ace_plc.mdb", L"C:\\short\\ace_plc.mdb"},
      {L"C:\\" + tail, L"\\\\?\\C:\\" + tail},
      {L"C:/Users/" + tail, L"\\\\?\\C:\\Users\\" + tail},
      {L"C:\\Users\\..\\" + tail, L"\\\\?\\C:\\" + tail},
      {L"\\\\server\\share\\" + tail, L"\\\\?\\UNC\\server\\share\\" + tail},
      {L"\\\\?\\C:\\" + tail, L"\\\\?\\C:\\" + tail},
  };
  for (const auto& row : rows) EXPECT_EQ(kvs::extended_path(row.path), row.expected);
}

// Spellings that reach one file share a key; another file, gone or not, has its own.
TEST(PathIdentity, SpellingsOfOneFileShareTheKey) {
  testing_support::TempDir dir;
  const std::wstring folder = dir.path() + L"Длинное имя папки", deep = folder + L"\\" + std::wstring(250, L'п');
  testing_support::makeFolders(testing_support::anyLength(deep));
  const std::wstring file = folder + L"\\Щит А.wdp", gone = kvs::path_identity(folder + L"\\Нет.wdp");
  testing_support::writeBytes(file, "+[20]wd.env\r\n");
  wchar_t shortName[MAX_PATH] = {};
  ASSERT_NE(GetShortPathNameW(folder.c_str(), shortName, MAX_PATH), 0u);
  const std::wstring shortFolder = shortName;
  ASSERT_NE(shortFolder, folder);
  const std::wstring rows[][2] = {
      {dir.path() + L"длинное ИМЯ папки/щит а.WDP", file},
      {folder + L"\\..\\Длинное имя папки\\.\\Щит А.wdp", file},
      {shortFolder + L"\\Щит А.wdp", file},
      {L"\\\\?\\" + file, file},
      {shortFolder + L"\\НЕТ.wdp", folder + L"\\Нет.wdp"},
      {folder + L"\\", folder},
      {deep + L"\\..\\" + std::wstring(250, L'П') + L"\\a.wdp", L"\\\\?\\" + deep + L"\\A.WDP"},
      {L"\\\\Srv\\Проекты\\Цех\\..\\А.wdp", L"\\\\srv\\проекты\\а.wdp"},
  };
  for (const auto& row : rows) EXPECT_EQ(kvs::path_identity(row[0]), kvs::path_identity(row[1])) << testing_support::toUtf8(row[0]);
  EXPECT_NE(kvs::path_identity(file), gone);
  EXPECT_NE(kvs::path_identity(file), kvs::path_identity(folder + L"\\Щит Б.wdp"));
}

}  // namespace
