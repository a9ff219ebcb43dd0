// AutoCAD's automation interfaces (IAcadApplication, IAcadPreferences, IAcadPreferencesFiles),
// their smart pointers and the wrappers that raise _com_error, as Visual C++ generates them
// from AutoCAD's type library. Other compilers have no #import: they get the stand-in of the
// generated header.
#pragma once

#ifdef _MSC_VER
#import "acax20ENU.tlb" no_namespace
#else
#include "acax20ENU.tlh"
#endif
