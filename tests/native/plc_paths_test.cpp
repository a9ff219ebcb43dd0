#include "menu_plc/plc_paths.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

using kvs::find_plc_language;
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

TEST(PlcPaths, LanguageFolderGoesInAtThePlcFoldersOwnPlace) {
  EXPECT_EQ(plc_paths(kDocs, L"ru-RU").backup, kDocs + L"AeData\\ru-RU\\Plc\\ace_plc_old.mdb");
  // A "Plc" the documents folder spells stays as it is.
  const kvs::PlcPaths p = plc_paths(L"D:\\PlcProjects\\Plc\\Acade 2016\\", L"en-US");
  EXPECT_EQ(p.working, L"D:\\PlcProjects\\Plc\\Acade 2016\\AeData\\en-US\\Plc\\ace_plc.mdb");
  EXPECT_EQ(p.backup, L"D:\\PlcProjects\\Plc\\Acade 2016\\AeData\\en-US\\Plc\\ace_plc_old.mdb");
}

TEST(PlcPaths, TheBackupLiesBesideTheWorkingDatabaseOnly) {
  EXPECT_EQ(kvs::plc_backup_beside(L"C:\\a.mdb\\ace_plc.mdb"), L"C:\\a.mdb\\ace_plc_old.mdb");
  for (const wchar_t* other : {L"C:\\P\\ACE_PLC.MDB", L"C:\\P\\ace_plc_old.mdb", L"C:\\P\\x.mdb", L"C:\\ace_plc.mdb\\", L""})
    EXPECT_EQ(kvs::plc_backup_beside(other), L"") << other;
}

TEST(PlcPaths, ProductKeysGiveTheirBuildsLanguage) {
  const wchar_t* const rows[][2] = {
      {L"Software\\Autodesk\\AutoCAD\\R20.1\\ACAD-F007:409", L"en-US"},
      {L"R26.0\\ACAD-A107:419", L"ru-RU"},
      {L"R24.3\\ACAD-7107:407", L"de-DE"},
      {L"R24.3\\ACAD-7107:40c", L"fr-FR"},
      {L"R24.3\\ACAD-7107:999", L""},
      {L"R24.3\\ACAD-7107:", L""},
      {L"R24.3\\ACAD-7107", L""},
      {L"", L""},
  };
  for (const auto& row : rows) EXPECT_EQ(kvs::product_language(row[0]), row[1]) << row[0];
}

TEST(PlcPaths, TheRunningBuildsLanguageIsTriedFirstThenRuEnEnEnUs) {
  const auto probe = [](const std::wstring& first, std::set<std::wstring> present, std::vector<std::wstring>* probed) {
    return find_plc_language(kDocs, first, [present, probed](const kvs::PlcPaths& paths) {
      probed->push_back(paths.working);
      return present.count(paths.working) > 0;
    });
  };
  const std::wstring ru = plc_paths(kDocs, L"ru-RU").working, enEN = plc_paths(kDocs, L"en-EN").working,
                     enUS = plc_paths(kDocs, L"en-US").working, de = plc_paths(kDocs, L"de-DE").working;
  struct Row {
    std::wstring first;
    std::set<std::wstring> present;
    std::wstring found;
    std::vector<std::wstring> probed;
  } rows[] = {
      {L"", {enUS}, L"en-US", {ru, enEN, enUS}},
      {L"", {ru, enEN, enUS}, L"ru-RU", {ru}},
      {L"", {enEN, enUS}, L"en-EN", {ru, enEN}},
      // An English build with a leftover ru-RU folder uses its own.
      {L"en-US", {ru, enUS}, L"en-US", {enUS}},
      {L"en-US", {ru}, L"ru-RU", {enUS, ru}},
      {L"de-DE", {}, L"", {de, ru, enEN, enUS}},
      // The folder without a language does not count.
      {L"", {plc_paths(kDocs).working}, L"", {ru, enEN, enUS}},
  };
  for (const Row& row : rows) {
    std::vector<std::wstring> probed;
    EXPECT_EQ(probe(row.first, row.present, &probed), row.found) << row.first;
    EXPECT_EQ(probed, row.probed) << row.first;
  }
}

TEST(PlcPaths, BackupsAreLookedForWhereEveryReleaseKeepsThem) {
  const std::wstring docs = L"D:\\PlcProjects\\Acade\\";
  EXPECT_EQ(kvs::plc_backup_places(docs, L"de-DE"),
            (std::vector<std::wstring>{docs + L"AeData\\Plc\\ace_plc_old.mdb", docs + L"AeData\\de-DE\\Plc\\ace_plc_old.mdb",
                                       docs + L"AeData\\ru-RU\\Plc\\ace_plc_old.mdb",
                                       docs + L"AeData\\en-EN\\Plc\\ace_plc_old.mdb",
                                       docs + L"AeData\\en-US\\Plc\\ace_plc_old.mdb"}));
  EXPECT_EQ(kvs::plc_backup_places(docs, L"en-US").size(), 4u);
}

}  // namespace
