// kvs_on and kvs_off against real project files and the real "Projects" value, and the
// host's side of the active-project query.
#include <windows.h>

#include <sddl.h>

#include <algorithm>

#include "acadhost/host_api.h"
#include "aced.h"
#include "commands/com_errors.h"
#include "commands/project_list.h"
#include "frame/KVS_switchApp.h"
#include "project_switch_fixture.h"

using namespace testing_support;
using switch_fixture::kAddonKey;

namespace {

const std::wstring kCaption = said(L"Information", L"Информация");
const std::wstring kOnText =
    said(L"The project is switched to the GOST library.\nProject name ", L"Проект переключен на библиотеку ГОСТ.\nИмя проекта ");
const std::wstring kOffText =
    said(L"The project is switched to the ACADE library.\nProject name ", L"Проект переключен на библиотеку ACADE.\nИмя проекта ");

// Upper case as Windows makes it, independently of the add-on's own comparison.
std::wstring upper(std::wstring s) {
  CharUpperBuffW(&s[0], static_cast<DWORD>(s.size()));
  return s;
}

class SwitchCommands : public switch_fixture::ProjectSwitch {
 protected:
  void on() { CKVS_switchApp::KVS_switchkvs_on(); }
  void off() { CKVS_switchApp::KVS_switchkvs_off(); }
  std::vector<acadhost::MessageBoxRecord> boxes() const { return acadhost::messageBoxes(); }
};

TEST_F(SwitchCommands, FirstKvsOnRegistersTheProjectAndConfirms) {
  std::wstring p = makeProject(L"Щит 1\\Щит.wdp");
  acadhost::setActiveProject(p);
  on();
  EXPECT_TRUE(rewritten(p));
  EXPECT_EQ(record20(p), L"kvdata.env");
  EXPECT_EQ(list(), p + L";");
  auto shown = boxes();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, kCaption);
  EXPECT_EQ(shown[0].text, kOnText + p);
  EXPECT_EQ(shown[0].type, static_cast<unsigned>(MB_OK | MB_ICONINFORMATION));
}

TEST_F(SwitchCommands, KvsOnOnARegisteredProjectRewritesTheFileWithoutABox) {
  for (const wchar_t* spelling : {L"Demo\\Demo.wdp", L"Demo\\demo.WDP", L"Demo/demo.WDP", L"Demo\\..\\Demo\\Demo.wdp"}) {
    std::wstring p = makeProject(L"Demo\\Demo.wdp");
    std::wstring stored = L"X;" + dir_.path() + spelling + L";";
    setList(stored);
    acadhost::setActiveProject(p);
    on();
    EXPECT_TRUE(rewritten(p));
    EXPECT_EQ(list(), stored);
    EXPECT_TRUE(boxes().empty());
  }
}

TEST_F(SwitchCommands, KvsOffOnAnUnregisteredProjectSaysSoWithoutABox) {
  std::wstring p = makeProject(L"Demo\\Demo.wdp");
  // A registered project whose path merely contains this one's is another project.
  setList(p + L"x;X:" + p + L";");
  acadhost::setActiveProject(p);
  off();
  EXPECT_FALSE(rewritten(p)) << "on the stock library already";
  EXPECT_EQ(transcript(), L"Project file " + p + L" is already on the stock ACADE library; nothing written. It was not registered.\n");
  ASSERT_EQ(switch_project(p, 1), SwitchResult::Switched);
  acadhost::clearTranscript();
  off();
  EXPECT_EQ(record20(p), L"wd.env");
  EXPECT_EQ(transcript(), L"Project file " + p + L" is switched back to the stock ACADE library. It was not registered.\n");
  EXPECT_EQ(list(), p + L"x;X:" + p + L";");
  EXPECT_TRUE(boxes().empty());
}

