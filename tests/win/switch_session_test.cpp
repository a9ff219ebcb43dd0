// kvs_on and kvs_off in a whole acade-sim session, as a user runs them.
#include <gtest/gtest.h>

#include "support/installed_library.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

const wchar_t kAddonKey[] = L"SOFTWARE\\Korvanta";

std::wstring plugin() { return L"\"" + binDir() + L"KVS_switch_2015.arx\""; }

FILETIME lastWrite(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
  return data.ftLastWriteTime;
}

bool rewrittenSince(const std::wstring& path, const FILETIME& before) {
  FILETIME now = lastWrite(path);
  return CompareFileTime(&now, &before) > 0;
}

std::string record20(const std::wstring& path) {
  std::string text = readBytes(path);
  std::size_t at = text.find("+[20]");
  if (at == std::string::npos) return "";
  at += 5;
  return text.substr(at, text.find_first_of("\r\n", at) - at);
}

std::wstring projectsValue() {
  std::wstring value;
  return regReadString(HKEY_CURRENT_USER, kAddonKey, L"Projects", value) ? value : L"<missing>";
}

TEST(SwitchSession, KvsOnThenKvsOffSwitchTheActiveProjectAndItsRegistration) {
  RegistryKeyGuard key(kAddonKey);
  InstalledLibrary library;
  TempDir dir;
  std::wstring project = dir.path() + L"Щит насосов.wdp";
  writeBytes(project, toAnsi(L"+[1]C:\\Libs\\IEC2\\;\r\n+[2]ACE_IEC_MENU.DAT\r\n+[3]C:\\Libs\\panel\\;\r\n"
                             L"+[20]wd.env\r\n?[SCALE]1.0\r\n"));
  std::wstring session = simCommand() + L" --project \"" + project + L"\" --load " + plugin() + L" \"" + dir.path();

  // Unloading before the end keeps the session's quit from switching the project back.
  writeBytes(dir.path() + L"on.scr", "kvs_on\nARXUNLOAD KVS_switch_2015.arx\n");
  backdate(project);
  FILETIME before = lastWrite(project);
  ProcessResult on = runProcess(session + L"on.scr\"");
  EXPECT_EQ(on.exitCode, 0u) << on.output;
  const std::wstring support = said(L"Support path changed.\n", L"Путь доступа к вспомогательным файлам изменён.\n");
  EXPECT_NE(on.output.find(toUtf8(L"Command: kvs_on\n" + support +
                                  said(L"+---- Message box [Information] ----\n"
                                       L"| The project is switched to the GOST library.\n"
                                       L"| Project name ",
                                       L"+---- Message box [Информация] ----\n"
                                       L"| Проект переключен на библиотеку ГОСТ.\n"
                                       L"| Имя проекта ") + project + L"\n"
                                  L"+---- [OK] ----\n"
                                  L"Command: ARXUNLOAD KVS_switch_2015.arx\n")),
            std::string::npos)
      << on.output;
  EXPECT_EQ(projectsValue(), project + L";");
  EXPECT_TRUE(rewrittenSince(project, before));
  EXPECT_EQ(record20(project), "kvdata.env");

  writeBytes(dir.path() + L"off.scr", "kvs_off\nkvs_off\n");
  backdate(project);
  ProcessResult off = runProcess(session + L"off.scr\"");
  EXPECT_EQ(off.exitCode, 0u) << off.output;
  // The second kvs_off has nothing to do and says so: no second box, nothing written.
  EXPECT_NE(off.output.find(toUtf8(L"Command: kvs_off\n" +
                                   said(L"+---- Message box [Information] ----\n"
                                        L"| The project is switched to the ACADE library.\n"
                                        L"| Project name ",
                                        L"+---- Message box [Информация] ----\n"
                                        L"| Проект переключен на библиотеку ACADE.\n"
                                        L"| Имя проекта ") + project + L"\n"
                                   L"+---- [OK] ----\n"
                                   L"Command: kvs_off\n" +
                                   said(L"Project file " + project + L" is already on the stock ACADE library; nothing "
                                        L"written. It was not registered.\n",
                                        L"Файл проекта " + project + L" уже на стандартной библиотеке ACADE; ничего не "
                                        L"записано. Он не был зарегистрирован.\n") +
                                   L"Command: QUIT\n")),
            std::string::npos)
      << off.output;
  EXPECT_EQ(projectsValue(), L"");
  EXPECT_TRUE(rewrittenSince(project, before));
  EXPECT_EQ(record20(project), "wd.env");
}

