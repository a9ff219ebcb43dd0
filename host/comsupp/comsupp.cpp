// What the compiler's COM support library gives a module and MinGW-w64 lacks: the out-of-line
// pieces that <comdef.h> and <comutil.h> only declare.
#include <comdef.h>

#include <cstring>

void WINAPI _com_issue_errorex(HRESULT hr, IUnknown* punk, REFIID riid) {
  // The error information is taken only when the object says it offers some for this interface.
  IErrorInfo* info = nullptr;
  if (punk) {
    ISupportErrorInfo* support = nullptr;
    if (SUCCEEDED(punk->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&support)))) {
      if (support->InterfaceSupportsErrorInfo(riid) == S_OK && GetErrorInfo(0, &info) != S_OK) info = nullptr;
      support->Release();
    }
  }
  __mingw_com_error_handler(hr, info);
}

namespace _com_util {

BSTR WINAPI ConvertStringToBSTR(const char* pSrc) {
  if (!pSrc) return nullptr;
  int n = MultiByteToWideChar(CP_ACP, 0, pSrc, -1, nullptr, 0);
  if (n <= 0) _com_issue_error(HRESULT_FROM_WIN32(GetLastError()));
  BSTR out = SysAllocStringLen(nullptr, static_cast<UINT>(n - 1));
  if (!out) _com_issue_error(E_OUTOFMEMORY);
  MultiByteToWideChar(CP_ACP, 0, pSrc, -1, out, n);
  return out;
}

char* WINAPI ConvertBSTRToString(BSTR pSrc) {
  if (!pSrc) return nullptr;
  int n = WideCharToMultiByte(CP_ACP, 0, pSrc, static_cast<int>(SysStringLen(pSrc)) + 1, nullptr, 0, nullptr, nullptr);
  if (n <= 0) _com_issue_error(HRESULT_FROM_WIN32(GetLastError()));
  char* out = new char[static_cast<std::size_t>(n)];
  WideCharToMultiByte(CP_ACP, 0, pSrc, static_cast<int>(SysStringLen(pSrc)) + 1, out, n, nullptr, nullptr);
  return out;
}

}  // namespace _com_util
