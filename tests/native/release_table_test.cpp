#include "frame/release_table.h"

#include <gtest/gtest.h>

#include <cwchar>

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

TEST(ReleaseTable, LaterReleasesComeFromTheProductKey) {
  struct Case {
    const wchar_t* root;
    const wchar_t* version;  // null: not a supported product
    const wchar_t* english;
  } cases[] = {
      {L"Software\\Autodesk\\AutoCAD\\R24.3\\ACAD-7107:409", L"2024", L"R24.3\\ACAD-7107:409"},
      {L"Software\\Autodesk\\AutoCAD\\R20.1\\ACAD-F007:419", L"2016", L"R20.1\\ACAD-F007:409"},
      {L"Software\\Autodesk\\AutoCAD\\R25.1\\ACAD-9107:409\\", L"2026", L"R25.1\\ACAD-9107:409"},
      {L"R23.1\\ACAD-3007", L"2020", L"R23.1\\ACAD-3007:409"},
      {L"Software\\Autodesk\\AutoCAD\\R24.3\\ACAD-7101:409", nullptr, nullptr},  // plain AutoCAD
      {L"Software\\Autodesk\\AutoCAD\\R20.0\\ACAD-E007:409", nullptr, nullptr},  // 2015 goes by _VERNUM
      {L"Software\\Autodesk\\AutoCAD\\R26.0\\ACAD-A107:419", L"2027", L"R26.0\\ACAD-A107:409"},
      {L"Software\\Autodesk\\AutoCAD\\R27.0\\ACAD-B107:409", nullptr, nullptr},
      {L"Software\\Autodesk\\AutoCAD\\R24.3\\07:409", nullptr, nullptr},
      {L"", nullptr, nullptr},
  };
  for (const Case& c : cases) {
    kvs::ProductRelease release;
    const bool known = kvs::release_from_product_key(c.root, release);
    if (!c.version) {
      EXPECT_FALSE(known) << c.root;
      continue;
    }
    ASSERT_TRUE(known) << c.root;
    EXPECT_EQ(release.version, c.version);
    EXPECT_EQ(release.english, c.english);
    EXPECT_EQ(release.russian, std::wstring(c.english).replace(std::wcslen(c.english) - 3, 3, L"419"));
  }
}

// kvs-switch finds the newest ACADE release among the product keys in the user's registry.
TEST(ReleaseTable, EveryAcadeReleaseFromItsProductKey) {
  const struct {
    const wchar_t* key;
    const wchar_t* year;  // empty: not ACADE
  } cases[] = {
      {L"R18.0\\ACAD-8007:409", L"2010"}, {L"r20.0\\acad-e007:419", L"2015"}, {L"R20.1\\ACAD-F007:419", L"2016"},
      {L"R26.0\\ACAD-A107:409", L"2027"}, {L"R20.0\\ACAD-E001:409", L""},     {L"R17.2\\ACAD-7007:409", L""},
      {L"XR20.0\\ACAD-E007:409", L""},
  };
  for (const auto& c : cases) {
    std::wstring year;
    EXPECT_EQ(kvs::acade_release_of_product_key(c.key, year), *c.year != 0) << c.key;
    EXPECT_EQ(year, c.year) << c.key;
  }
  EXPECT_TRUE(kvs::is_known_release(L"2010"));
  EXPECT_TRUE(kvs::is_known_release(L"2027"));
  EXPECT_FALSE(kvs::is_known_release(L"2009"));
  EXPECT_FALSE(kvs::is_known_release(L"2028"));
}
