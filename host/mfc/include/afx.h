// Stand-in for the pieces of MFC's afx.h the add-on uses, with MFC's names, overloads and
// behaviour: CObject, CString, CException, CFileException and CFile (which throws
// CFileException* on failure, as MFC does). Linked statically, as the real framework's code
// would run inside the module.
#pragma once

// The framework includes windows.h itself, with its own settings, and so refuses a unit that
// included it first, as MFC does. Programs that are no MFC units but use MFC units' headers
// (the tests) say so with MFC_STANDIN_NOT_AN_MFC_UNIT.
#if defined(_WINDOWS_) && !defined(MFC_STANDIN_NOT_AN_MFC_UNIT)
#error WINDOWS.H already included.  MFC apps must not #include <windows.h>
#endif

// As MFC does: either spelling of the Unicode setting brings the other. The stand-in has
// only the Unicode build.
#if defined(_UNICODE) && !defined(UNICODE)
#define UNICODE
#endif
#if defined(UNICODE) && !defined(_UNICODE)
#define _UNICODE
#endif
#ifndef UNICODE
#error The framework stand-in is Unicode only: define UNICODE or _UNICODE.
#endif

#include <windows.h>

#include "afxstr.h"

// ATL's kernel-transaction wrapper, which some of CFile's overloads take.
class CAtlTransactionManager;

class CObject {
 public:
  virtual ~CObject() = default;

 protected:
  CObject() = default;

 private:
  CObject(const CObject&) = delete;
  void operator=(const CObject&) = delete;
};

class CException : public CObject {
 public:
  void Delete() { delete this; }
  virtual BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const;
};

class CFileException : public CException {
 public:
  enum {
    none, genericException, fileNotFound, badPath, tooManyOpenFiles, accessDenied, invalidFile,
    removeCurrentDir, directoryFull, badSeek, hardIO, sharingViolation, lockViolation, diskFull, endOfFile
  };
  CFileException(int cause = CFileException::none, LONG lOsError = -1, LPCWSTR lpszArchiveName = nullptr);
  BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;
  static int PASCAL OsErrorToException(LONG lOsError);
  static void PASCAL ThrowOsError(LONG lOsError, LPCWSTR lpszFileName = nullptr);

  int m_cause;
  LONG m_lOsError;
  CString m_strFileName;
};

class CFile : public CObject {
 public:
  enum OpenFlags {
    modeRead = 0x0000, modeWrite = 0x0001, modeReadWrite = 0x0002,
    shareCompat = 0x0000, shareExclusive = 0x0010, shareDenyWrite = 0x0020,
    shareDenyRead = 0x0030, shareDenyNone = 0x0040, modeNoInherit = 0x0080,
    modeCreate = 0x1000, modeNoTruncate = 0x2000, typeText = 0x4000, typeBinary = 0x8000
  };

  CFile();
  ~CFile() override;

  virtual BOOL Open(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);
  // The stand-in has no transactions: only a null transaction manager is accepted.
  virtual BOOL Open(LPCWSTR lpszFileName, UINT nOpenFlags, CAtlTransactionManager* pTM,
                    CFileException* pError = nullptr);
  virtual ULONGLONG GetLength() const;
  virtual UINT Read(void* lpBuf, UINT nCount);
  virtual void Write(const void* lpBuf, UINT nCount);
  virtual void Close();

  static void PASCAL Rename(LPCWSTR lpszOldName, LPCWSTR lpszNewName, CAtlTransactionManager* pTM = nullptr);
  static void PASCAL Remove(LPCWSTR lpszFileName, CAtlTransactionManager* pTM = nullptr);

  HANDLE m_hFile;

 protected:
  CString m_strFileName;
};
