// Everything the add-on needs from AutoCAD, ACADE and MFC, in one place. Point the include
// path at the ObjectARX SDK and MFC to build against the real host.
//
// A unit that uses the host includes this header before anything that includes windows.h
// (comdef.h, win32/handles.h, ...): MFC refuses a unit that included windows.h first.
#pragma once

#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif

#include <afxwin.h>  // CFile, CFileException, AfxMessageBox, AfxWinInit, CWinApp

#include "accmd.h"     // AcEdCommandStack, acedRegCmds, ACRX_CMD_* flags
#include "acdocman.h"  // AcApDocManagerReactor, acDocManager, AcAp::DocLockMode
#include "aced.h"      // AcEditorReactor, acedEditor, acedIsMenuGroupLoaded
#include "acedads.h"   // acedGetVar, acedInvoke, acedDefun, ads_queueexpr, ...
#include "acutads.h"   // acutPrintf, acutNewRb, acutRelRb, acutBuildList
#include "adscodes.h"  // RTNORM, RTSTR, RTERROR, ...
#include "dbapserv.h"  // acdbHostApplicationServices, getUserRegistryProductRootKey
#include "rxboiler.h"  // acrx_abort
#include "rxclass.h"   // AcRxClass, newAcRxClass, deleteAcRxClass, acrxBuildClassHierarchy
#include "rxdict.h"    // acrxSysRegistry, acrxClassDictionary
#include "rxdlinkr.h"  // acrxDynamicLinker
#include "rxmfcapi.h"  // acedGetAcadWinApp
