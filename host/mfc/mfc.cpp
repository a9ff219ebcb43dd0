#include "afxwin.h"

#include <cwchar>
#include <string>

#include "win32/system_message.h"

namespace {

std::wstring system_message(DWORD code) {
  std::wstring text;
  return kvs::system_text(code, 0, text) ? text : L"error " + std::to_wstring(code);
}

}  // namespace

BOOL CException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const {
  if (pnHelpContext) *pnHelpContext = 0;
  if (lpszError && nMaxError) lpszError[0] = L'\0';
  return FALSE;
}

CFileException::CFileException(int cause, LONG lOsError, LPCWSTR lpszArchiveName)
    : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszArchiveName) {}

BOOL CFileException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const {
  if (pnHelpContext) *pnHelpContext = 0;
  if (!lpszError || !nMaxError) return FALSE;
  std::wstring text = system_message(static_cast<DWORD>(m_lOsError));
  if (!m_strFileName.IsEmpty()) text = std::wstring(m_strFileName) + L": " + text;
  wcsncpy(lpszError, text.c_str(), nMaxError - 1);
  lpszError[nMaxError - 1] = L'\0';
  return TRUE;
}

int PASCAL CFileException::OsErrorToException(LONG lOsError) {
  switch (lOsError) {
    case NO_ERROR: return none;
    case ERROR_FILE_NOT_FOUND: return fileNotFound;
    case ERROR_PATH_NOT_FOUND: case ERROR_INVALID_NAME: case ERROR_BAD_PATHNAME: return badPath;
    case ERROR_TOO_MANY_OPEN_FILES: return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED: case ERROR_WRITE_PROTECT: case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return accessDenied;
    case ERROR_INVALID_HANDLE: return invalidFile;
    case ERROR_CURRENT_DIRECTORY: return removeCurrentDir;
    case ERROR_NEGATIVE_SEEK: case ERROR_SEEK_ON_DEVICE: return badSeek;
    case ERROR_SHARING_VIOLATION: return sharingViolation;
    case ERROR_LOCK_VIOLATION: return lockViolation;
    case ERROR_HANDLE_DISK_FULL: case ERROR_DISK_FULL: return diskFull;
    case ERROR_HANDLE_EOF: return endOfFile;
    default: return genericException;
  }
}

void PASCAL CFileException::ThrowOsError(LONG lOsError, LPCWSTR lpszFileName) {
  if (lOsError != 0) throw new CFileException(OsErrorToException(lOsError), lOsError, lpszFileName);
}

CFile::CFile() : m_hFile(INVALID_HANDLE_VALUE) {}

CFile::~CFile() {
  if (m_hFile != INVALID_HANDLE_VALUE) CloseHandle(m_hFile);
}

BOOL CFile::Open(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
  DWORD access = 0;
  switch (nOpenFlags & 3) {
    case modeRead: access = GENERIC_READ; break;
    case modeWrite: access = GENERIC_WRITE; break;
    default: access = GENERIC_READ | GENERIC_WRITE; break;
  }
  DWORD share = 0;
  switch (nOpenFlags & 0x70) {
    case shareCompat: case shareExclusive: share = 0; break;
    case shareDenyWrite: share = FILE_SHARE_READ; break;
    case shareDenyRead: share = FILE_SHARE_WRITE; break;
    default: share = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
  }
  DWORD create = OPEN_EXISTING;
  if (nOpenFlags & modeCreate) create = (nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;

  HANDLE h = CreateFileW(lpszFileName, access, share, nullptr, create, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    if (pError) {
      LONG err = static_cast<LONG>(GetLastError());
      pError->m_lOsError = err;
      pError->m_cause = CFileException::OsErrorToException(err);
      pError->m_strFileName = lpszFileName;
    }
    return FALSE;
  }
  if (m_hFile != INVALID_HANDLE_VALUE) CloseHandle(m_hFile);
  m_hFile = h;
  m_strFileName = lpszFileName;
  return TRUE;
}

BOOL CFile::Open(LPCWSTR lpszFileName, UINT nOpenFlags, CAtlTransactionManager* pTM, CFileException* pError) {
  if (!pTM) return Open(lpszFileName, nOpenFlags, pError);
  if (pError) {
    pError->m_lOsError = ERROR_NOT_SUPPORTED;
    pError->m_cause = CFileException::genericException;
    pError->m_strFileName = lpszFileName;
  }
  return FALSE;
}

ULONGLONG CFile::GetLength() const {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(m_hFile, &size)) CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), m_strFileName.GetString());
  return static_cast<ULONGLONG>(size.QuadPart);
}

