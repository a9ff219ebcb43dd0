// kvs-switch.exe as a CAD manager runs it over a folder of projects: the line and the report
// row of each project, the bytes on disk, and kvs_undo in AutoCAD taking a batch switch back.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "support/installed_library.h"
#include "support/test_support.h"
#include "win32/handles.h"

using namespace testing_support;

namespace {

const wchar_t kAddonKey[] = L"SOFTWARE\\Korvanta";

std::wstring tool() { return inQuotes(binDir() + L"kvs-switch.exe"); }

// The report's rows by path: library before, library after, outcome, message.
std::map<std::wstring, std::vector<std::wstring>> reportRows(const std::wstring& file) {
  std::string bytes = readBytes(file);
  EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
  const std::wstring text = fromUtf8(bytes.substr(3));
  std::map<std::wstring, std::vector<std::wstring>> rows;
  std::vector<std::wstring> fields(1);
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (quoted && c == L'"' && i + 1 < text.size() && text[i + 1] == L'"') {
      fields.back() += text[++i];
    } else if (c == L'"') {
      quoted = !quoted;
    } else if (!quoted && c == L',') {
      fields.emplace_back();
    } else if (!quoted && c == L'\r' && text[i + 1] == L'\n') {
      ++i;
      rows[fields[0]] = std::vector<std::wstring>(fields.begin() + 1, fields.end());
      fields.assign(1, L"");
    } else {
      fields.back() += c;
    }
  }
  return rows;
}