TEST_F(SwitchCommands, KvsOffRemovesEveryRegistrationHoweverSpelled) {
  std::wstring p = makeProject(L"Проект\\Пульт.wdp");
  setList(p + L";C:\\Other.wdp;" + upper(p) + L";" + p);
  // ACADE gives the project as C:/.../пульт.WDP.
  std::wstring spelled = dir_.path() + L"Проект/пульт.WDP";
  std::replace(spelled.begin(), spelled.end(), L'\\', L'/');
  acadhost::setActiveProject(spelled);
  on();
  off();
  EXPECT_EQ(list(), L"C:\\Other.wdp;");
  auto shown = boxes();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, kCaption);
  EXPECT_EQ(shown[0].text, kOffText + spelled);
}

TEST_F(SwitchCommands, KvsOnThenKvsOffLeavesTheListAsItWas) {
  std::wstring p = makeProject(L"a.wdp");
  setList(L"C:\\One.wdp;;C:\\Two.wdp");
  acadhost::setActiveProject(p);
  on();
  EXPECT_EQ(list(), L"C:\\One.wdp;;C:\\Two.wdp;" + p + L";");
  off();
  EXPECT_EQ(list(), L"C:\\One.wdp;;C:\\Two.wdp;");
  EXPECT_EQ(boxes().size(), 2u);
}

TEST_F(SwitchCommands, APathWithASeparatorIsSwitchedButNotRemembered) {
  std::wstring p = makeProject(L"a;b\\p.wdp");
  acadhost::setActiveProject(p);
  on();
  EXPECT_TRUE(rewritten(p));
  EXPECT_NE(transcript().find(L"cannot be remembered: its path contains a semicolon.\n"), std::wstring::npos)
      << toUtf8(transcript());
  EXPECT_EQ(list(), L"<missing>");
  EXPECT_TRUE(boxes().empty());
}

// Lets the key's values be written but not read, as a damaged or foreign ACL would.
class UnreadableValues {
 public:
  UnreadableValues() { ok_ = setDacl(L"D:(D;;0x0001;;;WD)(A;;KA;;;WD)"); }
  ~UnreadableValues() { setDacl(L"D:(A;;KA;;;WD)"); }
  bool ok() const { return ok_; }

 private:
  static bool setDacl(const wchar_t* sddl) {
    PSECURITY_DESCRIPTOR sd = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &sd, nullptr)) return false;
    HKEY key = nullptr;
    bool ok = RegOpenKeyExW(HKEY_CURRENT_USER, kAddonKey, 0, WRITE_DAC, &key) == ERROR_SUCCESS &&
              RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, sd) == ERROR_SUCCESS;
    if (key) RegCloseKey(key);
    LocalFree(sd);
    return ok;
  }
  bool ok_ = false;
};

TEST_F(SwitchCommands, AnUnreadableListIsNeverReplaced) {
  std::wstring p = makeProject(L"a.wdp");
  std::wstring kept = makeProject(L"kept.wdp");
  ASSERT_EQ(switch_project(kept, 1), SwitchResult::Switched);
  setList(kept + L";");
  acadhost::setActiveProject(p);
  {
    UnreadableValues guard;
    ASSERT_TRUE(guard.ok());
    std::wstring seen;
    ASSERT_EQ(read_projects_value(seen), ProjectsValue::Unreadable);
    on();
    EXPECT_NE(transcript().find(L"cannot be remembered: the list of switched projects cannot be read.\n"),
              std::wstring::npos)
        << toUtf8(transcript());
    acadhost::setActiveProject(kept);
    off();
    EXPECT_NE(transcript().find(L"cannot be forgotten: the list of switched projects cannot be read.\n"),
              std::wstring::npos)
        << toUtf8(transcript());
  }
  EXPECT_TRUE(rewritten(p));
  EXPECT_TRUE(rewritten(kept));
  EXPECT_EQ(list(), kept + L";");
  EXPECT_TRUE(boxes().empty());
}

