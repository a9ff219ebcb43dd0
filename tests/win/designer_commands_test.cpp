// kvs_status, kvs_list and kvs_undo, and the versions every switch keeps, against real project
// files, the real "Projects" value, AutoCAD's file settings and a PLC folder of their own.
#include "acadhost/host_api.h"
#include "aced.h"
#include "commands/project_list.h"
#include "commands/support_paths.h"
#include "win32/system_message.h"
#include "frame/KVS_switchApp.h"
#include "project_switch_fixture.h"
#include "switch_fixture.h"
#include "switching/kept_versions.h"
#include "commands/acad_switch.h"

using namespace testing_support;

namespace {

const std::wstring kProducts = L"Software\\Autodesk\\AutoCAD\\KvsDesignerTest";

std::wstring upper(std::wstring s) {
  CharUpperBuffW(&s[0], static_cast<DWORD>(s.size()));
  return s;
}

const std::wstring kStock = L"*[1]Щит +24В\r\n+[1]%SL_DIR%iec2/;\r\n+[2]ACE_IEC_MENU.DAT\r\n+[3]%SL_DIR%panel/\r\n"
                            L"+[20]\r\n?[0]H\r\n=====\r\nЛист01.dwg";
const std::wstring kGost = L"*[1]Щит +24В\r\n+[1]C:\\Program Files\\Korvanta\\Support\\;\r\n"
                           L"+[2]C:\\Program Files\\Korvanta\\Data\\ACE_GOST_MENU.dat\r\n"
                           L"+[3]C:\\Program Files\\Korvanta\\Data\\Montajnie_sxemi\\Shkaf\\;\r\n+[20]kvdata.env\r\n"
                           L"?[0]H\r\n=====\r\nЛист01.dwg";
// Kept by an office: its own symbol folder on a share and its own icon menu.
const std::wstring kOwn = L"+[1]\\\\srv\\ACADE\\Офис_УГО\\;%SL_DIR%iec2/;\r\n+[2]OFFICE_MENU.DAT\r\n+[20]\r\n";
const std::wstring kMixed = L"+[1]C:\\Program Files\\Korvanta\\Support\\;\r\n+[2]ACE_IEC_MENU.DAT\r\n"
                            L"+[20]kvdata.env\r\n";

// The project files, the list and AutoCAD's paths of ProjectSwitch, with ACADE's documents
// folder (and so its PLC folder) in the test's own folder.
class DesignerCommands : public switch_fixture::ProjectSwitch {
 protected:
  void SetUp() override {
    ProjectSwitch::SetUp();
    full_version_english = L"KvsDesignerTest\\ACAD-E007:409";
    full_version_russian = L"KvsDesignerTest\\ACAD-E007:419";
    regWriteString(HKEY_CURRENT_USER, kProducts + L"\\ACAD-E007:409", L"RoamingUserMyDocsAcadeFolder", docs_);
    makeFolders(plc_);
    writeBytes(plc_ + L"ace_plc.mdb", "the user's own database");
    // An earlier session's menu comes back with the profile.
    if (acedIsMenuGroupLoaded(L"KORVANTA")) acadhost::runLine(L"CUIUNLOAD KORVANTA");
    acadhost::clearTranscript();
  }

  std::wstring project(const std::wstring& name, const std::wstring& text, const std::string& encoding = "ansi") {
    const std::wstring path = makeProject(name);
    writeBytes(path, fileBytes(text, encoding));
    return path;
  }
  std::wstring run(void (*command)()) {
    acadhost::clearTranscript();
    command();
    return transcript();
  }
  std::wstring templateFolder() const {
    std::wstring value;
    regReadString(HKEY_CURRENT_USER,
                  L"Software\\Autodesk\\AutoCAD\\" + acadhost::productKey() + L"\\Profiles\\<<ACADE>>\\General",
                  L"TemplatePath", value);
    return value;
  }
  std::vector<std::string> kept(const std::wstring& path) const {
    std::vector<std::string> bytes;
    for (const KeptVersion& v : kept_project_versions(path)) bytes.push_back(readBytes(v.file));
    return bytes;
  }

