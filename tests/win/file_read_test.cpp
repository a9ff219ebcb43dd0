// Comparing a file's bytes without reading it whole.
#include <gtest/gtest.h>

#include "support/test_support.h"
#include "win32/file_read.h"
#include "win32/handles.h"

using namespace testing_support;

namespace {

TEST(FileRead, FileHoldsExactlyTheBytesOrNot) {
  TempDir dir;
  const std::string large(3 * 1024 * 1024 + 17, 'x');  // more than one piece
  std::string lastDiffers = large;
  lastDiffers.back() = 'y';
  const struct {
    const char* name;
    std::string file;
    std::string bytes;
    bool holds;
  } rows[] = {
      {"same", "+[20]wd.env\r\n", "+[20]wd.env\r\n", true},
      {"same, several pieces", large, large, true},
      {"last byte differs", large, lastDiffers, false},
      {"file shorter", "+[20]wd", "+[20]wd.env", false},
      {"file longer", "+[20]wd.env\r\n", "+[20]wd.env", false},
      {"both empty", "", "", true},
  };
  for (const auto& row : rows) {
    const std::wstring path = dir.path() + L"Версия.wdp";
    writeBytes(path, row.file);
    // Opened as a kept version is, to be renamed after the comparison.
    const kvs::FileHandle file(CreateFileW(path.c_str(), GENERIC_READ | DELETE,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file.valid()) << row.name;
    EXPECT_EQ(kvs::file_holds(file.get(), row.bytes), row.holds) << row.name;
  }
}

}  // namespace
