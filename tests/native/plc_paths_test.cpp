#include "menu_plc/plc_paths.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

using kvs::find_plc_language;
using kvs::in_language_folder;
using kvs::plc_in_language_folder;
using kvs::plc_paths;

namespace {

const std::wstring kDocs = L"C:\\Users\\Иван\\Documents\\Acade 2015\\";

TEST(PlcPaths, WorkingAndBackupLieInAeDataPlc) {
  kvs::PlcPaths p = plc_paths(kDocs);
  EXPECT_EQ(p.working, kDocs + L"AeData\\Plc\\ace_plc.mdb");
  EXPECT_EQ(p.backup, kDocs + L"AeData\\Plc\\ace_plc_old.mdb");
}

TEST(PlcPaths, ReleasesFrom2014OnUseLanguageFolders) {
  for (const wchar_t* later : {L"2014", L"2015", L"2016", L"2024", L"2026", L"2027"})
    EXPECT_TRUE(plc_in_language_folder(later)) << later;
  for (const wchar_t* other : {L"2010", L"2013", L"", L"2015 ", L" 2014", L"20145", L"2O24"})
    EXPECT_FALSE(plc_in_language_folder(other)) << other;
}

TEST(PlcPaths, LanguageFolderReplacesEveryCaseSensitivePlc) {
  EXPECT_EQ(in_language_folder(plc_paths(kDocs).backup, L"ru-RU"), kDocs + L"AeData\\ru-RU\\Plc\\ace_plc_old.mdb");
  // The whole text is rewritten, a "Plc" in the documents folder too; "plc" and "PLC" are not.
  EXPECT_EQ(in_language_folder(L"D:\\Plc\\PLC\\AeData\\Plc\\ace_plc.mdb", L"en-EN"),
            L"D:\\en-EN\\Plc\\PLC\\AeData\\en-EN\\Plc\\ace_plc.mdb");
}

TEST(PlcPaths, BackupsAreLookedForWhereEveryReleaseKeepsThem) {
  // A "Plc" in the documents folder is rewritten as the swap rewrites it.
  EXPECT_EQ(kvs::plc_backup_places(L"D:\\Plc\\Acade\\"),
            (std::vector<std::wstring>{L"D:\\Plc\\Acade\\AeData\\Plc\\ace_plc_old.mdb",
                                       L"D:\\ru-RU\\Plc\\Acade\\AeData\\ru-RU\\Plc\\ace_plc_old.mdb",
                                       L"D:\\en-EN\\Plc\\Acade\\AeData\\en-EN\\Plc\\ace_plc_old.mdb",
                                       L"D:\\en-US\\Plc\\Acade\\AeData\\en-US\\Plc\\ace_plc_old.mdb"}));
}

TEST(PlcPaths, LanguagesAreTriedRuThenEnEnThenEnUs) {
  const std::wstring working = plc_paths(kDocs).working;
  auto probe = [&](std::set<std::wstring> present, std::vector<std::wstring>* probed) {
    return find_plc_language(working, [present, probed](const std::wstring& path) {
      probed->push_back(path);
      return present.count(path) > 0;
    });
  };
  const std::wstring ru = kDocs + L"AeData\\ru-RU\\Plc\\ace_plc.mdb";
  const std::wstring enEN = kDocs + L"AeData\\en-EN\\Plc\\ace_plc.mdb";
  const std::wstring enUS = kDocs + L"AeData\\en-US\\Plc\\ace_plc.mdb";

  std::vector<std::wstring> probed;
  EXPECT_EQ(probe({enUS}, &probed), L"en-US");
  EXPECT_EQ(probed, (std::vector<std::wstring>{ru, enEN, enUS}));

  probed.clear();
  EXPECT_EQ(probe({ru, enEN, enUS}, &probed), L"ru-RU");
  EXPECT_EQ(probed, std::vector<std::wstring>{ru});

  probed.clear();
  EXPECT_EQ(probe({enEN, enUS}, &probed), L"en-EN");
  EXPECT_EQ(probed.size(), 2u);

  // The folder without a language, and the backup alone, do not count.
  probed.clear();
  EXPECT_EQ(probe({working, kDocs + L"AeData\\ru-RU\\Plc\\ace_plc_old.mdb"}, &probed), L"");
  EXPECT_EQ(probed.size(), 3u);
}

}  // namespace
