#include "win32/resource_text.h"

namespace kvs {

bool resource_string(HMODULE module, unsigned id, LANGID language, std::wstring& text) {
  // A string table block holds 16 strings, each its length followed by its characters.
  HRSRC found = FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), language);
  if (!found) return false;
  HGLOBAL loaded = LoadResource(module, found);
  const WCHAR* at = loaded ? static_cast<const WCHAR*>(LockResource(loaded)) : nullptr;
  if (!at) return false;
  for (unsigned i = 0; i < (id & 15); ++i) at += 1 + *at;
  if (*at == 0) return false;
  text.assign(at + 1, *at);
  return true;
}

}  // namespace kvs
