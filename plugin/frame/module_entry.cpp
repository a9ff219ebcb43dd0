// The module's exports: AutoCAD talks to the add-on only through acrxEntryPoint.
#include "frame/KVS_switchApp.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID) {
  if (dwReason == DLL_PROCESS_ATTACH) _hdllInstance = hInstance;
  return TRUE;
}

extern "C" __declspec(dllexport) AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* pkt) {
  return entryPointObject.acrxEntryPoint(msg, pkt);
}
