// AutoCAD's MFC-side entry points. Like the SDK's, this header expects the framework's
// headers (afxwin.h) to be included before it.
#pragma once

#include "acadhost/port.h"

// AutoCAD's application object; GetIDispatch gives its automation interface (IAcadApplication).
ACHOST_PORT CWinApp* acedGetAcadWinApp();
