// The reactors: the quit sequence of the document-manager reactor, attaching and detaching
// both reactors, and the host's editor and document manager around them.
#include <gtest/gtest.h>

#include <algorithm>

#include "acadhost/host_api.h"
#include "frame/ed_reactor.h"
#include "frame/menu_reactor.h"
#include "support/import_patch.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

const wchar_t kUnloadMenu[] = L"sendStringToExecute (command \"_.cuiunload\" \"korvanta\") ";
const wchar_t kQuitAgain[] = L"sendStringToExecute _.QUIT ";

// The host calls and base handlers that tell what a reactor did, in order.
std::vector<std::wstring> reactorEvents() {
  static const wchar_t* kWatched[] = {L"veto", L"sendStringToExecute", L"documentLockModeChanged base",
                                      L"lock vetoed", L"editor ", L"docManager "};
  std::vector<std::wstring> out;
  for (const auto& e : acadhost::events())
    for (const wchar_t* prefix : kWatched)
      if (e.rfind(prefix, 0) == 0) {
        out.push_back(e);
        break;
      }
  return out;
}

std::size_t countOf(const std::vector<std::wstring>& events, const std::wstring& e) {
  return static_cast<std::size_t>(std::count(events.begin(), events.end(), e));
}

// The quit pass reads the list of registered projects first, and nothing else in these tests
// opens the add-on's key to read it: counting those opens counts the passes.
int listReads = 0;

LSTATUS WINAPI countingOpen(HKEY root, LPCWSTR subKey, DWORD options, REGSAM access, PHKEY key) {
  if (root == HKEY_CURRENT_USER && subKey && _wcsicmp(subKey, L"SOFTWARE\\Korvanta") == 0 && access == KEY_QUERY_VALUE)
    ++listReads;
  // This module's own import is the patched one: the original comes from the library itself.
  static const auto original = reinterpret_cast<decltype(&RegOpenKeyExW)>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"advapi32.dll"), "RegOpenKeyExW")));
  return original(root, subKey, options, access, key);
}

int deinitProjectsCalls() { return listReads; }

class Session : public ::testing::Test {
 protected:
  void SetUp() override {
    acadhost::setEcho(false);
    ASSERT_TRUE(acadhost::startSession(acadhost::SessionOptions()));
    ASSERT_TRUE(countOpens_.active());
    acadhost::clearTranscript();
    acadhost::clearEvents();
    partialCuiUnloaded = false;
  }
  void TearDown() override {
    acadhost::endSession();
    acadhost::setEcho(true);
  }
  ImportPatch countOpens_{GetModuleHandleW(nullptr), "advapi32.dll", "RegOpenKeyExW",
                          reinterpret_cast<void*>(&countingOpen)};
  // Reports a lock change to the reactor as the host does before a command.
  static void lockFor(CMenuReactor& r, const wchar_t* globalName) {
    r.documentLockModeChanged(acDocManagerPtr()->curDocument(), AcAp::kNotLocked, AcAp::kWrite, AcAp::kWrite,
                              globalName);
  }
};

using QuitSequence = Session;

TEST_F(QuitSequence, QuitOrExitIsVetoedOnceWithTheMenuUnloadQueuedBeforeTheSecondQuit) {
  for (const wchar_t* name : {L"QUIT", L"EXIT"}) {
    SetUp();
    CMenuReactor reactor(true);
    acadhost::clearEvents();
    int deinitBefore = deinitProjectsCalls();
    lockFor(reactor, name);
    std::vector<std::wstring> expected = {L"veto", kUnloadMenu, kQuitAgain};
    EXPECT_EQ(reactorEvents(), expected) << name;  // and no base handler
    EXPECT_EQ(deinitProjectsCalls(), deinitBefore + 1) << name;
    EXPECT_TRUE(partialCuiUnloaded);
  }
}

