// AutoCAD's MFC-side entry points.
#pragma once

#include <afxwin.h>

#include "acadhost/port.h"

// AutoCAD's application object; GetIDispatch gives its automation interface (IAcadApplication).
ACHOST_PORT CWinApp* acedGetAcadWinApp();