// Paths of a shared drive, a colleague's lock and a blank typed after the name: each command
// and the start-up either switch the project or say why, and the registration follows.
TEST(SwitchSession, DeepLockedAndBlankEndedProjects) {
  RegistryKeyGuard key(kAddonKey);
  InstalledLibrary library;
  TempDir dir;
  const std::string project = toAnsi(L"*[1]Щит +24В\r\n+[1]C:\\Libs\\IEC2\\;\r\n+[2]ACE_IEC_MENU.DAT\r\n"
                                     L"+[20]wd.env\r\n?[SCALE]1.0\r\n=====\r\nЛист01.dwg");
  const std::string head = project.substr(0, project.find("+[")), tail = project.substr(project.find("?["));
  const auto deep = [&dir](std::size_t length) {
    std::wstring folder = dir.path();
    while (folder.size() + 20 < length) folder += L"Подпапка проекта\\";
    makeFolders(folder);
    return folder + L"Проект.wdp";
  };
  const struct {
    const char* name;
    std::wstring file;      // the project file
    std::wstring reported;  // the path as ACADE reports it
    bool locked;
  } cases[] = {
      {"300 characters", deep(300), deep(300), false},
      {"1000 characters", deep(1000), deep(1000), false},
      {"locked by a colleague", dir.path() + L"Занят.wdp", dir.path() + L"Занят.wdp", true},
      {"a blank after the name", dir.path() + L"Пробел.wdp", dir.path() + L"Пробел.wdp ", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    writeBytes(c.file, project);
    const std::wstring session = simCommand() + L" --load " + plugin() + L" \"" + dir.path() + L"s.scr\"";
    writeBytes(dir.path() + L"s.scr", toUtf8(L"ACTIVEPROJECT \"" + c.reported + L"\"\nkvs_on\n" +
                                             (c.locked ? L"kvs_off\n" : L"") + L"ARXUNLOAD KVS_switch_2015.arx\n"));
    // Open with no sharing, as a colleague's program may hold it.
    HANDLE lock = c.locked ? CreateFileW(c.file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                           : INVALID_HANDLE_VALUE;
    ProcessResult on = runProcess(session);
    EXPECT_EQ(on.exitCode, 0u) << on.output;
    if (c.locked) {
      for (const wchar_t* command : {L"kvs_on", L"kvs_off"}) {
        EXPECT_NE(on.output.find(toUtf8(L"Command: " + std::wstring(command) + L"\n" +
                                        said(L"Cannot open project file ", L"Не удаётся открыть файл проекта ") +
                                        c.reported + L": ")),
                  std::string::npos)
            << on.output;
      }
      EXPECT_EQ(on.output.find("Message box"), std::string::npos) << on.output;
      // Registered before the colleague took it: the start-up keeps it and names it.
      regWriteString(HKEY_CURRENT_USER, kAddonKey, L"Projects", c.reported + L";");
      ProcessResult start = runProcess(simCommand() + L" --load " + plugin(), "ARXUNLOAD KVS_switch_2015.arx\n");
      EXPECT_NE(start.output.find(toUtf8(
                    said(L"Project file " + c.reported + L" stays registered and will be tried again at the next start.\n",
                         L"Файл проекта " + c.reported + L" остаётся зарегистрированным; следующий запуск попробует снова.\n"))),
                std::string::npos) << start.output;
      EXPECT_EQ(projectsValue(), c.reported + L";");
      regWriteString(HKEY_CURRENT_USER, kAddonKey, L"Projects", L"");
      CloseHandle(lock);
      EXPECT_EQ(readBytes(c.file), project);
      continue;
    }
    EXPECT_NE(on.output.find(toUtf8(said(L"| Project name ", L"| Имя проекта ") + c.file + L"\n")), std::string::npos)
        << on.output;
    EXPECT_EQ(projectsValue(), c.reported + L";");
    EXPECT_EQ(record20(c.file), "kvdata.env");

    // The next start switches it again (after a kvs_off by hand in another tool, say).
    writeBytes(c.file, project);
    ProcessResult start = runProcess(simCommand() + L" --load " + plugin(), "ARXUNLOAD KVS_switch_2015.arx\n");
    EXPECT_EQ(record20(c.file), "kvdata.env") << start.output;

    writeBytes(dir.path() + L"s.scr", toUtf8(L"ACTIVEPROJECT \"" + c.reported + L"\"\nkvs_off\nARXUNLOAD KVS_switch_2015.arx\n"));
    ProcessResult off = runProcess(session);
    EXPECT_NE(off.output.find(toUtf8(said(L"| The project is switched to the ACADE library.\n",
                                          L"| Проект переключен на библиотеку ACADE.\n"))),
              std::string::npos)
        << off.output;
    EXPECT_EQ(projectsValue(), L"");
    EXPECT_EQ(record20(c.file), "wd.env");
    const std::string after = readBytes(c.file);
    EXPECT_EQ(after.substr(0, head.size()), head);
    EXPECT_EQ(after.substr(after.size() - tail.size()), tail);
  }
}

// What a designer sees: the answers of kvs_list and kvs_status, and kvs_undo taking a switch back.
TEST(SwitchSession, DesignerCommandsAnswerAndTakeBackASwitch) {
  RegistryKeyGuard key(kAddonKey);
  KeptVersionsGuard kept;
  InstalledLibrary library;
  TempDir dir;
  const std::wstring project = dir.path() + L"Щит насосов.wdp";
  const std::string stock = toAnsi(L"*[1]Щит +24В\r\n+[1]C:\\Libs\\IEC2\\;\r\n+[2]ACE_IEC_MENU.DAT\r\n"
                                   L"+[3]C:\\Libs\\panel\\;\r\n+[20]wd.env\r\n?[SCALE]1.0\r\n");
  writeBytes(project, stock);
  writeBytes(dir.path() + L"s.scr", "kvs_undo\nkvs_on\nkvs_list\nkvs_undo\nkvs_status\nARXUNLOAD KVS_switch_2015.arx\n");
  ProcessResult r =
      runProcess(simCommand() + L" --project \"" + project + L"\" --load " + plugin() + L" \"" + dir.path() + L"s.scr\"");
  EXPECT_EQ(r.exitCode, 0u) << r.output;
  for (const std::wstring& expected : {
           said(L"Command: kvs_undo\nNothing to undo for project " + project + L": no earlier version of it is kept.\n"
                L"Command: kvs_on\n",
                L"Command: kvs_undo\nДля проекта " + project + L" отменять нечего: более ранних версий не сохранено.\n"
                L"Command: kvs_on\n"),
           said(L"Command: kvs_list\nRegistered projects, and what the next start-up does to each:\n  " + project +
                    L": switch to GOST\n1 registered project: 1 to switch, 0 gone, 0 locked or unreadable.\n"
                    L"Command: kvs_undo\nProject file " + project + L" is back as it was at ",
                L"Command: kvs_list\nЗарегистрированные проекты и что с каждым сделает следующий запуск:\n  " + project +
                    L": переключить на ГОСТ\nЗарегистрирован 1 проект; переключить: 1, нет файла: 0, заблокировано или "
                    L"не читается: 0.\nCommand: kvs_undo\nФайл проекта " + project + L" возвращён в состояние на "),
           said(L" UTC.\nIt is on the stock ACADE library and not registered.\n"
                L"The version it replaced is kept: kvs_undo again puts that back.\n"
                L"Command: kvs_status\nProject: " + project + L"\nLibrary: stock ACADE\n"
                L"Icon menu after a switch back: ACE_IEC_MENU.DAT (the stock menu)\nRegistered: no\n"
                L"Support path: with the add-on's folder\n",
                L" UTC.\nОн на стандартной библиотеке ACADE и не зарегистрирован.\n"
                L"Заменённая версия сохранена: повторный kvs_undo вернёт её.\n"
                L"Command: kvs_status\nПроект: " + project + L"\nБиблиотека: стандартная ACADE\n"
                L"Меню значков после обратного переключения: ACE_IEC_MENU.DAT (стандартное меню)\n"
                L"Зарегистрирован: нет\nПуть доступа: с папкой надстройки\n"),
       })
    EXPECT_NE(r.output.find(toUtf8(expected)), std::string::npos) << toUtf8(expected) << "\n" << r.output;
  EXPECT_EQ(readBytes(project), stock);
  EXPECT_EQ(projectsValue(), L"");
}

// An office's project: its own symbol folders on a share before the stock ones and under the
// stock Libs folder, its own panel folders after them and inside the stock one, its own icon menu,
// two of the five stock symbol folders, no line end after the last line. Every switch back and
// every quit gives it its bytes back.
TEST(SwitchSession, TheOfficesOwnFoldersAndMenuSurviveEverySwitchAndPass) {
  RegistryKeyGuard key(kAddonKey);
  KeptVersionsGuard kept;
  InstalledLibrary library;
  TempDir dir;
  const std::wstring project = dir.path() + L"Щит офиса.wdp";
  const std::wstring libs = L"C:\\users\\Public\\Documents\\Autodesk\\Acade 2015\\Libs\\";
  const std::string stock = toAnsi(L"*[1]Щит ЩУ-2 +24В? см. ТЗ\r\n+[1]\\\\srv\\ACADE\\Офис_УГО\\;%SL_DIR%iec2/;"
                                   L"%SL_DIR%iec2/1-/;" + libs + L"Наш_офис\\УГО\\;\r\n+[2]OFFICE_MENU.DAT\r\n"
                                   L"+[3]%SL_DIR%panel/;%SL_DIR%panel/Шкафы_офиса/;D:\\Панели_офиса\\\r\n"
                                   L"+[20]\r\n?[0]H\r\nЛист01.dwg");
  writeBytes(project, stock);
  const auto expectGost = [&](const char* when) {
    const std::wstring text = fromAnsi(readBytes(project));
    EXPECT_NE(text.find(L"+[1]\\\\srv\\ACADE\\Офис_УГО\\;C:\\Program Files\\Korvanta\\Support\\;"), std::wstring::npos)
        << when;
    EXPECT_NE(text.find(L"+[2]C:\\Program Files\\Korvanta\\Data\\ACE_GOST_MENU.dat\r\n"), std::wstring::npos) << when;
    EXPECT_NE(text.find(libs + L"pid\\;" + libs + L"Наш_офис\\УГО\\;\r\n"), std::wstring::npos) << when;
    EXPECT_NE(text.find(libs + L"panel\\;%SL_DIR%panel/Шкафы_офиса/;D:\\Панели_офиса\\\r\n+[20]kvdata.env\r\n"),
              std::wstring::npos)
        << when;
  };
  const std::wstring session = simCommand() + L" --project \"" + project + L"\" --load " + plugin();

  writeBytes(dir.path() + L"on.scr", "kvs_on\nkvs_status\nARXUNLOAD KVS_switch_2015.arx\n");
  ProcessResult on = runProcess(session + L" \"" + dir.path() + L"on.scr\"");
  expectGost("kvs_on");
  EXPECT_NE(on.output.find(toUtf8(said(L"Icon menu after a switch back: OFFICE_MENU.DAT (the project's own)",
                                       L"Меню значков после обратного переключения: OFFICE_MENU.DAT (собственное меню проекта)"))),
            std::string::npos)
      << on.output;
  // A second kvs_on has nothing to do and keeps no version: kvs_undo goes back to the stock bytes.
  writeBytes(dir.path() + L"again.scr", "kvs_on\nkvs_undo\nARXUNLOAD KVS_switch_2015.arx\n");
  ProcessResult again = runProcess(session + L" \"" + dir.path() + L"again.scr\"");
  EXPECT_NE(again.output.find(toUtf8(said(L"Project file " + project + L" is already on GOST; nothing written.",
                                          L"Файл проекта " + project + L" уже на ГОСТ; ничего не записано."))),
            std::string::npos)
      << again.output;
  EXPECT_EQ(readBytes(project), stock) << "kvs_undo after a second kvs_on";
  writeBytes(dir.path() + L"gost.scr", "kvs_on\nARXUNLOAD KVS_switch_2015.arx\n");
  runProcess(session + L" \"" + dir.path() + L"gost.scr\"");
  writeBytes(dir.path() + L"off.scr", "kvs_off\nARXUNLOAD KVS_switch_2015.arx\n");
  runProcess(session + L" \"" + dir.path() + L"off.scr\"");
  EXPECT_EQ(readBytes(project), stock) << "kvs_off";

  // Registered, the project goes to GOST at every start and back at every quit.
  writeBytes(dir.path() + L"on.scr", "kvs_on\nQUIT\n");
  runProcess(session + L" \"" + dir.path() + L"on.scr\"");
  EXPECT_EQ(projectsValue(), project + L";");
  EXPECT_EQ(readBytes(project), stock) << "the quit";
  writeBytes(dir.path() + L"start.scr", "ARXUNLOAD KVS_switch_2015.arx\n");
  runProcess(session + L" \"" + dir.path() + L"start.scr\"");
  expectGost("the start-up");
  runProcess(session, "QUIT\n");
  EXPECT_EQ(readBytes(project), stock) << "the next quit";
}

TEST(SwitchSession, WithoutAnActiveProjectTheCommandsSaySo) {
  RegistryKeyGuard key(kAddonKey);
  ProcessResult r = runProcess(simCommand() + L" --load " + plugin(), "kvs_on\nkvs_off\nACTIVEPROJECT\n");
  EXPECT_EQ(r.exitCode, 0u) << r.output;
  const std::wstring none = said(L"Nothing to switch: ACADE has no active project.\n",
                                 L"Переключать нечего: в ACADE нет активного проекта.\n");
  EXPECT_NE(r.output.find(toUtf8(L"Command: kvs_on\n" + none + L"Command: kvs_off\n" + none +
                                 L"Command: ACTIVEPROJECT\nNo active project.\n")),
            std::string::npos)
      << r.output;
  EXPECT_EQ(projectsValue(), L"<missing>");
}

}  // namespace
