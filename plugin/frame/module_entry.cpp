// The module's entry points. KVS_switch.def exports acrxEntryPoint, and with it the
// SDK's acrxGetApiVersion: AutoCAD talks to the add-on only through these two.
#include "frame/KVS_switchApp.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID) {
  if (dwReason == DLL_PROCESS_ATTACH) _hdllInstance = hInstance;
  return TRUE;
}

extern "C" AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* pkt) {
  return entryPointObject.acrxEntryPoint(msg, pkt);
}
