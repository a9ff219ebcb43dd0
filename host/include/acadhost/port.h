// Export macro of the host DLL (the stand-in for AutoCAD's own modules).
#pragma once

#ifdef ACADHOST_BUILDING
#define ACHOST_PORT __declspec(dllexport)
#else
#define ACHOST_PORT __declspec(dllimport)
#endif
