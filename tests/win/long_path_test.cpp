// The "\\?\" form of long paths, as the file functions are given it.
#include <gtest/gtest.h>

#include "win32/long_path.h"

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

}  // namespace
