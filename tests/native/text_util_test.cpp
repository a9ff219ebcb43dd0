#include "common/text_util.h"

#include <gtest/gtest.h>

using kvs::replace_all;
using kvs::trim;

TEST(TextUtil, ReplaceAllIsLeftToRightWithoutRescanning) {
  EXPECT_EQ(replace_all(L"a.mdb.mdb", L".mdb", L"_old.mdb"), L"a_old.mdb_old.mdb");
  EXPECT_EQ(replace_all(L"aaa", L"aa", L"a"), L"aa");
  EXPECT_EQ(replace_all(L"x;y;", L"x;", L""), L"y;");
  EXPECT_EQ(replace_all(L"abc", L"", L"z"), L"abc");
}

TEST(TextUtil, TrimRemovesOnlyOuterWhiteSpace) {
  EXPECT_EQ(trim(L" \t a b \r\n"), L"a b");
  EXPECT_EQ(trim(L"\r\n"), L"");
  EXPECT_EQ(trim(L""), L"");
  EXPECT_EQ(trim(L" \v\f "), L"");
}
