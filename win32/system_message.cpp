#include "win32/system_message.h"

#include <cwctype>

namespace kvs {

std::optional<std::wstring> system_text(DWORD code, LANGID language) {
  const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
  wchar_t* text = nullptr;
  const DWORD n = FormatMessageW(flags, nullptr, code, language, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
  if (!n) return std::nullopt;
  std::wstring out(text, n);
  LocalFree(text);
  while (!out.empty() && std::iswspace(static_cast<std::wint_t>(out.back()))) out.pop_back();
  return out;
}

std::wstring system_message(DWORD code) {
  std::optional<std::wstring> text = system_text(code, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
  if (!text) text = system_text(code);
  if (!text) return L"system error " + std::to_wstring(code);
  while (!text->empty() && (text->back() == L'.' || std::iswspace(static_cast<std::wint_t>(text->back()))))
    text->pop_back();
  return *text;
}

std::wstring system_message_with_code(DWORD code) {
  return system_message(code) + L" (error " + std::to_wstring(code) + L")";
}

}  // namespace kvs