TEST_F(SwitchCommands, NoActiveProjectIsSaidAndChangesNothing) {
  std::wstring p = makeProject(L"a.wdp");
  setList(p + L";");
  on();
  off();
  EXPECT_EQ(transcript(), L"Nothing to switch: ACADE has no active project.\n"
                          L"Nothing to switch: ACADE has no active project.\n");
  EXPECT_FALSE(rewritten(p));
  EXPECT_EQ(list(), p + L";");
  EXPECT_TRUE(boxes().empty());
}

TEST_F(SwitchCommands, AFailedSwitchLeavesTheListAndShowsNoBox) {
  std::wstring gone = dir_.path() + L"gone.wdp";
  std::wstring readOnly = makeProject(L"ro.wdp");
  switch_fixture::WriteLock lock(readOnly);
  setList(gone + L";" + readOnly + L";");

  acadhost::setActiveProject(gone);
  off();
  acadhost::setActiveProject(readOnly);
  off();
  EXPECT_EQ(list(), gone + L";" + readOnly + L";");

  setList(L"");
  acadhost::setActiveProject(gone);
  on();
  acadhost::setActiveProject(readOnly);
  on();
  EXPECT_EQ(list(), L"");
  EXPECT_TRUE(boxes().empty());
}

TEST_F(SwitchCommands, WithoutTheAddonKeyKvsOnStillConfirms) {
  RegDeleteTreeW(HKEY_CURRENT_USER, kAddonKey);
  std::wstring p = makeProject(L"a.wdp");
  acadhost::setActiveProject(p);
  on();
  EXPECT_FALSE(regKeyExists(HKEY_CURRENT_USER, kAddonKey));
  EXPECT_EQ(boxes().size(), 1u);
  off();
  EXPECT_EQ(boxes().size(), 1u);
}

TEST_F(SwitchCommands, AComErrorIsPrintedAndEndsTheSwitch) {
  EXPECT_TRUE(kvs::run_catching_com_errors([] {}));
  EXPECT_TRUE(transcript().empty());
  EXPECT_FALSE(kvs::run_catching_com_errors([] { throw kvs::ComError(E_POINTER); }));
  std::wstring message = kvs::ComError(E_POINTER).ErrorMessage();
  EXPECT_FALSE(message.empty());
  EXPECT_EQ(transcript(), message);
}

using ActiveProjectQuery = switch_fixture::ProjectSwitch;

TEST_F(ActiveProjectQuery, AnswersThePathOrAnErrorWithoutResult) {
  resbuf* args = acutBuildList(RTSTR, L"ace_getactiveproject", 0);
  ASSERT_NE(args, nullptr);
  EXPECT_EQ(args->restype, RTSTR);
  EXPECT_EQ(args->rbnext, nullptr);

  resbuf* result = reinterpret_cast<resbuf*>(1);
  EXPECT_EQ(acedInvoke(args, &result), RTERROR);
  EXPECT_EQ(result, nullptr);

  acadhost::runLine(L"ACTIVEPROJECT \"C:\\Проекты\\Demo 1.wdp\"");
  ASSERT_EQ(acedInvoke(args, &result), RTNORM);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(result->restype, RTSTR);
  EXPECT_STREQ(result->resval.rstring, L"C:\\Проекты\\Demo 1.wdp");
  EXPECT_EQ(result->rbnext, nullptr);
  acutRelRb(result);

  acadhost::runLine(L"ACTIVEPROJECT");
  EXPECT_NE(transcript().find(L"Active project: C:\\Проекты\\Demo 1.wdp\n"), std::wstring::npos);
  acadhost::runLine(L"ACTIVEPROJECT \"\"");
  EXPECT_EQ(acedInvoke(args, &result), RTERROR);
  acutRelRb(args);

  resbuf* other = acutBuildList(RTSTR, L"ace_no_such_function", 0);
  acadhost::setActiveProject(L"C:\\p.wdp");
  EXPECT_EQ(acedInvoke(other, &result), RTERROR);
  EXPECT_EQ(result, nullptr);
  acutRelRb(other);
}

}  // namespace
