#include "switching/project_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <cwctype>
#include <string>
#include <vector>

namespace {

using kvs::RecordValues;
using kvs::rewrite_project_text;

// Short stand-ins, so that the expected texts show where each value went.
const RecordValues kValues{L"%SL_DIR%G1/", L"G2", L"%SL_DIR%G3/", L"kvdata.env\n", L"", false, L"", {}};
const std::wstring kEnv = L"+[20]kvdata.env\r\n";

struct RewriteCase {
  const char* name;
  std::wstring input;
  std::wstring expected;
};

void expect_rewrites(const std::vector<RewriteCase>& cases) {
  for (const RewriteCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(rewrite_project_text(c.input, kValues), c.expected);
  }
}

TEST(RewriteProjectText, BuildsTheRecordTable) {
  expect_rewrites({
      {"sorted by number", L"+[12]c\r\n+[3]%SL_DIR%g3/\r\n+[1]%SL_DIR%g1/\r\n",
       L"+[1]%SL_DIR%G1/\r\n+[3]%SL_DIR%G3/\r\n+[12]c\r\n" + kEnv},
      {"first of two equal numbers wins", L"+[7]first\r\n+[7]second\r\n", L"+[7]first\r\n" + kEnv},
      {"values trimmed, inner blanks kept", L"+[4] \t a  b \t\r\n", L"+[4]a  b\r\n" + kEnv},
      {"inner line breaks kept", L"+[4]a\r\nb\r\n+[5]c\r\n", L"+[4]a\r\nb\r\n+[5]c\r\n" + kEnv},
      {"number without digits is 0", L"+[abc]x\r\n+[4]y\r\n", L"+[0]x\r\n+[4]y\r\n" + kEnv},
      {"empty number is 0", L"+[]y\r\n", L"+[0]y\r\n" + kEnv},
      {"numbers read like _wtoi", L"+[ 08]s\r\n+[+9x]t\r\n", L"+[8]s\r\n+[9]t\r\n" + kEnv},
      {"negative numbers keep their sign", L"+[5]p\r\n+[-5]n\r\n", L"+[-5]n\r\n+[5]p\r\n" + kEnv},
      {"numbers saturate", L"+[99999999999]a\r\n+[-99999999999]b\r\n",
       L"+[-2147483648]b\r\n" + kEnv + L"+[2147483647]a\r\n"},
      {"empty text gains record 20 only", L"", kEnv},
      // Records in order, as ACADE writes them, and a later one that belongs among them.
      {"a later record goes among ordered ones", L"+[4]a\r\n+[5]b\r\nnote\r\n+[6]c\r\n+[5]late\r\n+[3]%SL_DIR%g3/\r\n",
       L"+[3]%SL_DIR%G3/\r\n+[4]a\r\n+[5]b\r\nnote\r\n+[6]c\r\n" + kEnv},
      {"record 20 goes among ordered ones", L"+[17]a\r\n+[19]b\r\n+[21]c\r\n+[22]d\r\n",
       L"+[17]a\r\n+[19]b\r\n" + kEnv + L"+[21]c\r\n+[22]d\r\n"},
      {"blank lines after an ordered record go", L"+[4]a\r\n \r\n+[5]b\r\n+[6]c\r\n+[2]m\r\n",
       L"+[2]G2\r\n+[4]a\r\n+[5]b\r\n+[6]c\r\n" + kEnv},
  });
}

TEST(RewriteProjectText, FirstOccurrenceWinsInALargeShuffledTable) {
  std::wstring input;
  for (int i = 0; i < 200; ++i) {
    input += L"+[" + std::to_wstring(i % 2 ? 7 : 500 - i) + L"]v" + std::to_wstring(i) + L"\r\n";
  }
  const std::wstring out = rewrite_project_text(input, kValues);
  EXPECT_NE(out.find(L"+[7]v1\r\n"), std::wstring::npos);
  EXPECT_EQ(out.find(L"+[7]", out.find(L"+[7]") + 1), std::wstring::npos);
  EXPECT_NE(out.find(L"+[302]v198\r\n+[304]v196\r\n"), std::wstring::npos);
}

TEST(RewriteProjectText, ReplacesOnlyTheRecordsItOwns) {
  expect_rewrites({
      {"1 to 3 absent stay absent", L"+[4]x\r\n+[21]y\r\n", L"+[4]x\r\n" + kEnv + L"+[21]y\r\n"},
      {"1 to 3 present are replaced", L"+[3]%SL_DIR%g3/\r\n+[2]b\r\n+[1]%SL_DIR%g1/\r\n",
       L"+[1]%SL_DIR%G1/\r\n+[2]G2\r\n+[3]%SL_DIR%G3/\r\n" + kEnv},
      {"own entries of 1 and 3 kept", L"+[1]%SL_DIR%g1/;\r\n+[3]%SL_DIR%g3/;\\\\srv\\Панели_офиса\\\r\n",
       L"+[1]%SL_DIR%G1/\r\n+[3]%SL_DIR%G3/;\\\\srv\\Панели_офиса\\\r\n" + kEnv},
      {"record 20 replaced", L"+[20]other.env\r\n+[21]z\r\n", kEnv + L"+[21]z\r\n"},
      {"every record 20 gives way", L"+[20]a.env\r\n+[20]b.env\r\n", kEnv},
  });
}

TEST(RewriteProjectText, KeepsTheTailLast) {
  expect_rewrites({
      {"tail after the records", L"+[5]v\r\n?[x]t\r\n", L"+[5]v\r\n" + kEnv + L"?[x]t\r\n"},
      {"tail before the records", L"?[x]t\r\n+[5]v\r\n", L"+[5]v\r\n" + kEnv + L"?[x]t\r\n"},
      {"a last line without its end keeps lacking it", L"+[5]v", L"+[5]v\r\n+[20]kvdata.env"},
      {"tail kept untrimmed", L"+[5]v\r\n?t \r\n\r\n", L"+[5]v\r\n" + kEnv + L"?t \r\n\r\n"},
  });
}

TEST(RewriteProjectText, WorkedExampleByteForByte) {
  const std::wstring input = L"+[5]1\r\n+[2]ACE_GOST_MENU.dat\r\n+[20]kvdata.env\r\n?[x]rest";
  EXPECT_EQ(rewrite_project_text(input, kvs::stock_values(L"C:\\users\\Public\\Documents", L"2015")),
            L"+[2]ACE_IEC_MENU.DAT\r\n+[5]1\r\n+[20]wd.env\r\n?[x]rest");
}

// Project files as ACADE writes them: description lines, settings, properties, drawings.
const std::wstring kHead = L"*[1]АО \"Водоканал\"\r\n*[2]Щит ЩУ-2 +24В? см. ТЗ\r\n*[3]Шифр 2014-115-ЭМ\r\n";
const std::wstring kProperties = L"?[0]H\r\n?[5]%S%N\r\n";
const std::wstring kDrawings = L"=====SUB=Схемы\r\nЛист01.dwg\r\n===Шкаф ЩУ-2, вид спереди?\r\n";

TEST(RewriteProjectText, KeepsAcadeLayout) {
  expect_rewrites({
      {"head first, properties and drawings last",
       kHead + L"+[1]%SL_DIR%g1/\r\n+[2]m\r\n+[4]ACE_PANEL_MENU.DAT\r\n+[20]\r\n" + kProperties + kDrawings,
       kHead + L"+[1]%SL_DIR%G1/\r\n+[2]G2\r\n+[4]ACE_PANEL_MENU.DAT\r\n" + kEnv + kProperties + kDrawings},
      {"drawing list right after the settings", kHead + L"+[3]%SL_DIR%g3/\r\n+[20]wd.env\r\n" + kDrawings,
       kHead + L"+[3]%SL_DIR%G3/\r\n" + kEnv + kDrawings},
      {"? lines before the settings stay in the head", L"*[1]a\r\n?[0]H\r\n+[5]1\r\n",
       L"*[1]a\r\n?[0]H\r\n+[5]1\r\n" + kEnv},
      {"plain lines after a switched record stay with it", L"+[1]%SL_DIR%g1/\r\nnote\r\n+[20]x\r\nmore\r\n?[0]H\r\n",
       L"+[1]%SL_DIR%G1/\r\nnote\r\n+[20]kvdata.env\r\nmore\r\n?[0]H\r\n"},
      {"a text of description lines only", L"*[1]a\r\n*[2]b", L"*[1]a\r\n*[2]b\r\n+[20]kvdata.env"},
      {"each line keeps its end, an added one takes the first line's", L"*[1]a\r+[2]b\n?[0]H",
       L"*[1]a\r+[2]G2\n+[20]kvdata.env\r?[0]H"},
      {"a file of LF lines stays one", L"*[1]a\n+[1]%SL_DIR%g1/\n+[4]x\n+[20]\n?[0]H\n",
       L"*[1]a\n+[1]%SL_DIR%G1/\n+[4]x\n+[20]kvdata.env\n?[0]H\n"},
  });
}

TEST(RewriteProjectText, MarkersCountOnlyAtLineStart) {
  expect_rewrites({
      {"+ inside a description", L"*[2]щит +[4]24В\r\n+[4]ACE_PANEL_MENU.DAT\r\n",
       L"*[2]щит +[4]24В\r\n+[4]ACE_PANEL_MENU.DAT\r\n" + kEnv},
      {"? inside a description", L"*[1]Реконструкция? см. ТЗ\r\n+[1]%SL_DIR%g1/\r\n+[2]b\r\n+[3]%SL_DIR%g3/\r\n+[20]\r\n",
       L"*[1]Реконструкция? см. ТЗ\r\n+[1]%SL_DIR%G1/\r\n+[2]G2\r\n+[3]%SL_DIR%G3/\r\n" + kEnv},
      {"+ and ? inside a value", L"+[5]a+[6]b?c\r\n?[0]H", L"+[5]a+[6]b?c\r\n" + kEnv + L"?[0]H"},
      {"+ inside the tail", L"+[5]a\r\n?t+[6]b\r\n", L"+[5]a\r\n" + kEnv + L"?t+[6]b\r\n"},
      {"a +[ line without ] is plain", L"+[5]a\r\n+[oops\r\n?t", L"+[5]a\r\n+[oops\r\n" + kEnv + L"?t"},
      {"leading tail with no record is kept whole", L"?only\r\n+tail", kEnv + L"?only\r\n+tail"},
  });
}

// Orders ACADE does not write: every line is kept and each setting switched once.
TEST(RewriteProjectText, MixedSectionsLoseNothing) {
  expect_rewrites({
      {"settings after the properties are switched", L"+[5]a\r\n?[0]H\r\n+[1]%SL_DIR%g1/\r\nЛист.dwg\r\n+[20]x\r\n",
       L"+[1]%SL_DIR%G1/\r\n+[5]a\r\n" + kEnv + L"?[0]H\r\nЛист.dwg\r\n"},
      {"a second tail after a leading tail", L"?[x]a\r\n+[1]%SL_DIR%g1/\r\n?[y]b\r\n",
       L"+[1]%SL_DIR%G1/\r\n" + kEnv + L"?[x]a\r\n?[y]b\r\n"},
      {"records only inside the tail", L"?t\r\n+[6]b", L"+[6]b\r\n" + kEnv + L"?t"},
      {"record 999 is ordinary", L"+[999]r\r\n+[5]a\r\n?t", L"+[5]a\r\n" + kEnv + L"+[999]r\r\n?t"},
  });
}

TEST(RewriteProjectText, SwitchingTwiceGivesTheSameText) {
  const std::wstring texts[] = {
      kHead + L"+[1]%SL_DIR%g1/\r\n+[4]x\r\n" + kDrawings,
      L"+[2]a\r\nfoo\r\n+[1]%SL_DIR%g1/\r\nbar\r\n",
      L"?[x]a\r\n+[20]v\r\nfoo  \r\n",
      L"*[1]a",
      L"+[5]a\r\n?[0]H\r\n+[1]%SL_DIR%g1/\r\n+[3]%SL_DIR%g3/\r\nЛист.dwg",
  };
  for (const std::wstring& text : texts) {
    SCOPED_TRACE(::testing::PrintToString(text));
    const std::wstring once = rewrite_project_text(text, kValues);
    EXPECT_EQ(rewrite_project_text(once, kValues), once);
  }
}

TEST(RewriteProjectText, RoundTripKeepsEverythingButTheSwitchedRecords) {
  const std::wstring docs = L"C:\\Users\\Public\\Documents";
  const RecordValues gost = kvs::gost_values({L"GOST_A"}, {L"Shkaf"}, docs, L"2015");
  const RecordValues stock = kvs::stock_values(docs, L"2015");
  const std::wstring project =
      L"+[1]%SL_DIR%iec2/\r\n+[2]old2\r\n+[3]%SL_DIR%panel/\r\n+[4]  keep me\r\n+[20]wd.env\r\n+[-1]neg\r\n+[999]r\r\n"
      L"?[Drawings]\r\nC:\\p\\a.dwg\r\n";
  const std::wstring last_lines = L"+[999]r\r\n?[Drawings]\r\nC:\\p\\a.dwg\r\n";

  const std::wstring on = rewrite_project_text(project, gost);
  EXPECT_EQ(on, L"+[-1]neg\r\n+[1]" + kvs::gost_symbol_list({L"GOST_A"}, docs, L"2015") +
                    L"\r\n+[2]C:\\Program Files\\Korvanta\\Data\\ACE_GOST_MENU.dat\r\n+[3]" +
                    kvs::gost_panel_list({L"Shkaf"}, docs, L"2015") + L"\r\n+[4]keep me\r\n" +
                    L"+[20]kvdata.env\r\n" + last_lines);
  const std::wstring off = rewrite_project_text(on, stock);
  EXPECT_EQ(off, L"+[-1]neg\r\n+[1]" + kvs::stock_symbol_list(docs, L"2015") + L"\r\n+[2]ACE_IEC_MENU.DAT\r\n+[3]" +
                     kvs::stock_panel_list(docs, L"2015") + L"\r\n+[4]keep me\r\n+[20]wd.env\r\n" + last_lines);
  EXPECT_EQ(rewrite_project_text(off, gost), on);
}

// Settings 1 and 3 as offices keep them: their own folders beside the library's, which every
// switch keeps in their places while the library entries become the mode's list.
TEST(LibraryList, OwnEntriesSurviveEverySwitch) {
  const std::wstring docs = L"C:\\Users\\Public\\Documents";
  const std::wstring gost = kvs::gost_symbol_list({L"GOST_A"}, docs, L"2015");
  const std::wstring stock = kvs::stock_symbol_list(docs, L"2015");
  const struct {
    const char* name;
    std::wstring value, before, after;  // the own entries expected before and after the list
  } cases[] = {
      {"none", L"%SL_DIR%iec2/;%SL_DIR%iec2/1-/;%SL_DIR%pid/;", L"", L""},
      {"empty", L"", L"", L""},
      {"a share before", L"\\\\srv\\ACADE\\Офис_УГО\\;%sl_dir%iec2/;", L"\\\\srv\\ACADE\\Офис_УГО\\;", L""},
      {"after, the last without its ;", L"%SL_DIR%iec2/;D:\\Символы\\;E:\\УГО", L"", L"D:\\Символы\\;E:\\УГО"},
      {"between go after", L"%SL_DIR%iec2/;\\\\srv\\a\\; %SL_DIR%pid/;", L"", L"\\\\srv\\a\\;"},
      {"before and after",
       L"\\\\srv\\a\\;C:\\Users\\Public\\Documents\\Autodesk\\Acade 2015\\Libs\\iec2\\;D:\\b\\;", L"\\\\srv\\a\\;",
       L"D:\\b\\;"},
      {"other years, letter case, slashes, no closing separator",
       L"c:/users/public/documents/AUTODESK/acade 2012/libs/iec2;C:\\Users\\Public\\Documents\\Autodesk\\Acade "
       L"2027\\Libs;X:\\own\\;",
       L"", L"C:\\Users\\Public\\Documents\\Autodesk\\Acade 2027\\Libs;X:\\own\\;"},
      {"own folders under Libs and inside a stock folder",
       L"%SL_DIR%iec2/;C:\\Users\\Public\\Documents\\Autodesk\\Acade 2016\\Libs\\Наш_офис\\УГО\\;%SL_DIR%iec2/Наш/;",
       L"", L"C:\\Users\\Public\\Documents\\Autodesk\\Acade 2016\\Libs\\Наш_офис\\УГО\\;%SL_DIR%iec2/Наш/;"},
      {"the add-on's folders in any spelling", L"c:/program files/KORVANTA/Data/UGO/Old;E:\\проект\\УГО\\;", L"",
       L"E:\\проект\\УГО\\;"},
      {"only own entries follow the list", L"\\\\srv\\a\\;D:\\b\\;", L"", L"\\\\srv\\a\\;D:\\b\\;"},
      {"look-alikes are own",
       L"C:\\Users\\Public\\Documents\\Autodesk\\Acade\\Libs\\x\\;D:\\Autodesk\\Acade 2015\\Libs\\;"
       L"C:\\Program Files\\Korvanta2\\;C:\\Users\\Public\\Documents\\Autodesk\\Acade 2015\\Libsy\\;",
       L"", L"C:\\Users\\Public\\Documents\\Autodesk\\Acade\\Libs\\x\\;D:\\Autodesk\\Acade 2015\\Libs\\;"
            L"C:\\Program Files\\Korvanta2\\;C:\\Users\\Public\\Documents\\Autodesk\\Acade 2015\\Libsy\\;"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::wstring on = kvs::merge_library_list(c.value, gost, docs);
    EXPECT_EQ(on, c.before + gost + c.after);
    const std::wstring off = kvs::merge_library_list(on, stock, docs);
    EXPECT_EQ(off, c.before + stock + c.after);
    // Back again: nothing doubled, nothing dropped.
    EXPECT_EQ(kvs::merge_library_list(off, gost, docs), on);
  }
}

// Setting 2 after a switch back: the own menu remembered takes the add-on's menu's place; a
// stock menu and one of the project's own stay.
TEST(MenuAfterSwitchBack, OwnMenusComeBack) {
  const struct {
    const wchar_t* held;
    const wchar_t* remembered;
    const wchar_t* after;
  } cases[] = {
      {L"C:\\Program Files\\Korvanta\\Data\\ACE_GOST_MENU.dat", L"OFFICE.DAT", L"OFFICE.DAT"},
      {L"c:/program files/korvanta/data/ace_gost_menu.dat", L"\\\\srv\\ACADE\\Меню_офиса.dat",
       L"\\\\srv\\ACADE\\Меню_офиса.dat"},
      {L"ACE_GOST_MENU.dat", L"OFFICE.DAT", L"OFFICE.DAT"},
      {L"ACE_GOST_MENU.dat", L"", L"ACE_IEC_MENU.DAT"},
      {L" ace_iec_menu.dat ", L"OFFICE.DAT", L"ACE_IEC_MENU.DAT"},
      {L"", L"OFFICE.DAT", L"ACE_IEC_MENU.DAT"},
      {L"MY.DAT", L"OFFICE.DAT", L"MY.DAT"},
      {L"\\\\srv\\ACADE\\Меню_офиса.dat", L"", L"\\\\srv\\ACADE\\Меню_офиса.dat"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(kvs::menu_after_switch_back(kvs::SettingValue(c.held), c.remembered), c.after)
        << ::testing::PrintToString(std::wstring(c.held));
}

TEST(ParseRecordNumber, ReadsLikeWtoi) {
  const struct {
    const wchar_t* text;
    int expected;
  } cases[] = {
      {L"", 0},           {L"abc", 0},         {L" \t\r\n42x", 42}, {L"+7", 7},
      {L"-7", -7},        {L"- 7", 0},         {L"+-7", 0},         {L"007", 7},
      {L"1 2", 1},        {L"-0", 0},          {L"\x0663", 0},      {L"2147483647", INT_MAX},
      {L"2147483648", INT_MAX},                {L"-2147483648", INT_MIN},
      {L"-2147483649", INT_MIN},               {L"99999999999999999999999999", INT_MAX},
      {L"-99999999999999999999999999", INT_MIN},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(std::wstring(c.text)));
    EXPECT_EQ(kvs::parse_record_number(c.text), c.expected);
  }
}

TEST(FolderLists, ExactSpellings) {
  const std::wstring docs = L"C:\\users\\Public\\Documents";
  const std::wstring acade = LR"(C:\users\Public\Documents\Autodesk\Acade 2015\Libs\)";
  EXPECT_EQ(kvs::gost_symbol_list({L"GOST_2.701", L"Rele"}, docs, L"2015"),
            LR"(C:\Program Files\Korvanta\Support\;)"
            LR"(C:\Program Files\Korvanta\Data\UGO\GOST_2.701\;)"
            LR"(C:\Program Files\Korvanta\Data\UGO\Rele\;)" +
                acade + LR"(iec2\;)" + acade + LR"(iec2\1-;)" + acade + LR"(pneu_iso125\;)" + acade +
                LR"(hyd_iso125\;)" + acade + LR"(pid\;)");
  EXPECT_EQ(kvs::gost_panel_list({L"Shkaf", L"Pult"}, docs, L"2015"),
            LR"(C:\Program Files\Korvanta\Data\Montajnie_sxemi\Shkaf\;)"
            LR"(C:\Program Files\Korvanta\Data\Montajnie_sxemi\Pult\;)" +
                acade + LR"(panel\;)");
  EXPECT_EQ(kvs::stock_symbol_list(docs, L"2015"), acade + LR"(IEC2\;)" + acade + LR"(IEC2\1-\;)" + acade +
                                                       LR"(pneu_iso125\;)" + acade + LR"(hyd_iso125\;)" + acade +
                                                       LR"(pid\;)");
  EXPECT_EQ(kvs::stock_panel_list(docs, L"2015"), acade + LR"(panel\;)");
}

TEST(FolderLists, EmptyDocumentsFolderLeavesBareEntries) {
  EXPECT_EQ(kvs::stock_symbol_list(L"", L"2014"),
            LR"(\Autodesk\Acade 2014\Libs\IEC2\;\Autodesk\Acade 2014\Libs\IEC2\1-\;)"
            LR"(\Autodesk\Acade 2014\Libs\pneu_iso125\;\Autodesk\Acade 2014\Libs\hyd_iso125\;)"
            LR"(\Autodesk\Acade 2014\Libs\pid\;)");
  EXPECT_EQ(kvs::stock_panel_list(L"", L"2014"), LR"(\Autodesk\Acade 2014\Libs\panel\;)");
  EXPECT_EQ(kvs::gost_symbol_list({}, L"", L"2014"),
            LR"(C:\Program Files\Korvanta\Support\;\Autodesk\Acade 2014\Libs\iec2\;)"
            LR"(\Autodesk\Acade 2014\Libs\iec2\1-;\Autodesk\Acade 2014\Libs\pneu_iso125\;)"
            LR"(\Autodesk\Acade 2014\Libs\hyd_iso125\;\Autodesk\Acade 2014\Libs\pid\;)");
}

TEST(FolderLists, PanelListWithoutSubfoldersIsTheStockPanelEntry) {
  const std::wstring docs = L"C:\\users\\Public\\Documents";
  EXPECT_EQ(kvs::gost_panel_list({}, docs, L"2015"), kvs::stock_panel_list(docs, L"2015"));
}

TEST(FolderScanFilter, TakesOnlyPlainFolders) {
  const struct {
    std::uint32_t attributes;
    const wchar_t* name;
    bool taken;
  } cases[] = {
      {16, L"GOST_A", true}, {16, L"...", true},    {16, L".hidden", true}, {17, L"GOST_A", false},
      {18, L"GOST_A", false}, {48, L"GOST_A", false}, {16 | 0x2000, L"GOST_A", false},
      {32, L"file.dwg", false}, {0, L"GOST_A", false}, {16, L".", false},      {16, L"..", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(kvs::is_plain_library_folder(c.attributes, c.name), c.taken) << "attributes " << c.attributes;
  }
}

}  // namespace

namespace {

// Every spelling names a place under the one installation folder, letter case and slashes aside.
TEST(InstallLayout, EverySpellingLiesUnderTheRoot) {
  const auto folded = [](std::wstring s) {
    for (wchar_t& c : s) c = c == L'/' ? L'\\' : static_cast<wchar_t>(std::towlower(c));
    return s;
  };
  namespace install = kvs::install;
  for (const wchar_t* spelling : {install::kSupportFolder, install::kUgoFolder, install::kPanelFolder,
                                  install::kGostMenuFile, install::kCatalogFolder, install::kTemplateFolder,
                                  install::kSupportPathEntry, install::kMenuFile, install::kPlcDatabase,
                                  install::kRestoreProgram}) {
    EXPECT_EQ(folded(spelling).rfind(folded(install::kRoot), 0), 0u) << ::testing::PrintToString(std::wstring(spelling));
  }
}

}  // namespace
