// acade-sim as a user runs it: options, the transcript, message boxes and exit status.
#include <gtest/gtest.h>

#include "support/test_support.h"

using namespace testing_support;

namespace {

std::wstring plugin() { return L"\"" + binDir() + L"KVS_switch_2015.arx\""; }

TEST(Session, UnsupportedReleaseShowsTheBoxWithTheApplicationsCaption) {
  ProcessResult r = runProcess(simCommand() + L" --vernum H.0 --load " + plugin());
  EXPECT_EQ(r.exitCode, 0u) << r.output;
  EXPECT_NE(r.output.find(toUtf8(L"+---- Message box [AutoCAD] ----\n| " +
                                 said(L"No supported ACADE release found!", L"Поддерживаемой версии ACADE не найдено!") +
                                 L"\n+---- [OK] ----\n")),
            std::string::npos)
      << r.output;
}

TEST(Session, CommandsRunFromStandardInputCaseInsensitivelyUntilQuit) {
  ProcessResult r = runProcess(simCommand() + L" --load " + plugin(), "KVS_ON\nnosuch\nQUIT\nkvs_on\n");
  EXPECT_EQ(r.exitCode, 0u) << r.output;
  EXPECT_NE(r.output.find("_VERNUM J."), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("Command: KVS_ON\n"), std::string::npos) << r.output;
  EXPECT_EQ(r.output.find("Unknown command \"KVS_ON\""), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("Unknown command \"nosuch\".  Press F1 for help.\n"), std::string::npos) << r.output;
  // Nothing after QUIT runs; the module is unloaded at the end.
  EXPECT_EQ(r.output.find("Command: kvs_on"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("KVS_switch_2015.arx successfully unloaded."), std::string::npos) << r.output;
}

TEST(Session, ScriptFileAndArxUnload) {
  TempDir dir;
  writeBytes(dir.path() + L"s.scr", "\xEF\xBB\xBFkvs_off\nARXUNLOAD KVS_switch_2015.arx\nkvs_off\n");
  ProcessResult r = runProcess(simCommand() + L" --load " + plugin() + L" \"" + dir.path() + L"s.scr\"");
  EXPECT_EQ(r.exitCode, 0u) << r.output;
  std::size_t unloaded = r.output.find("successfully unloaded");
  ASSERT_NE(unloaded, std::string::npos) << r.output;
  EXPECT_NE(r.output.find("Unknown command \"kvs_off\"", unloaded), std::string::npos) << r.output;
  EXPECT_EQ(r.output.find("Unknown command \"kvs_off\""), r.output.find("Unknown command \"kvs_off\"", unloaded));
}

TEST(Session, BadOptionsAndUnloadableModulesFail) {
  ProcessResult badRelease = runProcess(simCommand() + L" --release 2028");
  EXPECT_EQ(badRelease.exitCode, 2u);
  EXPECT_NE(badRelease.output.find("--release takes a year from 2010 to 2027 or a release key"), std::string::npos)
      << badRelease.output;

  ProcessResult unknown = runProcess(simCommand() + L" --frobnicate");
  EXPECT_EQ(unknown.exitCode, 2u);

  ProcessResult missing = runProcess(simCommand() + L" --load C:\\nowhere\\none.arx");
  EXPECT_EQ(missing.exitCode, 1u);
  EXPECT_NE(missing.output.find("Unable to load C:\\nowhere\\none.arx"), std::string::npos) << missing.output;

  // An API 20 module does not load into a release that needs another ObjectARX version.
  ProcessResult old = runProcess(simCommand() + L" --release 2013 --load " + plugin());
  EXPECT_EQ(old.exitCode, 1u);
  EXPECT_NE(old.output.find("incompatible version of ObjectARX application"), std::string::npos) << old.output;
}

}  // namespace
