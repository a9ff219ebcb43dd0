#pragma once

#include "accmd.h"
#include "acedads.h"
#include "acutads.h"
#include "aceditor.h"  // AcEditor, AcEditorReactor

// True when a menu group of that name (any letter case) is loaded.
ACHOST_PORT Adesk::Boolean acedIsMenuGroupLoaded(const ACHAR* pszGroupName);
