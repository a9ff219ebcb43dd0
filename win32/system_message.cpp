#include "win32/system_message.h"

#include <cwctype>

#include "win32/ui_language.h"

namespace kvs {

bool system_text(DWORD code, LANGID language, std::wstring& text) {
  const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
  wchar_t* buffer = nullptr;
  const DWORD n = FormatMessageW(flags, nullptr, code, language, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
  if (!n) return false;
  text.assign(buffer, n);
  LocalFree(buffer);
  while (!text.empty() && std::iswspace(static_cast<std::wint_t>(text[text.size() - 1]))) text.erase(text.size() - 1);
  return true;
}

std::wstring system_message(DWORD code) {
  std::wstring text;
  if (!system_text(code, language_id(user_language()), text) && !system_text(code, 0, text))
    return L"system error " + std::to_wstring(code);
  while (!text.empty() && (text[text.size() - 1] == L'.' || std::iswspace(static_cast<std::wint_t>(text[text.size() - 1]))))
    text.erase(text.size() - 1);
  return text;
}

}  // namespace kvs
