#include "win32/console_text.h"

#include <climits>

namespace kvs {

bool is_console(DWORD which) {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(which), &mode) != 0;
}

void write_text(DWORD which, const std::wstring& text, UINT code_page) {
  const HANDLE handle = GetStdHandle(which);
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE || text.empty() || text.size() > INT_MAX / 4) return;
  DWORD put = 0;
  if (is_console(which)) {
    WriteConsoleW(handle, text.data(), static_cast<DWORD>(text.size()), &put, nullptr);
    return;
  }
  const int size = static_cast<int>(text.size());
  const int n = WideCharToMultiByte(code_page, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return;
  std::string bytes(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(code_page, 0, text.data(), size, &bytes[0], n, nullptr, nullptr);
  WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
}

}  // namespace kvs
