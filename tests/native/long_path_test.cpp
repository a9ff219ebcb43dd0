#include "common/long_path.h"

#include <gtest/gtest.h>

namespace {

TEST(LongPath, OnlyLongAbsolutePathsTakeTheExtendedForm) {
  const std::wstring tail(260, L'a');
  const struct {
    std::wstring path, expected;
  } rows[] = {
      {L"C:\\short\\ace_plc.mdb", L"C:\\short\\ace_plc.mdb"},
      {L"C:\\" + tail, L"\\\\?\\C:\\" + tail},
      {L"C:/Users/" + tail, L"\\\\?\\C:\\Users\\" + tail},
      {L"\\\\server\\share\\" + tail, L"\\\\?\\UNC\\server\\share\\" + tail},
      {L"\\\\?\\C:\\" + tail, L"\\\\?\\C:\\" + tail},
      {L"relative\\" + tail, L"relative\\" + tail},
  };
  for (const auto& row : rows) EXPECT_EQ(kvs::extended_path(row.path), row.expected);
}

}  // namespace
