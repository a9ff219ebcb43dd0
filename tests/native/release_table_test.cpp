#include "frame/release_table.h"

#include <gtest/gtest.h>

TEST(ReleaseTable, KeysAreCapitalLetterAndFullStopAnywhereLastRowWins) {
  const kvs::ReleaseRow* j = kvs::find_release(L"J.51.0.0 (UNICODE)");
  ASSERT_NE(j, nullptr);
  EXPECT_STREQ(j->version, L"2015");
  EXPECT_STREQ(j->english, L"R20.0\\ACAD-E007:409");
  EXPECT_STREQ(j->russian, L"R20.0\\ACAD-E007:419");

  const kvs::ReleaseRow* both = kvs::find_release(L"J.51 D.215");
  ASSERT_NE(both, nullptr);
  EXPECT_STREQ(both->version, L"2015");

  const kvs::ReleaseRow* g = kvs::find_release(L"xG.114");
  ASSERT_NE(g, nullptr);
  EXPECT_STREQ(g->english, L"R19.0\\ACAD-B007:409");

  EXPECT_EQ(kvs::find_release(L"H.0.0"), nullptr);
  EXPECT_EQ(kvs::find_release(L"j.51"), nullptr);
  EXPECT_EQ(kvs::find_release(L"J51"), nullptr);
  EXPECT_EQ(kvs::find_release(L""), nullptr);
}
