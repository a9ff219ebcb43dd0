// The registered-projects value and the start-up and quit passes, against real files and
// the real "Projects" value.
#include <algorithm>
#include <memory>
#include <vector>

#include "acadhost/host_api.h"
#include "commands/project_list.h"
#include "project_switch_fixture.h"

using namespace testing_support;
using switch_fixture::kAddonKey;

namespace {

using ProjectList = switch_fixture::ProjectSwitch;

void setRaw(const void* data, DWORD bytes) {
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kAddonKey, 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
  RegSetValueExW(key, L"Projects", 0, REG_SZ, static_cast<const BYTE*>(data), bytes);
  RegCloseKey(key);
}

TEST_F(ProjectList, ReadTakesWholeCharactersUpToTheFirstNul) {
  EXPECT_EQ(read_projects(), L"");  // key without the value
  const wchar_t unterminated[] = {L'A', L';', L'B'};
  setRaw(unterminated, sizeof unterminated + 1);
  EXPECT_EQ(read_projects(), L"A;B");
  const wchar_t embedded[] = L"A;\0B;";
  setRaw(embedded, sizeof embedded);
  EXPECT_EQ(read_projects(), L"A;");
  RegDeleteTreeW(HKEY_CURRENT_USER, kAddonKey);
  std::wstring text = L"x";
  EXPECT_EQ(read_projects_value(text), ProjectsValue::Absent);
  EXPECT_EQ(text, L"");
}

TEST_F(ProjectList, WriteStoresTheTextAndItsNulAsRegSz) {
  write_projects(L"C:\\Проект.wdp;");
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kAddonKey, 0, KEY_QUERY_VALUE, &key), ERROR_SUCCESS);
  DWORD type = 0, bytes = 0;
  EXPECT_EQ(RegQueryValueExW(key, L"Projects", nullptr, &type, nullptr, &bytes), ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(bytes, 15u * sizeof(wchar_t));
  EXPECT_EQ(list(), L"C:\\Проект.wdp;");

  RegDeleteTreeW(HKEY_CURRENT_USER, kAddonKey);
  write_projects(L"A;");  // no key: nothing stored, nothing printed
  EXPECT_FALSE(regKeyExists(HKEY_CURRENT_USER, kAddonKey));
  EXPECT_TRUE(transcript().empty());
}

TEST_F(ProjectList, FirstRunWithoutTheValueDoesNothing) {
  std::wstring p = makeProject(L"a.wdp");
  init_projects();
  deinit_projects();
  EXPECT_TRUE(transcript().empty()) << toUtf8(transcript());
  EXPECT_EQ(list(), L"<missing>");
  EXPECT_FALSE(rewritten(p));
}

TEST_F(ProjectList, StartupSwitchesEveryEntryHoweverSeparated) {
  std::wstring a = makeProject(L"a.wdp"), b = makeProject(L"b.wdp");
  // Stored as another type, which a store would turn into REG_SZ.
  setList(L";" + a + L";;" + b, REG_EXPAND_SZ);
  init_projects();
  EXPECT_TRUE(rewritten(a));
  EXPECT_TRUE(rewritten(b));
  EXPECT_EQ(record20(b), L"kvdata.env");
  // AutoCAD's paths move once for the whole pass, and say so once.
  EXPECT_EQ(transcript(), L"Support path changed.\n");
  std::wstring text;
  DWORD type = 0;
  ASSERT_TRUE(list(text, &type));
  EXPECT_EQ(text, L";" + a + L";;" + b);
  EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
}

