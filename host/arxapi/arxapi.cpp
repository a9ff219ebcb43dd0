// The version handshake that the SDK's link library gives every ObjectARX module.
#include <windows.h>

extern "C" __declspec(dllexport) int acrxGetApiVersion() { return 0x140000; }  // API 20.0