  RegistryKeyGuard products_{kProducts};
  const std::wstring docs_ = dir_.path() + L"Мои документы\\Acade 2015\\";
  const std::wstring plc_ = docs_ + L"AeData\\en-US\\Plc\\";
};

TEST_F(DesignerCommands, StatusOnGostStockAndMixedProjectsWithAndWithoutASwap) {
  const struct {
    const char* name;
    const std::wstring& text;
    int tip;  // the last switch, which AutoCAD's paths follow
    bool registered, swapped;
    std::wstring library, menu;
  } cases[] = {
      {"GOST", kGost, 1, true, false, L"GOST", L"ACE_IEC_MENU.DAT (the stock menu)"},
      {"GOST, swapped", kGost, 1, true, true, L"GOST", L"ACE_IEC_MENU.DAT (the stock menu)"},
      {"stock", kStock, 2, false, false, L"stock ACADE", L"ACE_IEC_MENU.DAT (the stock menu)"},
      {"stock, swapped", kStock, 2, false, true, L"stock ACADE", L"ACE_IEC_MENU.DAT (the stock menu)"},
      {"own folder and menu", kOwn, 2, false, false, L"stock ACADE; setting 3 not set",
       L"OFFICE_MENU.DAT (the project's own)"},
      {"mixed", kMixed, 1, true, false, L"mixed: settings 1 and 20 on GOST, setting 2 on stock ACADE; setting 3 not set",
       L"ACE_IEC_MENU.DAT (the stock menu)"},
      {"mixed, swapped", kMixed, 2, false, true,
       L"mixed: settings 1 and 20 on GOST, setting 2 on stock ACADE; setting 3 not set",
       L"ACE_IEC_MENU.DAT (the stock menu)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::wstring p = project(L"Щит.wdp", c.text);
    // Registered under another spelling of the same file.
    setList(c.registered ? L"C:\\Other.wdp;" + dir_.path() + L"Нет\\..\\щит.WDP;" : L"C:\\Other.wdp;");
    if (c.swapped) writeBytes(plc_ + L"ace_plc_old.mdb", "the user's own database");
    fSetSupportPath(c.tip);
    acadhost::setActiveProject(p);
    const std::string projectBytes = readBytes(p);
    const std::wstring list = this->list();

    EXPECT_EQ(run(CKVS_switchApp::KVS_switchkvs_status),
              L"Project: " + p + L"\n"
              L"Library: " + c.library + L"\n"
              L"Icon menu after a switch back: " + c.menu + L"\n" +
              (c.registered ? L"Registered: yes, every start-up switches it to GOST\n" : L"Registered: no\n") +
              (c.tip == 1 ? L"Support path: with the add-on's folder\n"
                            L"Template folder: c:\\Program Files\\Korvanta\\Data\\Template (the add-on's)\n"
                          : L"Support path: without the add-on's folder\nTemplate folder: " + templateFolder() + L"\n") +
              (c.swapped ? L"PLC database: the add-on's; the user's own is kept as " + plc_ + L"ace_plc_old.mdb\n"
                         : L"PLC database: the user's own, " + plc_ + L"ace_plc.mdb\n") +
              L"Menu group KORVANTA: not loaded (init_kvs loads it)\n");
    EXPECT_EQ(readBytes(p), projectBytes);
    EXPECT_EQ(this->list(), list);
    EXPECT_TRUE(kept(p).empty());
    DeleteFileW((plc_ + L"ace_plc_old.mdb").c_str());
  }
}

TEST_F(DesignerCommands, ListSaysWhatTheStartUpDoesToEachEntryAndTheStartUpAgrees) {
  const std::wstring ready = project(L"Готов.wdp", kStock);
  const std::wstring gone = dir_.path() + L"Удалён.wdp";
  const std::wstring shared = project(L"Открыт.wdp", kStock);
  const std::wstring exclusive = project(L"Занят.wdp", kStock);
  setList(ready + L";" + gone + L";" + shared + L";" + exclusive + L";");
  const std::wstring locked = kvs::system_message(ERROR_SHARING_VIOLATION);
  switch_fixture::WriteLock readers(shared);  // lets others read it, nobody replace it
  HANDLE colleague = CreateFileW(exclusive.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(colleague, INVALID_HANDLE_VALUE);

  EXPECT_EQ(run(CKVS_switchApp::KVS_switchkvs_list),
            L"Registered projects, and what the next start-up does to each:\n"
            L"  " + ready + L": switch to GOST\n"
            L"  " + gone + L": file gone, dropped from the list\n"
            L"  " + shared + L": file locked or unreadable (" + locked + L"), stays registered\n"
            L"  " + exclusive + L": file locked or unreadable (" + locked + L"), stays registered\n"
            L"4 registered projects: 1 to switch, 1 gone, 2 locked or unreadable.\n");
  EXPECT_EQ(readBytes(ready), toAnsi(kStock)) << "nothing is changed";

  init_projects();
  CloseHandle(colleague);
  EXPECT_EQ(list(), ready + L";" + shared + L";" + exclusive + L";");
  EXPECT_EQ(record20(ready), L"kvdata.env");
  EXPECT_EQ(readBytes(shared), toAnsi(kStock));
  EXPECT_EQ(readBytes(exclusive), toAnsi(kStock));

  setList(L";;");
  EXPECT_EQ(run(CKVS_switchApp::KVS_switchkvs_list), L"No project is registered: the start-up switches none.\n");
}

TEST_F(DesignerCommands, UndoPutsBackTheBytesFromBeforeTheSwitchAndTheRegistrationFollows) {
  const struct {
    const char* name;
    std::wstring file;
    const std::wstring& text;
    const char* encoding;
    void (*command)();
    std::wstring listAfterUndo;  // with P for the project's path
    std::wstring registration;
  } cases[] = {
      {"kvs_on undone", L"Щит 1.wdp", kStock, "ansi", CKVS_switchApp::KVS_switchkvs_on, L"",
       L"It is on the stock ACADE library and not registered.\n"},
      {"kvs_off undone", L"Щит 2.wdp", kGost, "utf-16le", CKVS_switchApp::KVS_switchkvs_off, L"P;",
       L"It is on the GOST library and registered: every start-up switches it to GOST.\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    setList(L"");
    const std::wstring p = project(c.file, c.text, c.encoding);
    const std::string before = readBytes(p);
    acadhost::setActiveProject(p);
    c.command();
    const std::string switched = readBytes(p);
    ASSERT_NE(switched, before);
    // A version equal to the file, as a switch with nothing to do once kept: undo passes it over.
    ASSERT_TRUE(keep_project_version(p, switched, command_line()));

    const std::wstring printed = run(CKVS_switchApp::KVS_switchkvs_undo);
    EXPECT_EQ(readBytes(p), before);
    EXPECT_EQ(list(), c.listAfterUndo.empty() ? L"" : p + L";");
    const std::wstring back = L"Project file " + p + L" is back as it was at ";
    ASSERT_EQ(printed.substr(0, back.size()), back) << toUtf8(printed);
    EXPECT_EQ(printed.substr(printed.find(L" UTC.\n")),
              L" UTC.\n" + c.registration + L"The version it replaced is kept: kvs_undo again puts that back.\n");

    run(CKVS_switchApp::KVS_switchkvs_undo);
    EXPECT_EQ(readBytes(p), switched) << "a second undo takes the first back";
    EXPECT_EQ(kept(p), std::vector<std::string>{before});
  }

  const std::wstring fresh = project(L"Новый.wdp", kStock);
  acadhost::setActiveProject(fresh);
  EXPECT_EQ(run(CKVS_switchApp::KVS_switchkvs_undo),
            L"Nothing to undo for project " + fresh + L": no earlier version of it is kept.\n");
  acadhost::setActiveProject(L"");
  EXPECT_EQ(run(CKVS_switchApp::KVS_switchkvs_undo), L"Nothing to undo: ACADE has no active project.\n");
}

TEST_F(DesignerCommands, TheSixthSwitchDropsTheOldestVersionWhateverTheLetterCase) {
  const std::wstring p = project(L"Щит.wdp", kStock);
  std::vector<std::string> versions;
  for (int i = 0; i < 6; ++i) {
    const std::string bytes = toAnsi(kStock + L"\r\nЛист0" + std::to_wstring(i + 2) + L".dwg");
    writeBytes(p, bytes);
    versions.push_back(bytes);
    // ACADE may report the same project in another letter case from one start to the next.
    ASSERT_EQ(switch_project_file(i % 2 ? p : upper(p), 1), SwitchResult::Switched);
  }
  EXPECT_EQ(kept(p), std::vector<std::string>(versions.begin() + 1, versions.end()));
  // Nothing but the five versions, the path they belong to, as it was first given, and what the
  // switches to GOST replaced.
  const std::wstring oldest = kept_project_versions(p).front().file;
  const std::wstring folder = oldest.substr(0, oldest.rfind(L'\\') + 1);
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"*").c_str(), &data);
  int files = 0;
  do files += !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  while (FindNextFileW(find, &data));
  FindClose(find);
  EXPECT_EQ(files, 7);
  EXPECT_EQ(fromUtf8(readBytes(folder + L"project.txt")), L"\uFEFF" + upper(p));
  // Not named as a project, so that no search for projects (kvs-switch over a profile) finds it.
  EXPECT_EQ(oldest.substr(oldest.size() - 5), L".kept");
  // What an earlier add-on kept under the project's extension is read for undo, and dropped in turn.
  const std::wstring earlier = folder + L"20010101T000000.000Z.wdp";
  writeBytes(earlier, "kept by an earlier add-on");
  backdate(earlier);  // as a rename left it: written before the time its name holds
  EXPECT_EQ(kept(p).front(), "kept by an earlier add-on");
  writeBytes(p, toAnsi(kStock + L"\r\nЛист09.dwg"));
  ASSERT_EQ(switch_project_file(p, 1), SwitchResult::Switched);
  EXPECT_FALSE(fileExists(earlier));
}

TEST_F(DesignerCommands, BytesAlreadyKeptAreNotKeptAgain) {
  const std::wstring p = project(L"Щит.wdp", kStock);
  const std::string stock = readBytes(p);
  ASSERT_EQ(switch_project_file(p, 1), SwitchResult::Switched);
  const std::string gost = readBytes(p);
  ASSERT_EQ(switch_project_file(p, 2), SwitchResult::Switched);
  EXPECT_EQ(readBytes(p), stock) << "back to the bytes it had";
  // Back and forth as every start and quit does: each state is kept once, the newest last.
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(switch_project_file(p, 1), SwitchResult::Switched);
    ASSERT_EQ(switch_project_file(p, 2), SwitchResult::Switched);
  }
  EXPECT_EQ(kept(p), (std::vector<std::string>{stock, gost}));
}

TEST_F(DesignerCommands, AFailureToKeepAVersionIsPrintedAndStopsTheSwitch) {
  const std::wstring p = project(L"Щит.wdp", kStock);
  const std::string before = readBytes(p);
  setList(L"C:\\Other.wdp;");
  // A file where the add-on's folder of kept versions belongs.
  const std::wstring store = KeptVersionsGuard::folder();
  makeFolders(store.substr(0, store.size() - 5));
  writeBytes(store.substr(0, store.size() - 1), "in the way");
  acadhost::setActiveProject(p);

  const std::wstring printed = run(CKVS_switchApp::KVS_switchkvs_on);
  DeleteFileW(store.substr(0, store.size() - 1).c_str());
  EXPECT_EQ(printed, L"Support path changed.\nCannot keep the present version of project file " + p + L" in " + store +
                         L": " + kvs::system_message(ERROR_ALREADY_EXISTS) + L". The file is left as it was.\n");
  EXPECT_EQ(readBytes(p), before);
  EXPECT_EQ(list(), L"C:\\Other.wdp;");
  EXPECT_TRUE(acadhost::messageBoxes().empty());
}

}  // namespace
