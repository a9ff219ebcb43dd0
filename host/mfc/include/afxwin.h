// Stand-in for the pieces of MFC's afxwin.h the add-on uses: the command target and the
// application class, AfxMessageBox, AfxGetAppName and AfxWinInit.
#pragma once

#include "afx.h"

// The automation side of a framework object: its IDispatch, when it has one.
class CCmdTarget : public CObject {
 public:
  LPDISPATCH GetIDispatch(BOOL bAddRef) {
    if (m_pDispatch && bAddRef) m_pDispatch->AddRef();
    return m_pDispatch;
  }

 protected:
  LPDISPATCH m_pDispatch = nullptr;
};

class CWinThread : public CCmdTarget {};

class CWinApp : public CWinThread {
 public:
  explicit CWinApp(LPCWSTR lpszAppName = nullptr);
  LPCWSTR m_pszAppName;
};

// The caption is the application's name: the main program's title string resource, or its
// file name without extension when it has none, as MFC does.
int AfxMessageBox(LPCWSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
// The text is the main program's string resource nIDPrompt.
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);
LPCWSTR AfxGetAppName();

BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nCmdShow);
