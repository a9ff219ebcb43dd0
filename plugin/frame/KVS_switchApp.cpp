#include "frame/KVS_switchApp.h"

#include "frame/menu_reactor.h"
#include "menu_plc/plc_swap.h"

HINSTANCE _hdllInstance = nullptr;
CKVS_switchApp entryPointObject;

namespace {

_ARXCOMMAND_ENTRY kvsOnCommand = {L"KVS_switch", L"kvs_on", L"kvs_on", ACRX_CMD_TRANSPARENT,
                                  CKVS_switchApp::KVS_switchkvs_on, nullptr, 0xFFFFFFFF};
_ARXCOMMAND_ENTRY kvsOffCommand = {L"KVS_switch", L"kvs_off", L"kvs_off", ACRX_CMD_TRANSPARENT,
                                   CKVS_switchApp::KVS_switchkvs_off, nullptr, 0xFFFFFFFF};
_ARXCOMMAND_ENTRY initKvsCommand = {L"KVS_switch", L"init_kvs", L"init_kvs", ACRX_CMD_TRANSPARENT,
                                    CKVS_switchApp::KVS_switchinit_kvs, nullptr, 0xFFFFFFFF};
_ARXCOMMAND_ENTRY* commandSlots[] = {nullptr, &kvsOnCommand, &kvsOffCommand, &initKvsCommand, nullptr};

_DBX_REGISTER_OBJECT_ENTRY menuReactorClass = {CMenuReactor::desc, CMenuReactor::rxInit, false};
_DBX_REGISTER_OBJECT_ENTRY* classSlots[] = {nullptr, &menuReactorClass, nullptr};

_ADSSYMBOL_ENTRY* symbolSlots[] = {nullptr, nullptr};

}  // namespace

const RegistrationTable<_ARXCOMMAND_ENTRY> arxCommandTable = {&commandSlots[0], &commandSlots[4]};
const RegistrationTable<_DBX_REGISTER_OBJECT_ENTRY> dbxClassTable = {&classSlots[0], &classSlots[2]};
const RegistrationTable<_ADSSYMBOL_ENTRY> adsSymbolTable = {&symbolSlots[0], &symbolSlots[1]};

AcRx::AppRetCode CKVS_switchApp::On_kInitAppMsg(void* pkt) {
  AcRx::AppRetCode result = AcRxArxApp::On_kInitAppMsg(pkt);
  checkRegistry();
  if (!identifyRelease()) return result;
  initPCL();
  return result;
}

AcRx::AppRetCode CKVS_switchApp::On_kUnloadAppMsg(void* pkt) {
  AcRx::AppRetCode result = AcRxArxApp::On_kUnloadAppMsg(pkt);
  deinitPCL();
  return result;
}

void CKVS_switchApp::RegisterServerComponents() {}
