// The texts from the string table of the module this code is linked into. By the user's display
// language, not the thread's: an English AutoCAD on a Russian Windows still speaks Russian.
#include "common/texts.h"

#include <windows.h>

#include "win32/resource_text.h"
#include "win32/ui_language.h"

namespace kvs {

std::wstring text_pattern(TextId id) {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&text_pattern), &module);
  std::wstring pattern;
  if (resource_string(module, id, language_id(user_language()), pattern) ||
      resource_string(module, id, language_id(UiLanguage::English), pattern))
    return pattern;
  return L"[text " + std::to_wstring(static_cast<long long>(id)) + L"]";
}

}  // namespace kvs