UINT CFile::Read(void* lpBuf, UINT nCount) {
  if (nCount == 0) return 0;
  DWORD got = 0;
  if (!ReadFile(m_hFile, lpBuf, nCount, &got, nullptr))
    CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), m_strFileName.GetString());
  return got;
}

void CFile::Write(const void* lpBuf, UINT nCount) {
  if (nCount == 0) return;
  DWORD put = 0;
  if (!WriteFile(m_hFile, lpBuf, nCount, &put, nullptr))
    CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), m_strFileName.GetString());
  if (put != nCount) throw new CFileException(CFileException::diskFull, ERROR_DISK_FULL, m_strFileName.GetString());
}

void CFile::Close() {
  BOOL ok = TRUE;
  DWORD err = 0;
  if (m_hFile != INVALID_HANDLE_VALUE) {
    ok = CloseHandle(m_hFile);
    err = GetLastError();
  }
  m_hFile = INVALID_HANDLE_VALUE;
  if (!ok) CFileException::ThrowOsError(static_cast<LONG>(err), m_strFileName.GetString());
}

void PASCAL CFile::Rename(LPCWSTR lpszOldName, LPCWSTR lpszNewName, CAtlTransactionManager* pTM) {
  if (pTM) CFileException::ThrowOsError(ERROR_NOT_SUPPORTED, lpszOldName);
  if (!MoveFileW(lpszOldName, lpszNewName)) CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), lpszOldName);
}

void PASCAL CFile::Remove(LPCWSTR lpszFileName, CAtlTransactionManager* pTM) {
  if (pTM) CFileException::ThrowOsError(ERROR_NOT_SUPPORTED, lpszFileName);
  if (!DeleteFileW(lpszFileName)) CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), lpszFileName);
}

namespace {
CWinApp* g_app = nullptr;
std::wstring g_exe_stem;
const UINT kAppTitleId = 0xE000;  // AFX_IDS_APP_TITLE
}  // namespace

CWinApp::CWinApp(LPCWSTR lpszAppName) : m_pszAppName(lpszAppName) { g_app = this; }

LPCWSTR AfxGetAppName() {
  if (g_app && g_app->m_pszAppName) return g_app->m_pszAppName;
  if (g_exe_stem.empty()) {
    // MFC's order: the program's AFX_IDS_APP_TITLE string, else its file name.
    wchar_t title[256] = {};
    if (LoadStringW(GetModuleHandleW(nullptr), kAppTitleId, title, 256) > 0) return (g_exe_stem = title).c_str();
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p = path;
    std::size_t slash = p.find_last_of(L"\\/");
    if (slash != std::wstring::npos) p.erase(0, slash + 1);
    std::size_t dot = p.rfind(L'.');
    if (dot != std::wstring::npos) p.erase(dot);
    g_exe_stem = p;
  }
  return g_exe_stem.c_str();
}

int AfxMessageBox(LPCWSTR lpszText, UINT nType, UINT /*nIDHelp*/) {
  return MessageBoxW(nullptr, lpszText, AfxGetAppName(), nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
  wchar_t text[1024] = {};
  LoadStringW(GetModuleHandleW(nullptr), nIDPrompt, text, 1024);
  return AfxMessageBox(text, nType, nIDHelp);
}

BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE /*hPrevInstance*/, LPWSTR /*lpCmdLine*/, int /*nCmdShow*/) {
  // The framework cannot start without a module; tests make that happen on purpose.
  wchar_t flag[8];
  if (GetEnvironmentVariableW(L"KVS_MFC_INIT_FAIL", flag, 8) > 0) return FALSE;
  return hInstance != nullptr;
}
