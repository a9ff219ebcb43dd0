// Everything the add-on needs from AutoCAD, ACADE and MFC, in one place. Point these
// includes at the ObjectARX SDK and MFC to build against the real host.
#pragma once

#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif

#include <afxwin.h>  // CFile, AfxMessageBox, AfxWinInit

#include <windows.h>

#include "accmd.h"     // AcEdCommandStack, ACRX_CMD_* flags
#include "acdocman.h"  // AcApDocManagerReactor, AcAp::DocLockMode
#include "aced.h"      // acedGetVar, acedDefun, ..., acutPrintf, resbuf helpers
#include "rxregsvc.h"  // acrxSysRegistry, AcRxDynamicLinker, runtime classes
#include "rxmfcapi.h"  // acedGetAcadWinApp
#include "acad_automation.h"  // IAcadApplication, IAcadPreferences, IAcadPreferencesFiles
