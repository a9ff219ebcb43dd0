#include "commands/project_list_text.h"

#include <gtest/gtest.h>

#include <map>
#include <unordered_set>

namespace {

using Entries = std::vector<std::wstring>;

// The plug-in keys entries by the file they reach; here letter case and "/" stand for that.
std::wstring key(const std::wstring& path) { return kvs::folded_path(path); }

TEST(ProjectList, WalkSkipsRunsOfSeparatorsAndKeepsALastEntryWithoutOne) {
  EXPECT_EQ(kvs::list_entries(L"A;;B;"), (Entries{L"A", L"B"}));
  EXPECT_EQ(kvs::list_entries(L";A"), (Entries{L"A"}));
  EXPECT_EQ(kvs::list_entries(L"A;B"), (Entries{L"A", L"B"}));
  EXPECT_EQ(kvs::list_entries(L" C:\\p.wdp ;;;"), (Entries{L" C:\\p.wdp "}));
  EXPECT_TRUE(kvs::list_entries(L";;;").empty());
  EXPECT_TRUE(kvs::list_entries(L"").empty());
}

TEST(ProjectList, PathsMatchWholeAndIgnoringLetterCase) {
  EXPECT_TRUE(kvs::same_path(L"C:\\Proj\\Demo.wdp", L"c:\\PROJ\\demo.WDP"));
  EXPECT_TRUE(kvs::same_path(L"D:\\Проекты\\Щит ёж.wdp", L"d:\\ПРОЕКТЫ\\щИТ ЁЖ.WDP"));
  EXPECT_TRUE(kvs::same_path(L"\u00e9t\u00e9\u00ff\u0151", L"\u00c9T\u00c9\u0178\u0150"));
  EXPECT_FALSE(kvs::same_path(L"C:\\a.wdp", L"C:\\a.wdp "));
  EXPECT_FALSE(kvs::same_path(L"C:\\a", L"C:\\b"));
  // Letters that only look alike stay apart: Latin A and Cyrillic А, ASCII and full width.
  EXPECT_FALSE(kvs::same_path(L"A", L"\u0410"));
  EXPECT_FALSE(kvs::same_path(L"a", L"\uFF41"));

  EXPECT_TRUE(kvs::list_has_entry(L"x;C:\\P\\A.wdp;", L"c:\\p\\a.WDP", key));
  EXPECT_TRUE(kvs::list_has_entry(L"x;C:\\P\\A.wdp;", L"c:/p/a.WDP", key));
  EXPECT_FALSE(kvs::list_has_entry(L"C:\\P\\A.wdp;", L"P\\A.wdp", key));
  EXPECT_FALSE(kvs::list_has_entry(L"C:\\P\\A.wdp;", L"C:\\P\\A", key));
  EXPECT_FALSE(kvs::list_has_entry(L"C:\\P\\A.wdp;", L"", key));
  EXPECT_EQ(kvs::list_keys(L"C:/P/A.wdp;c:\\p\\a.WDP;B", key), (std::unordered_set<std::wstring>{L"C:\\P\\A.WDP", L"B"}));
}

TEST(ProjectList, RemovalTakesEveryEqualEntryAndLeavesTheRestAsItWas) {
  EXPECT_EQ(kvs::remove_list_entry(L"A;B;a;", L"A", key), L"B;");
  EXPECT_EQ(kvs::remove_list_entry(L"BA;A;AB;", L"A", key), L"BA;AB;");
  EXPECT_EQ(kvs::remove_list_entry(L";;A;;B;A", L"a", key), L";;;B;");
  EXPECT_EQ(kvs::remove_list_entry(L"A;B;", L"C", key), L"A;B;");
  EXPECT_EQ(kvs::remove_list_entry(L"A;", L"A", key), L"");
  EXPECT_EQ(kvs::remove_list_entry(L"C:/p/A.wdp;C:/p/b.wdp;", L"c:\\P\\a.wdp", key), L"C:/p/b.wdp;");
}

TEST(ProjectList, AppendingNeverRunsIntoALastEntryWithoutSeparator) {
  EXPECT_EQ(kvs::append_list_entry(L"", L"C:\\p.wdp"), L"C:\\p.wdp;");
  EXPECT_EQ(kvs::append_list_entry(L"A;", L"B"), L"A;B;");
  EXPECT_EQ(kvs::append_list_entry(L"A", L"B"), L"A;B;");
  EXPECT_EQ(kvs::list_entries(kvs::append_list_entry(L"A", L"B")), (Entries{L"A", L"B"}));
}

// Records what a pass does: the entries it switches and the lists it stores. `value` stands
// for the registry's, which each drop reads again.
struct PassLog {
  std::map<std::wstring, SwitchResult> outcomes;  // entries not named here switch
  std::map<std::wstring, std::wstring> added;     // switching the entry, another session adds this
  Entries tried;
  Entries stored;
  std::wstring value;

