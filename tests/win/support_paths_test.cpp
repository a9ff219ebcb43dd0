// AutoCAD's support path and template folder as a switch leaves them in the profile, and what
// the command line shows when the automation objects fail.
#include <comdef.h>

#include "commands/support_paths.h"
#include "switch_fixture.h"

using namespace testing_support;

namespace {

const wchar_t kEntry[] = L"c:\\program files\\korvanta\\support;";
const wchar_t kGostTemplates[] = L"c:\\Program Files\\Korvanta\\Data\\Template";

class SupportPaths : public switch_fixture::SwitchSession {
 protected:
  void TearDown() override {
    EXPECT_EQ(acadhost::automationReferences(), 0) << "every interface reference is released";
    SwitchSession::TearDown();
  }
  std::wstring comMessage(HRESULT hr) {
    try {
      acadhost::failAutomation(L"put_SupportPath", hr);
      fSetSupportPath(1);
    } catch (...) {
      ADD_FAILURE() << "a failure while setting is caught inside";
    }
    acadhost::clearAutomationFailures();
    std::wstring printed = acadhost::transcript();
    acadhost::clearTranscript();
    // One line that says what could not be done, and AutoCAD's own words for why.
    const std::wstring said = L"Cannot change AutoCAD's support path and template folder: ";
    EXPECT_EQ(printed.substr(0, said.size()), said);
    EXPECT_EQ(printed.substr(printed.size() - 1), L"\n");
    return printed.substr(said.size(), printed.size() - said.size() - 1);
  }
};

TEST_F(SupportPaths, GostPutsTheEntryInFrontOnceAndPersistsForTheNextSession) {
  regWriteString(HKEY_CURRENT_USER, L"SOFTWARE\\Korvanta", L"Projects", L"");  // the key the add-on makes at start-up
  start(L"C:\\Acad\\Support;C:\\Acad\\Fonts");
  fSetSupportPath(1);
  fSetSupportPath(1);
  EXPECT_EQ(setting(L"ACAD"), std::wstring(kEntry) + L"C:\\Acad\\Support;C:\\Acad\\Fonts");
  EXPECT_EQ(setting(L"TemplatePath"), kGostTemplates);
  EXPECT_EQ(acadhost::transcript(), L"Support path changed.\nSupport path changed.\n");

  // A later session reads what this one stored.
  acadhost::endSession();
  ASSERT_TRUE(acadhost::startSession({}));
  fSetSupportPath(2);
  EXPECT_EQ(setting(L"ACAD"), L"C:\\Acad\\Support;C:\\Acad\\Fonts");
  EXPECT_EQ(setting(L"TemplatePath"), L"C:\\Old\\Template") << "the folder the switch to GOST replaced";
}

// Only the add-on's own support folder counts, as kvs_status tells it.
TEST_F(SupportPaths, OnlyTheAddonsFolderCountsAsPresent) {
  start(L"C:\\Acad\\Support;D:\\KORVANTA\\Tools");
  fSetSupportPath(1);
  EXPECT_EQ(setting(L"ACAD"), std::wstring(kEntry) + L"C:\\Acad\\Support;D:\\KORVANTA\\Tools");
  acadhost::endSession();
  start(L"C:\\Acad\\Support;C:/Program Files/KORVANTA/Support/");
  fSetSupportPath(1);
  EXPECT_EQ(setting(L"ACAD"), L"C:\\Acad\\Support;C:/Program Files/KORVANTA/Support/");
  EXPECT_EQ(setting(L"TemplatePath"), kGostTemplates);
  EXPECT_EQ(acadhost::transcript(), L"Support path changed.\n");
}

TEST_F(SupportPaths, EmptySupportPathGetsJustTheEntry) {
  start(L"");
  fSetSupportPath(1);
  EXPECT_EQ(setting(L"ACAD"), kEntry);
}

TEST_F(SupportPaths, SwitchBackRemovesEveryEntryInAnyCaseAndKeepsTheRestAsWritten) {
  start(L"C:\\Program Files\\Korvanta\\Support;C:\\Acad\\Support;c:\\program files\\korvanta\\support;C:\\Acad\\Fonts",
        L"C:\\Logs\\", kGostTemplates);
  fSetSupportPath(2);
  EXPECT_EQ(setting(L"ACAD"), L"C:\\Acad\\Support;C:\\Acad\\Fonts");
  EXPECT_EQ(setting(L"TemplatePath"), L"C:\\Logs\\Template");
  EXPECT_EQ(acadhost::transcript(), L"");
}

TEST_F(SupportPaths, SwitchBackRemovesALastEntryWithoutSemicolonAndJoinsThePlotLogPathAsItIs) {
  start(L"C:\\Acad\\Support;C:\\Program Files\\Korvanta\\Support", L"C:\\Logs", kGostTemplates);
  fSetSupportPath(2);
  EXPECT_EQ(setting(L"ACAD"), L"C:\\Acad\\Support");
  EXPECT_EQ(setting(L"TemplatePath"), L"C:\\LogsTemplate");
}

TEST_F(SupportPaths, AFailureWhileSettingIsPrintedAndKeepsWhatWasWritten) {
  start(L"C:\\Acad\\Support");
  EXPECT_EQ(comMessage(0x80040205), L"IDispatch error #5");
  EXPECT_EQ(comMessage(0x80040200), L"Unknown error 0x80040200");
  EXPECT_EQ(comMessage(static_cast<HRESULT>(0xA0001234)), L"Unknown error 0xA0001234");
  // A code the system describes: its own text, without the final line break.
  wchar_t described[512] = {};
  ASSERT_GT(FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, E_ACCESSDENIED,
                           MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), described, 512, nullptr),
            2u);
  std::wstring expected = described;
  ASSERT_EQ(expected.substr(expected.size() - 2), L"\r\n");
  EXPECT_EQ(comMessage(E_ACCESSDENIED), expected.substr(0, expected.size() - 2));

  // The template folder written before the failure stays; the support path is untouched.
  EXPECT_EQ(setting(L"TemplatePath"), kGostTemplates);
  EXPECT_EQ(setting(L"ACAD"), L"C:\\Acad\\Support");

  acadhost::failAutomation(L"get_PlotLogFilePath", E_FAIL);
  regWriteString(HKEY_CURRENT_USER, switch_fixture::kGeneral, L"TemplatePath", L"unchanged");
  fSetSupportPath(2);
  EXPECT_FALSE(acadhost::transcript().empty());
  EXPECT_EQ(setting(L"TemplatePath"), L"unchanged");
  EXPECT_EQ(setting(L"ACAD"), L"C:\\Acad\\Support");
}