TEST_F(QuitSequence, OnlyCapitalQuitOrExitAnywhereInTheNameStartsIt) {
  for (const wchar_t* name : {L"ACAD_QUITNOW", L"MYEXIT", L"EXITQUIT", L"_QUIT"}) {
    partialCuiUnloaded = false;
    CMenuReactor reactor(true);
    acadhost::clearEvents();
    lockFor(reactor, name);
    EXPECT_EQ(countOf(reactorEvents(), L"veto"), 1u) << name;
  }
  for (const wchar_t* name : {L"quit", L"exit", L"Quit", L"qUIT", L"EXI T", L"QUI", L"SAVE", L""}) {
    partialCuiUnloaded = false;
    CMenuReactor reactor(true);
    acadhost::clearEvents();
    int deinitBefore = deinitProjectsCalls();
    lockFor(reactor, name);
    EXPECT_EQ(reactorEvents(), std::vector<std::wstring>{L"documentLockModeChanged base " + std::wstring(name)})
        << name;
    EXPECT_EQ(deinitProjectsCalls(), deinitBefore) << name;
    EXPECT_FALSE(partialCuiUnloaded) << name;
  }
}

TEST_F(QuitSequence, OnceRunOnlyTheBaseHandlerRuns) {
  CMenuReactor reactor(true);
  partialCuiUnloaded = true;
  int deinitBefore = deinitProjectsCalls();
  for (const wchar_t* name : {L"QUIT", L"EXIT", L"LINE"}) {
    acadhost::clearEvents();
    lockFor(reactor, name);
    EXPECT_EQ(reactorEvents(), std::vector<std::wstring>{L"documentLockModeChanged base " + std::wstring(name)});
  }
  EXPECT_EQ(deinitProjectsCalls(), deinitBefore);
}

TEST_F(QuitSequence, LockChangeWithoutACommandNameGoesToTheBaseHandler) {
  CMenuReactor reactor(true);
  acadhost::clearEvents();
  lockFor(reactor, nullptr);
  EXPECT_EQ(reactorEvents(), std::vector<std::wstring>{L"documentLockModeChanged base "});
  EXPECT_FALSE(partialCuiUnloaded);
}

// Vetoes the lock of the n-th QUIT it sees, as a user cancelling that quit would.
class QuitCanceller : public AcApDocManagerReactor {
 public:
  explicit QuitCanceller(int which) : which_(which) { acDocManagerPtr()->addReactor(this); }
  ~QuitCanceller() override { acDocManagerPtr()->removeReactor(this); }
  void documentLockModeChanged(AcApDocument*, AcAp::DocLockMode, AcAp::DocLockMode, AcAp::DocLockMode,
                               const ACHAR* name) override {
    if (name && std::wstring(name) == L"QUIT" && ++seen_ == which_) veto();
  }

 private:
  int which_;
  int seen_ = 0;
};

TEST_F(QuitSequence, TypedQuitRunsTheSequenceThenQuitsOnTheQueuedQuit) {
  CMenuReactor reactor(true);
  acadhost::clearEvents();
  int deinitBefore = deinitProjectsCalls();
  acadhost::runLine(L"QUIT");
  EXPECT_TRUE(acadhost::quitRequested());
  EXPECT_EQ(deinitProjectsCalls(), deinitBefore + 1);
  auto events = reactorEvents();
  std::vector<std::wstring> expected = {L"veto", kUnloadMenu, kQuitAgain, L"lock vetoed QUIT",
                                        L"documentLockModeChanged base QUIT"};
  // The queued menu unload runs in between; what it does is the menu's business.
  events.erase(std::remove_if(events.begin(), events.end(),
                              [](const std::wstring& e) {
                                return e.rfind(L"documentLockModeChanged base ", 0) == 0 &&
                                       e != L"documentLockModeChanged base QUIT";
                              }),
               events.end());
  EXPECT_EQ(events, expected);
  std::wstring transcript = acadhost::transcript();
  std::size_t unload = transcript.find(L"Command: (command \"_.cuiunload\" \"korvanta\")");
  std::size_t quit = transcript.find(L"Command: _.QUIT");
  ASSERT_NE(unload, std::wstring::npos) << toUtf8(transcript);
  EXPECT_GT(quit, unload);
}