TEST(KvsSwitch, SwitchesAFolderTreeKeepingWhatItMustAndRefusingWhatItCannot) {
  RegistryKeyGuard key(kAddonKey);
  KeptVersionsGuard kept;
  InstalledLibrary library;
  TempDir dir;
  const std::wstring root = dir.path() + L"Проекты\\";
  const std::wstring office = root + L"Цех 1\\Щит ЩУ-2.wdp", unicode = root + L"Цех 2\\Unicode.wdp",
                     locked = root + L"locked\\Locked.wdp", readOnly = root + L"ro\\ReadOnly.WDP",
                     notText = root + L"bad\\NotText.wdp",
                     deep = root + std::wstring(120, L'd') + L"\\" + std::wstring(120, L'e') + L"\\Длинный.wdp";
  const std::wstring stock = L"*[1]Щит +24В?\r\n+[1]\\\\srv\\ACADE\\Офис_УГО\\;%SL_DIR%iec2/;\r\n+[2]OFFICE.DAT\r\n"
                             L"+[3]%SL_DIR%panel/\r\n+[20]\r\n?[0]H\r\nЛист01.dwg";
  std::map<std::wstring, std::string> original;
  for (const std::wstring& project : {office, unicode, locked, readOnly, notText, deep}) {
    makeFolders(anyLength(project.substr(0, project.find_last_of(L'\\'))));
    original[project] = project == unicode ? fileBytes(stock, "utf-16le")
                        : project == notText ? std::string("+[1]a\r\n\0+[2]b", 14)
                                             : toAnsi(stock);
    writeBytes(anyLength(project), original[project]);
  }
  writeBytes(office + L".bak", "no project");  // not a *.wdp file
  ASSERT_TRUE(SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
  // Registered as ACADE may spell it; given again through a sub-folder and another spelling.
  regWriteString(HKEY_CURRENT_USER, kAddonKey, L"Projects", dir.path() + L"проекты/цех 1/щит щу-2.WDP;");
  const std::wstring gost = tool() + L" gost --release 2015 ", again = inQuotes(root + L"Цех 1") + L" " + inQuotes(office) + L" ";
  const std::wstring report = dir.path() + L"отчёт.csv";

  ProcessResult dry;
  ProcessResult batch;
  {
    // Open in AutoCAD: held without sharing.
    const kvs::FileHandle open(CreateFileW(locked.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(open.valid());
    dry = runProcess(gost + L"--dry-run " + again + inQuotes(root));
    // A report that cannot be written stops the run before anything is switched.
    const ProcessResult refused = runProcess(gost + L"--report " + inQuotes(dir.path() + L"нет\\r.csv") + L" " + inQuotes(root));
    EXPECT_EQ(refused.exitCode, 2u);
    EXPECT_NE(refused.output.find(toUtf8(said(L"cannot write the report ", L"не удаётся записать отчёт ") + dir.path() +
                                         L"нет\\r.csv: ")),
              std::string::npos);
    for (const auto& project : original) {
      if (project.first == locked) continue;
      EXPECT_EQ(readBytes(anyLength(project.first)), project.second) << "dry run";
    }
    EXPECT_FALSE(fileExists(KeptVersionsGuard::folder())) << "the dry run kept versions";
    batch = runProcess(gost + L"--report " + inQuotes(report) + L" " + again + inQuotes(root));
  }
  EXPECT_EQ(dry.exitCode, 1u) << dry.output;
  const std::wstring stockLibrary = said(L"stock ACADE", L"стандартная ACADE"), gostLibrary = said(L"GOST", L"ГОСТ");
  const std::wstring unknown = said(L"unknown", L"неизвестна");
  EXPECT_NE(dry.output.find(toUtf8(office + L": " + stockLibrary + L" -> " + gostLibrary + said(L" [registered", L" [зарегистрирован"))),
            std::string::npos)
      << dry.output;
  EXPECT_NE(dry.output.find(toUtf8(said(L"6 projects: 3 would switch, 3 refused; 1 registered in AutoCAD, whose next "
                                        L"start-up or quit switches them again; nothing changed (dry run).",
                                        L"Проектов - 6: было бы переключено: 3, отказ: 3; зарегистрировано в AutoCAD: 1, "
                                        L"следующий запуск или выход AutoCAD снова их переключит; ничего не изменено "
                                        L"(пробный прогон)."))),
            std::string::npos)
      << dry.output;
  EXPECT_EQ(batch.exitCode, 1u) << batch.output;
  EXPECT_NE(batch.output.find(toUtf8(said(L"6 projects: 3 switched, 3 refused; 1 registered in AutoCAD",
                                          L"Проектов - 6: переключено: 3, отказ: 3; зарегистрировано в AutoCAD: 1"))),
            std::string::npos)
      << batch.output;

  const struct {
    std::wstring project, before, after, outcome, message;  // the message's start
    bool changed;
  } rows[] = {
      {office, stockLibrary, gostLibrary, L"switched", L"", true},
      {unicode, stockLibrary, gostLibrary, L"switched", L"", true},
      {deep, stockLibrary, gostLibrary, L"switched", L"", true},
      {locked, unknown, unknown, L"refused", said(L"Cannot open project file ", L"Не удаётся открыть файл проекта ") + locked + L": ",
       false},
      {readOnly, stockLibrary, stockLibrary, L"refused",
       said(L"Cannot switch project file " + readOnly + L": it is read-only.",
            L"Не удаётся переключить файл проекта " + readOnly + L": он только для чтения."),
       false},
      {notText, unknown, unknown, L"refused",
       said(L"Cannot switch project file " + notText + L": it holds a zero byte, so it is not a text file.",
            L"Не удаётся переключить файл проекта " + notText + L": в нём есть нулевой байт, значит, это не текстовый файл."),
       false},
  };
  const auto report_rows = reportRows(report);
  EXPECT_EQ(report_rows.size(), 7u);  // and the header
  const auto header = report_rows.find(said(L"path", L"путь"));
  ASSERT_NE(header, report_rows.end());
  EXPECT_EQ(header->second, (std::vector<std::wstring>{said(L"library before", L"библиотека до"),
                                                       said(L"library after", L"библиотека после"),
                                                       said(L"outcome", L"итог"), said(L"message", L"сообщение")}));
  for (const auto& r : rows) {
    SCOPED_TRACE(toUtf8(r.project));
    const auto row = report_rows.find(r.project);
    ASSERT_NE(row, report_rows.end());
    ASSERT_EQ(row->second.size(), 4u);
    EXPECT_EQ(row->second[0], r.before);
    EXPECT_EQ(row->second[1], r.after);
    EXPECT_EQ(row->second[2], r.outcome);
    EXPECT_EQ(row->second[3].substr(0, r.changed ? std::wstring::npos : r.message.size()), r.message);
    const std::string bytes = readBytes(anyLength(r.project));
    EXPECT_EQ(bytes != original[r.project], r.changed);
    if (!r.changed) continue;
    // The office's folder stays first, the add-on's menu takes its place, the rest is as it was.
    const std::wstring text = r.project == unicode ? utf16Text(bytes) : fromAnsi(bytes);
    const std::wstring head = L"*[1]Щит +24В?\r\n+[1]\\\\srv\\ACADE\\Офис_УГО\\;C:\\Program Files\\Korvanta\\Support\\;";
    EXPECT_EQ(text.substr(0, head.size()), head);
    EXPECT_NE(text.find(L"+[2]C:\\Program Files\\Korvanta\\Data\\ACE_GOST_MENU.dat\r\n"), std::wstring::npos);
    const std::wstring tail = L"+[20]kvdata.env\r\n?[0]H\r\nЛист01.dwg";
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
  }
  ProcessResult status = runProcess(tool() + L" status " + inQuotes(root));
  EXPECT_EQ(status.exitCode, 1u) << status.output;
  EXPECT_NE(status.output.find(toUtf8(said(L"6 projects: 3 GOST, 2 stock ACADE, 0 mixed, 1 unreadable; 1 registered",
                                           L"Проектов - 6: ГОСТ: 3, стандартная ACADE: 2, смешанная: 0, не читается: 1; "
                                           L"зарегистрировано"))),
            std::string::npos)
      << status.output;

  // Run again, the batch finds the project on GOST: nothing written, nothing kept.
  const std::string onGost = readBytes(office);
  ProcessResult rerun = runProcess(gost + inQuotes(office));
  EXPECT_EQ(rerun.exitCode, 0u) << rerun.output;
  EXPECT_NE(rerun.output.find(toUtf8(office + said(L": GOST (already on GOST; nothing written)",
                                                   L": ГОСТ (уже на ГОСТ; ничего не записано)"))),
            std::string::npos)
      << rerun.output;
  EXPECT_NE(rerun.output.find(toUtf8(said(L"1 project: 0 switched, 1 already on GOST, 0 refused",
                                          L"Проектов - 1: переключено: 0, уже на ГОСТ: 1, отказ: 0"))),
            std::string::npos)
      << rerun.output;
  EXPECT_EQ(readBytes(office), onGost);

  // kvs_undo in AutoCAD takes the batch's switch back; the switch back gives the office's menu too.
  ProcessResult undo = runProcess(simCommand() + L" --project " + inQuotes(unicode) + L" --load " +
                                      inQuotes(binDir() + L"KVS_switch_2015.arx"),
                                  "kvs_undo\nARXUNLOAD KVS_switch_2015.arx\n");
  EXPECT_EQ(readBytes(unicode), original[unicode]) << undo.output;
  ProcessResult back = runProcess(tool() + L" stock --release 2015 " + inQuotes(office));
  EXPECT_EQ(back.exitCode, 0u) << back.output;
  EXPECT_NE(back.output.find(toUtf8(office + L": " + gostLibrary + L" -> " + stockLibrary)), std::string::npos) << back.output;
  EXPECT_EQ(readBytes(office), original[office]) << "back to the bytes it had";
}

// Bad usage gets the usage text and 2, help the same with 0; paths that give nothing to switch
// are said and give 1.
TEST(KvsSwitch, UsageAndPathsThatNameNoProject) {
  TempDir dir;
  const std::wstring empty = dir.path() + L"Пусто";
  makeFolders(empty);
  const struct {
    std::wstring args;
    DWORD exitCode;
    std::wstring said;
  } cases[] = {
      {L"", 2, said(L"usage: kvs-switch status [options] PATH...", L"вызов: kvs-switch status [параметры] ПУТЬ...")},
      {L"flip C:\\p.wdp", 2, said(L"unknown command \"flip\"", L"неизвестная команда \"flip\"")},
      {L"gost", 2, said(L"no PATH given", L"не задан ПУТЬ")},
      {L"gost --release 2009 C:\\p.wdp", 2,
       said(L"--release takes a year from 2010 to 2027", L"--release принимает год от 2010 до 2027")},
      {L"status --report", 2, said(L"--report needs a value", L"для --report нужно значение")},
      {L"--help", 0, said(L"usage: kvs-switch status [options] PATH...", L"вызов: kvs-switch status [параметры] ПУТЬ...")},
      {L"-h", 0, L"kvs-switch --help"},
      {L"gost /? C:\\p.wdp", 0, said(L"usage: kvs-switch status [options] PATH...", L"вызов: kvs-switch status [параметры] ПУТЬ...")},
      {L"status " + inQuotes(empty), 1,
       empty + said(L": no project file (*.wdp) in it or its sub-folders", L": в папке и её подпапках нет файлов проектов (*.wdp)")},
      {L"status " + inQuotes(dir.path() + L"нет.wdp"), 1, dir.path() + said(L"нет.wdp: unreadable: ", L"нет.wdp: не читается: ")},
  };
  for (const auto& c : cases) {
    ProcessResult r = runProcess(tool() + L" " + c.args);
    EXPECT_EQ(r.exitCode, c.exitCode) << toUtf8(c.args);
    EXPECT_NE(r.output.find(toUtf8(c.said)), std::string::npos) << r.output;
  }
}

}  // namespace
