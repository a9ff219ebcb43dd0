#include "commands/status_text.h"

#include <gtest/gtest.h>

namespace {

using kvs::ProjectLibrary;

const std::wstring kGost1 = L"+[1]C:\\Program Files\\Korvanta\\Support\\;C:\\Program Files\\Korvanta\\Data\\UGO\\G\\;\r\n";
const std::wstring kGost2 = L"+[2]C:\\Program Files\\Korvanta\\Data\\ACE_GOST_MENU.dat\r\n";
const std::wstring kGost3 = L"+[3]C:\\Program Files\\Korvanta\\Data\\Montajnie_sxemi\\Shkaf\\;\r\n";
const std::wstring kStock1 = L"+[1]%SL_DIR%iec2/;%SL_DIR%iec2/1-/;\r\n";
const std::wstring kStock2 = L"+[2]ACE_IEC_MENU.DAT\r\n";
const std::wstring kStock3 = L"+[3]%SL_DIR%panel/\r\n";

TEST(LibraryStatus, ReadsTheLibraryFromSettings1To3And20) {
  const struct {
    const char* name;
    std::wstring text;
    ProjectLibrary library;
    std::wstring summary;
  } cases[] = {
      {"as a switch to GOST leaves it", L"*[1]Щит\r\n" + kGost1 + kGost2 + kGost3 + L"+[20]kvdata.env\r\n?[0]H\r\n",
       ProjectLibrary::Gost, L"GOST"},
      {"as ACADE writes it", kStock1 + kStock2 + kStock3 + L"+[5]1\r\n+[20]\r\n", ProjectLibrary::Stock,
       L"stock ACADE"},
      {"record 20 alone switched", kStock1 + kStock2 + kStock3 + L"+[20]KVDATA.ENV \r\n", ProjectLibrary::Mixed,
       L"mixed: setting 20 on GOST, settings 1, 2 and 3 on stock ACADE"},
      {"menu put back by hand", kGost1 + kStock2 + kGost3 + L"+[20]kvdata.env\r\n", ProjectLibrary::Mixed,
       L"mixed: settings 1, 3 and 20 on GOST, setting 2 on stock ACADE"},
      {"forward slashes and another letter case",
       L"+[3]c:/program files/KORVANTA/data/Montajnie_sxemi/X/\r\n+[20]kvdata.env\r\n", ProjectLibrary::Gost,
       L"GOST; settings 1 and 2 not set"},
      {"the first of two records wins", L"+[20]wd.env\r\n+[20]kvdata.env\r\n", ProjectLibrary::Stock,
       L"stock ACADE; settings 1, 2 and 3 not set"},
      {"a marker inside a line is no record", L"*[1]x +[20]kvdata.env\r\n+[20]wd.env\r\n", ProjectLibrary::Stock,
       L"stock ACADE; settings 1, 2 and 3 not set"},
      {"no settings at all", L"*[1]Проект\r\n", ProjectLibrary::Stock,
       L"stock ACADE; settings 1, 2, 3 and 20 not set"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const kvs::LibrarySettings settings = kvs::library_settings(c.text);
    EXPECT_EQ(kvs::project_library(settings), c.library);
    EXPECT_EQ(kvs::library_summary(settings), c.summary);
  }
}

TEST(LibraryStatus, TheSupportPathHoldsTheAddonsFolderOnlyAsAFolderOfItsOwn) {
  const struct {
    std::wstring support;
    bool has;
  } cases[] = {
      {L"c:\\program files\\korvanta\\support;C:\\Acad\\Support", true},
      {L"C:\\Acad\\Support;C:\\Program Files\\Korvanta\\Support\\", true},
      {L"C:\\Acad\\Support; c:/PROGRAM FILES/korvanta/support ;", true},
      {L"C:\\Acad\\Support;D:\\KORVANTA\\Tools", false},
      {L"C:\\Program Files\\Korvanta\\Support\\Old;C:\\Acad", false},
      {L"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(kvs::support_path_has_addon(c.support), c.has) << testing::PrintToString(c.support);
  EXPECT_TRUE(kvs::is_addon_template_folder(L"c:\\Program Files\\Korvanta\\Data\\Template"));
  EXPECT_TRUE(kvs::is_addon_template_folder(L"C:/PROGRAM FILES/KORVANTA/DATA/TEMPLATE/"));
  EXPECT_FALSE(kvs::is_addon_template_folder(L"C:\\Logs\\Template"));
}

}  // namespace