TEST_F(SupportPaths, FailuresWhileObtainingTheObjectsLeaveTheCall) {
  start(L"C:\\Acad\\Support");
  const auto raised = [](int tip) -> HRESULT {
    try {
      fSetSupportPath(tip);
    } catch (const _com_error& e) {
      return e.Error();
    }
    return S_OK;
  };
  acadhost::setAutomationMissing(true);
  EXPECT_EQ(raised(1), E_POINTER);
  // Wine has no description for E_POINTER.
  EXPECT_STREQ(_com_error(E_POINTER).ErrorMessage(), L"Unknown error 0x80004003");
  acadhost::clearAutomationFailures();
  for (const wchar_t* accessor : {L"get_Preferences", L"get_Files", L"get_SupportPath"}) {
    acadhost::failAutomation(accessor, E_ACCESSDENIED);
    EXPECT_EQ(raised(1), E_ACCESSDENIED) << accessor;
    EXPECT_EQ(raised(2), E_ACCESSDENIED) << accessor;
    acadhost::clearAutomationFailures();
  }
  EXPECT_EQ(acadhost::transcript(), L"");
  EXPECT_EQ(setting(L"TemplatePath"), L"C:\\Old\\Template");
  EXPECT_EQ(setting(L"ACAD"), L"C:\\Acad\\Support");
}

}  // namespace
