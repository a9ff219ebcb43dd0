// Stand-in for the few pieces of the MFC framework the add-on uses, with MFC's names and
// behaviour: CFile (throws CFileException* on failure, as MFC does), AfxMessageBox and
// AfxWinInit. Linked statically, as the real framework's code would run inside the module.
#pragma once

#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif

#include <windows.h>

#include <string>

class CException {
 public:
  virtual ~CException() = default;
  void Delete() { delete this; }
  virtual BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const;
};

class CFileException : public CException {
 public:
  enum {
    none, genericException, fileNotFound, badPath, tooManyOpenFiles, accessDenied, invalidFile,
    removeCurrentDir, directoryFull, badSeek, hardIO, sharingViolation, lockViolation, diskFull, endOfFile
  };
  CFileException(int cause = none, LONG lOsError = -1, LPCWSTR lpszArchiveName = nullptr);
  BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;
  static int OsErrorToException(LONG lOsError);
  static void ThrowOsError(LONG lOsError, LPCWSTR lpszFileName = nullptr);

  int m_cause;
  LONG m_lOsError;
  std::wstring m_strFileName;
};

class CFile {
 public:
  enum OpenFlags {
    modeRead = 0x0000, modeWrite = 0x0001, modeReadWrite = 0x0002,
    shareCompat = 0x0000, shareExclusive = 0x0010, shareDenyWrite = 0x0020,
    shareDenyRead = 0x0030, shareDenyNone = 0x0040, modeNoInherit = 0x0080,
    modeCreate = 0x1000, modeNoTruncate = 0x2000, typeText = 0x4000, typeBinary = 0x8000
  };

  CFile();
  virtual ~CFile();
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  virtual BOOL Open(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);
  virtual ULONGLONG GetLength() const;
  virtual UINT Read(void* lpBuf, UINT nCount);
  virtual void Write(const void* lpBuf, UINT nCount);
  virtual void Close();

  static void PASCAL Rename(LPCWSTR lpszOldName, LPCWSTR lpszNewName);
  static void PASCAL Remove(LPCWSTR lpszFileName);

  HANDLE m_hFile;

 private:
  std::wstring m_strFileName;
};

// The caption is the application's name: the main program's title string resource, or its
// file name without extension when it has none, as MFC does.
int AfxMessageBox(LPCWSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
LPCWSTR AfxGetAppName();

// The automation side of a framework object: its IDispatch, when it has one.
class CCmdTarget {
 public:
  virtual ~CCmdTarget() = default;
  LPDISPATCH GetIDispatch(BOOL bAddRef) {
    if (m_pDispatch && bAddRef) m_pDispatch->AddRef();
    return m_pDispatch;
  }

 protected:
  LPDISPATCH m_pDispatch = nullptr;
};

class CWinApp : public CCmdTarget {
 public:
  explicit CWinApp(LPCWSTR lpszAppName = nullptr);
  virtual ~CWinApp() = default;
  LPCWSTR m_pszAppName;
};

BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nCmdShow);