TEST_F(ProjectList, StartupDropsOnlyProjectsThatAreGone) {
  std::wstring a = makeProject(L"a.wdp"), c = makeProject(L"c.wdp");
  std::wstring b = dir_.path() + L"deleted.wdp";
  setList(a + L";" + b + L";" + c + L";");
  init_projects();
  EXPECT_EQ(list(), a + L";" + c + L";");
  EXPECT_TRUE(rewritten(a));
  EXPECT_TRUE(rewritten(c));

  // A gone entry takes its later duplicates with it, in any letter case; a locked one stays
  // and is named.
  std::wstring locked = makeProject(L"locked.wdp");
  std::wstring spelled = dir_.path() + L"DELETED.WDP";
  setList(b + L";" + locked + L";" + spelled + L";");
  acadhost::clearTranscript();
  {
    switch_fixture::WriteLock lock(locked);
    init_projects();
  }
  EXPECT_EQ(list(), locked + L";");
  EXPECT_FALSE(rewritten(locked));
  EXPECT_NE(transcript().find(L"Cannot open project file " + locked + L": "), std::wstring::npos)
      << toUtf8(transcript());
  EXPECT_NE(transcript().find(L"Project file " + locked + L" stays registered and will be tried again at the next start.\n"),
            std::wstring::npos)
      << toUtf8(transcript());
}

TEST_F(ProjectList, AnInstallationFailureKeepsEveryEntry) {
  std::wstring a = makeProject(L"a.wdp"), b = makeProject(L"b.wdp");
  setList(a + L";" + b + L";", REG_EXPAND_SZ);
  {
    MissingUgoFolder missing;
    ASSERT_FALSE(fileExists(kUgoFolder));
    init_projects();
  }
  std::wstring out = transcript();
  const std::wstring notFound = L"Cannot switch to GOST: the add-on's folder C:\\Program Files\\Korvanta\\Data\\UGO\\ cannot be listed (";
  std::size_t first = out.find(notFound);
  ASSERT_NE(first, std::wstring::npos) << toUtf8(out);
  EXPECT_NE(out.find(notFound, first + 1), std::wstring::npos) << toUtf8(out);
  std::wstring text;
  DWORD type = 0;
  ASSERT_TRUE(list(text, &type));
  EXPECT_EQ(text, a + L";" + b + L";");
  EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
  EXPECT_FALSE(rewritten(a));
}

TEST_F(ProjectList, QuitSwitchesBackAndNeverStoresEvenWhenAnEntryFails) {
  std::wstring a = makeProject(L"a.wdp"), b = makeProject(L"b.wdp");
  std::wstring gone = dir_.path() + L"gone.wdp";
  ASSERT_EQ(switch_project(a, 1), SwitchResult::Switched);
  ASSERT_EQ(switch_project(b, 1), SwitchResult::Switched);
  setList(a + L";" + gone + L";" + b, REG_EXPAND_SZ);
  deinit_projects();
  EXPECT_TRUE(rewritten(a));
  EXPECT_TRUE(rewritten(b));
  EXPECT_EQ(record20(a), L"wd.env");
  std::wstring text;
  DWORD type = 0;
  ASSERT_TRUE(list(text, &type));
  EXPECT_EQ(text, a + L";" + gone + L";" + b);
  EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
}

// Two processes of the user register projects at the same moments, as two AutoCAD sessions
// running kvs_on do: every registration is there at the end.
TEST_F(ProjectList, TwoProcessesRegisteringAtOnceLoseNothing) {
  setList(L"");
  std::vector<std::wstring> expected;
  std::vector<std::unique_ptr<RunningProcess>> writers;
  for (const std::wstring session : {L"a", L"b"}) {
    for (int i = 0; i < 100; ++i) expected.push_back(dir_.path() + session + std::to_wstring(i) + L".wdp");
    writers.emplace_back(new RunningProcess(inQuotes(binDir() + L"projects_writer.exe") + L" " +
                                            inQuotes(dir_.path() + session) + L" 100"));
    ASSERT_TRUE(writers.back()->waitForOutput("ready", 30000));
  }
  for (auto& writer : writers) writer->send("go\n");
  for (auto& writer : writers) EXPECT_EQ(writer->finish().exitCode, 0u);
  std::vector<std::wstring> entries = kvs::list_entries(read_projects());
  std::sort(entries.begin(), entries.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(entries, expected);
}

}  // namespace