TEST_F(QuitSequence, ACancelledSecondQuitLeavesLaterQuitsAlone) {
  CMenuReactor reactor(true);
  int deinitBefore = deinitProjectsCalls();
  {
    QuitCanceller cancelSecond(2);
    acadhost::runLine(L"QUIT");
    EXPECT_FALSE(acadhost::quitRequested());
  }
  EXPECT_EQ(deinitProjectsCalls(), deinitBefore + 1);
  acadhost::clearEvents();
  acadhost::runLine(L"EXIT");
  EXPECT_TRUE(acadhost::quitRequested());
  auto events = reactorEvents();
  EXPECT_EQ(countOf(events, L"veto"), 0u);
  EXPECT_EQ(countOf(events, kQuitAgain), 0u);
  EXPECT_EQ(deinitProjectsCalls(), deinitBefore + 1);
}

// Both reactors attach to their own event source, fetched afresh each time.
struct EditorSide {
  using Reactor = CEdReactor;
  static constexpr const wchar_t* add = L"editor addReactor";
  static constexpr const wchar_t* remove = L"editor removeReactor";
  static constexpr const wchar_t* notified = L"editor base commandWillStart ARXUNLOAD";
  static void setAvailable(bool available) { acadhost::setEditorAvailable(available); }
  static AcRxObject* source() { return acedEditor; }
};
struct DocManagerSide {
  using Reactor = CMenuReactor;
  static constexpr const wchar_t* add = L"docManager addReactor";
  static constexpr const wchar_t* remove = L"docManager removeReactor";
  static constexpr const wchar_t* notified = L"documentLockModeChanged base ARXUNLOAD";
  static void setAvailable(bool available) { acadhost::setDocManagerAvailable(available); }
  static AcRxObject* source() { return acDocManagerPtr(); }
};

template <typename Side>
class Attachment : public Session {
 protected:
  // How many times the reactor heard of a command that ran.
  static std::size_t notificationsOfACommand() {
    acadhost::clearEvents();
    acadhost::runLine(L"ARXUNLOAD nothing");
    return countOf(reactorEvents(), Side::notified);
  }
  static std::vector<std::wstring> registrations() {
    std::vector<std::wstring> out;
    for (const auto& e : reactorEvents())
      if (e == Side::add || e == Side::remove) out.push_back(e);
    return out;
  }
};
using Sides = ::testing::Types<EditorSide, DocManagerSide>;
TYPED_TEST_SUITE(Attachment, Sides);

TYPED_TEST(Attachment, ConstructorAttachesOnlyWhenAsked) {
  {
    typename TypeParam::Reactor reactor(true);
    EXPECT_TRUE(reactor.IsAttached());
    EXPECT_EQ(reactor.Subject(), TypeParam::source());
    EXPECT_EQ(this->notificationsOfACommand(), 1u);
  }
  EXPECT_EQ(this->notificationsOfACommand(), 0u);  // the destructor detached it
  typename TypeParam::Reactor idle(false);
  EXPECT_FALSE(idle.IsAttached());
  EXPECT_EQ(this->notificationsOfACommand(), 0u);
}

TYPED_TEST(Attachment, AttachOnAnAttachedReactorReattachesDetachOnADetachedOneDoesNothing) {
  typename TypeParam::Reactor reactor(true);
  acadhost::clearEvents();
  reactor.Attach();
  EXPECT_EQ(this->registrations(), (std::vector<std::wstring>{TypeParam::remove, TypeParam::add}));
  EXPECT_TRUE(reactor.IsAttached());
  EXPECT_EQ(this->notificationsOfACommand(), 1u);

  reactor.Detach();
  EXPECT_FALSE(reactor.IsAttached());
  acadhost::clearEvents();
  reactor.Detach();
  EXPECT_TRUE(this->registrations().empty());
  EXPECT_EQ(this->notificationsOfACommand(), 0u);

  reactor.Attach();
  EXPECT_TRUE(reactor.IsAttached());
  EXPECT_EQ(this->notificationsOfACommand(), 1u);
}

