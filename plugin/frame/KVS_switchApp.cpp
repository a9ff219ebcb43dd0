#include "frame/KVS_switchApp.h"

#include <new>

#include "frame/ed_reactor.h"
#include "frame/menu_reactor.h"
#include "commands/project_list.h"
#include "common/text_util.h"
#include "common/texts.h"
#include "frame/environment_file.h"
#include "menu_plc/cui_menu.h"
#include "menu_plc/plc_swap.h"
#include "switching/docs_folders.h"

HINSTANCE _hdllInstance = nullptr;
CKVS_switchApp entryPointObject;
CEdReactor* pEdReactor = nullptr;
CMenuReactor* pMReactor = nullptr;

void CKVS_switchApp::KVS_switchinit_kvs() { init_kvs(); }

namespace {

// Open from load to unload: update.exe leaves the PLC swap in force while any session holds one.
kvs::KernelHandle plcSession;

_ARXCOMMAND_ENTRY kvsOnCommand = {L"KVS_switch", L"kvs_on", L"kvs_on", ACRX_CMD_TRANSPARENT,
                                  CKVS_switchApp::KVS_switchkvs_on, nullptr, 0xFFFFFFFF};
_ARXCOMMAND_ENTRY kvsOffCommand = {L"KVS_switch", L"kvs_off", L"kvs_off", ACRX_CMD_TRANSPARENT,
                                   CKVS_switchApp::KVS_switchkvs_off, nullptr, 0xFFFFFFFF};
_ARXCOMMAND_ENTRY initKvsCommand = {L"KVS_switch", L"init_kvs", L"init_kvs", ACRX_CMD_TRANSPARENT,
                                    CKVS_switchApp::KVS_switchinit_kvs, nullptr, 0xFFFFFFFF};
_ARXCOMMAND_ENTRY kvsStatusCommand = {L"KVS_switch", L"kvs_status", L"kvs_status", ACRX_CMD_TRANSPARENT,
                                      CKVS_switchApp::KVS_switchkvs_status, nullptr, 0xFFFFFFFF};
_ARXCOMMAND_ENTRY kvsListCommand = {L"KVS_switch", L"kvs_list", L"kvs_list", ACRX_CMD_TRANSPARENT,
                                    CKVS_switchApp::KVS_switchkvs_list, nullptr, 0xFFFFFFFF};
_ARXCOMMAND_ENTRY kvsUndoCommand = {L"KVS_switch", L"kvs_undo", L"kvs_undo", ACRX_CMD_TRANSPARENT,
                                    CKVS_switchApp::KVS_switchkvs_undo, nullptr, 0xFFFFFFFF};
_ARXCOMMAND_ENTRY* commandSlots[] = {nullptr,           &kvsOnCommand,   &kvsOffCommand,  &initKvsCommand,
                                     &kvsStatusCommand, &kvsListCommand, &kvsUndoCommand, nullptr};

_DBX_REGISTER_OBJECT_ENTRY menuReactorClass = {CMenuReactor::desc, CMenuReactor::rxInit, false};
_DBX_REGISTER_OBJECT_ENTRY* classSlots[] = {nullptr, &menuReactorClass, nullptr};

_ADSSYMBOL_ENTRY* symbolSlots[] = {nullptr, nullptr};

}  // namespace

const RegistrationTable<_ARXCOMMAND_ENTRY> arxCommandTable = {&commandSlots[0], &commandSlots[7]};
const RegistrationTable<_DBX_REGISTER_OBJECT_ENTRY> dbxClassTable = {&classSlots[0], &classSlots[2]};
const RegistrationTable<_ADSSYMBOL_ENTRY> adsSymbolTable = {&symbolSlots[0], &symbolSlots[1]};

AcRx::AppRetCode CKVS_switchApp::On_kInitAppMsg(void* pkt) {
  AcRx::AppRetCode result = AcRxArxApp::On_kInitAppMsg(pkt);
  checkRegistry();
  if (!identifyRelease()) return result;
  plcSession = holdPlcSession();
  initPCL();
  std::wstring docs;
  if (!getMyDocsPath(L"RoamingUserMyDocsAcadeFolder", docs)) {
    acutPrintf(L"%ls\n", kvs::text(kvs::kTextSystemInformationUnreadable, L"RoamingUserMyDocsAcadeFolder").c_str());
    return result;
  }
  if (!acedIsMenuGroupLoaded(L"KORVANTA")) CUIARXMYCUILOAD();
  pEdReactor = new (std::nothrow) CEdReactor(true);
  pMReactor = new (std::nothrow) CMenuReactor(true);
  init_projects();
  createAddonEnvironment(docs);
  return result;
}

AcRx::AppRetCode CKVS_switchApp::On_kUnloadAppMsg(void* pkt) {
  // The reactors go first, while their class is still registered: the host must never call
  // into the module once it is freed.
  delete pMReactor;
  pMReactor = nullptr;
  delete pEdReactor;
  pEdReactor = nullptr;
  AcRx::AppRetCode result = AcRxArxApp::On_kUnloadAppMsg(pkt);
  plcSession.reset();
  deinitPCL();
  return result;
}

void CKVS_switchApp::RegisterServerComponents() {}