  kvs::SwitchEntry switcher() {
    return [this](const std::wstring& e) {
      tried.push_back(e);
      if (added.count(e)) value = kvs::append_list_entry(value, added[e]);
      auto it = outcomes.find(e);
      return it == outcomes.end() ? SwitchResult::Switched : it->second;
    };
  }
  void run(const std::wstring& list) {
    value = list;
    kvs::run_startup_pass(list, switcher(), [this](const Entries& spellings) {
      value = kvs::remove_list_spellings(value, spellings);
      stored.push_back(value);
    }, key);
  }
};

TEST(StartupPass, DropsAnUnusableProjectWithOneStoreAndVisitsTheRestOnce) {
  PassLog log;
  log.outcomes[L"B"] = SwitchResult::FileGone;
  log.run(L"A;B;C;");
  EXPECT_EQ(log.tried, (Entries{L"A", L"B", L"C"}));
  EXPECT_EQ(log.stored, (Entries{L"A;C;"}));
}

TEST(StartupPass, LaterDuplicatesGoWithTheDroppedEntryUnvisited) {
  PassLog log;
  log.outcomes[L"A"] = SwitchResult::FileGone;
  log.run(L"A;B;A;");
  EXPECT_EQ(log.tried, (Entries{L"A", L"B"}));
  EXPECT_EQ(log.stored, (Entries{L"B;"}));

  PassLog cased;
  cased.outcomes[L"C:\\P.wdp"] = SwitchResult::FileGone;
  cased.run(L"C:\\P.wdp;B;c:/p.WDP;");
  EXPECT_EQ(cased.tried, (Entries{L"C:\\P.wdp", L"B"}));
  EXPECT_EQ(cased.stored, (Entries{L"B;"}));
}

TEST(StartupPass, ADropKeepsWhatAnotherSessionAddedMeanwhile) {
  PassLog log;
  log.outcomes[L"B"] = SwitchResult::FileGone;
  log.added[L"A"] = L"D";
  log.run(L"A;B;C;");
  EXPECT_EQ(log.stored, (Entries{L"A;C;D;"}));
}

TEST(StartupPass, EachDropIsStoredWithTheEarlierOnes) {
  PassLog log;
  for (const wchar_t* e : {L"A", L"B", L"C"}) log.outcomes[e] = SwitchResult::FileGone;
  log.run(L"A;;B;C");
  EXPECT_EQ(log.tried, (Entries{L"A", L"B", L"C"}));
  EXPECT_EQ(log.stored, (Entries{L";B;C", L";C", L";"}));
}

TEST(StartupPass, OnlyAProjectThatIsGoneIsDroppedAndEachIsTriedOnce) {
  PassLog log;
  log.outcomes[L"A"] = SwitchResult::Installation;
  log.outcomes[L"B"] = SwitchResult::FileUnusable;
  log.run(L"A;B;a;");
  EXPECT_EQ(log.tried, (Entries{L"A", L"B"}));
  EXPECT_TRUE(log.stored.empty());
}

TEST(StartupPass, AnAbortEndsThePassKeepingDropsAlreadyStored) {
  PassLog log;
  log.outcomes[L"A"] = SwitchResult::FileGone;
  log.outcomes[L"B"] = SwitchResult::Aborted;
  log.run(L"A;B;C;D;");
  EXPECT_EQ(log.tried, (Entries{L"A", L"B"}));
  EXPECT_EQ(log.stored, (Entries{L"B;C;D;"}));
}

TEST(StartupPass, AnEmptyListSwitchesAndStoresNothing) {
  PassLog log;
  log.run(L"");
  log.run(L";;");
  EXPECT_TRUE(log.tried.empty());
  EXPECT_TRUE(log.stored.empty());
}

TEST(QuitPass, VisitsEveryEntryDespiteFailuresUntilAnAbort) {
  PassLog log;
  log.outcomes[L"A"] = SwitchResult::FileGone;
  kvs::run_quit_pass(L"A;B;A", log.switcher());
  EXPECT_EQ(log.tried, (Entries{L"A", L"B", L"A"}));

  PassLog aborted;
  aborted.outcomes[L"B"] = SwitchResult::Aborted;
  kvs::run_quit_pass(L"A;B;C;", aborted.switcher());
  EXPECT_EQ(aborted.tried, (Entries{L"A", L"B"}));
}

}  // namespace