TYPED_TEST(Attachment, WithoutItsEventSourceAReactorStaysDetached) {
  TypeParam::setAvailable(false);
  typename TypeParam::Reactor reactor(true);
  EXPECT_FALSE(reactor.IsAttached());
  EXPECT_EQ(reactor.Subject(), nullptr);
  reactor.Attach();
  EXPECT_FALSE(reactor.IsAttached());
  EXPECT_TRUE(this->registrations().empty());
  TypeParam::setAvailable(true);
  EXPECT_EQ(this->notificationsOfACommand(), 0u);
}

TYPED_TEST(Attachment, DetachWhileTheEventSourceIsGoneKeepsTheFlag) {
  typename TypeParam::Reactor reactor(true);
  TypeParam::setAvailable(false);
  reactor.Detach();
  EXPECT_TRUE(reactor.IsAttached());
  TypeParam::setAvailable(true);
  reactor.Detach();
  EXPECT_FALSE(reactor.IsAttached());
  EXPECT_EQ(this->notificationsOfACommand(), 0u);
}

// The real module in the host: reactors made at start-up, taken down at unload.
using ModuleReactors = Session;

std::wstring pluginPath() { return binDir() + L"KVS_switch_2015.arx"; }

TEST_F(ModuleReactors, StartUpAttachesBothAndUnloadDetachesBothBeforeTheModuleIsFreed) {
  RegistryKeyGuard addonKey(L"SOFTWARE\\Korvanta");
  ASSERT_TRUE(acadhost::loadModule(pluginPath()));
  auto events = reactorEvents();
  EXPECT_EQ(countOf(events, L"editor addReactor"), 1u);
  EXPECT_EQ(countOf(events, L"docManager addReactor"), 1u);

  acadhost::clearEvents();
  acadhost::runLine(L"QUIT");
  EXPECT_TRUE(acadhost::quitRequested());
  events = reactorEvents();
  EXPECT_EQ(countOf(events, L"veto"), 1u);
  EXPECT_EQ(countOf(events, kUnloadMenu), 1u);
  EXPECT_EQ(countOf(events, kQuitAgain), 1u);
  EXPECT_EQ(countOf(events, L"editor base beginQuit"), 1u);
  EXPECT_EQ(countOf(events, L"editor base quitWillStart"), 1u);

  acadhost::clearEvents();
  acadhost::endSession();
  events = reactorEvents();
  EXPECT_EQ(countOf(events, L"editor removeReactor"), 1u);
  EXPECT_EQ(countOf(events, L"docManager removeReactor"), 1u);
  EXPECT_EQ(acadhost::transcript().find(L"was freed with its"), std::wstring::npos) << toUtf8(acadhost::transcript());
}

TEST_F(ModuleReactors, UnsupportedReleaseMakesNoReactors) {
  RegistryKeyGuard addonKey(L"SOFTWARE\\Korvanta");
  acadhost::setSysVar(L"VERNUM", L"H.0.0 (UNICODE)");
  ASSERT_TRUE(acadhost::loadModule(pluginPath()));
  auto events = reactorEvents();
  EXPECT_EQ(countOf(events, L"editor addReactor"), 0u);
  EXPECT_EQ(countOf(events, L"docManager addReactor"), 0u);
  acadhost::runLine(L"QUIT");
  EXPECT_TRUE(acadhost::quitRequested());
  EXPECT_EQ(countOf(reactorEvents(), L"veto"), 0u);
}

TEST_F(ModuleReactors, HostReportsAndDropsReactorsAModuleLeavesBehind) {
  ASSERT_TRUE(acadhost::loadModule(binDir() + L"leaky_reactors.arx"));
  acadhost::endSession();
  std::wstring transcript = acadhost::transcript();
  EXPECT_NE(transcript.find(L"error: leaky_reactors.arx was freed with its editor reactor still registered."),
            std::wstring::npos)
      << toUtf8(transcript);
  EXPECT_NE(transcript.find(L"error: leaky_reactors.arx was freed with its document-manager reactor still registered."),
            std::wstring::npos);
  // Commands run again without a call into the freed module.
  SetUp();
  acadhost::runLine(L"ARXUNLOAD nothing");
  EXPECT_NE(acadhost::transcript().find(L"\"nothing\" is not loaded."), std::wstring::npos);
}

}  // namespace
