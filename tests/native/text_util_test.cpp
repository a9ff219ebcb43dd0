#include "common/text_util.h"

#include <gtest/gtest.h>

using kvs::replace_all;
using kvs::trim;
using kvs::trim_view;

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
}

TEST(TextUtil, TrimViewPointsIntoItsArgument) {
  const std::wstring text = L"\t x y \r\n";
  const std::wstring_view v = trim_view(text);
  EXPECT_EQ(v, L"x y");
  EXPECT_EQ(v.data(), text.data() + 2);
  EXPECT_TRUE(trim_view(L" \v\f ").empty());
}
