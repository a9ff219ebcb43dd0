#include "switching/version_names.h"

#include <gtest/gtest.h>

namespace {

using kvs::KeptTime;

// 2025-03-14 10:15:02.123 UTC in milliseconds since 1601.
constexpr KeptTime kTime = 13386420902123ull;

TEST(VersionNames, NameTheUtcTimeSortablyAndReadItBack) {
  const struct {
    KeptTime time;
    std::wstring name, readable;
  } cases[] = {
      {0, L"16010101T000000.000Z.kept", L"1601-01-01 00:00:00 UTC"},
      {kTime, L"20250314T101502.123Z.kept", L"2025-03-14 10:15:02 UTC"},
      {kTime + 1, L"20250314T101502.124Z.kept", L"2025-03-14 10:15:02 UTC"},
      {13353724799999ull, L"20240229T235959.999Z.kept", L"2024-02-29 23:59:59 UTC"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(kvs::version_file_name(c.time), c.name);
    kvs::KeptTime read = 0;
    EXPECT_TRUE(kvs::version_time(c.name, read)) << testing::PrintToString(c.name);
    EXPECT_EQ(read, c.time);
    EXPECT_EQ(kvs::readable_time(c.time), c.readable);
  }
  // Versions kept under a project's extension, before no search for projects was to find them.
  kvs::KeptTime earlier = 0;
  EXPECT_TRUE(kvs::version_time(L"20250314T101502.123Z.wdp", earlier));
  EXPECT_EQ(earlier, kTime);
  EXPECT_LT(kvs::version_file_name(kTime), kvs::version_file_name(kTime + 1));
  EXPECT_LT(kvs::version_file_name(kTime + 999), kvs::version_file_name(kTime + 86400000ull * 400));
}

TEST(VersionNames, OtherFilesAreNoVersions) {
  kvs::KeptTime unused = 0;
  for (const wchar_t* name : {L"project.txt", L"20250314T101502.123Z.tmp", L"20250230T101502.123Z.wdp",
                              L"20250314T251502.123Z.wdp", L"2025031XT101502.123Z.wdp", L"~kvs0001.tmp",
                              L"20250314T101502.123Z.wdp.bak", L"15000101T000000.000Z.wdp", L"20250314T101502.123Z.kep",
                              L"20250230T101502.123Z.kept"})
    EXPECT_FALSE(kvs::version_time(name, unused)) << testing::PrintToString(std::wstring(name));
}

TEST(VersionNames, OneFolderPerProjectWhateverTheLetterCase) {
  const std::wstring folder = kvs::kept_folder_name(L"C:\\Проекты\\Щит.wdp", 0);
  EXPECT_EQ(folder.size(), 16u);
  EXPECT_EQ(folder.find_first_not_of(L"0123456789abcdef"), std::wstring::npos);
  EXPECT_EQ(kvs::kept_folder_name(L"c:\\ПРОЕКТЫ\\щит.WDP ", 0), folder);
  EXPECT_NE(kvs::kept_folder_name(L"C:\\Проекты\\Щит2.wdp", 0), folder);
  EXPECT_NE(kvs::kept_folder_name(L"C:\\Проекты\\Щит.wd", 0), folder);
  EXPECT_EQ(kvs::kept_folder_name(L"C:\\Проекты\\Щит.wdp", 2), folder + L"-2");
}

TEST(VersionNames, NewestAlwaysLastAndOnlyTheFiveNewestStay) {
  EXPECT_EQ(kvs::next_version_time(kTime, {}), kTime);
  EXPECT_EQ(kvs::next_version_time(kTime, {kTime - 5, kTime - 1}), kTime);
  EXPECT_EQ(kvs::next_version_time(kTime, {kTime}), kTime + 1) << "same millisecond";
  EXPECT_EQ(kvs::next_version_time(kTime, {kTime + 60000, kTime - 1}), kTime + 60001) << "clock set back";

  using Times = std::vector<KeptTime>;
  EXPECT_EQ(kvs::versions_to_drop({5, 1, 4, 2, 3}), Times{});
  EXPECT_EQ(kvs::versions_to_drop({5, 6, 1, 4, 2, 3}), Times{1});
  EXPECT_EQ(kvs::versions_to_drop({9, 8, 7, 6, 5, 4, 3}), (Times{3, 4}));
  EXPECT_EQ(kvs::versions_to_drop({}), Times{});
}

}  // namespace
