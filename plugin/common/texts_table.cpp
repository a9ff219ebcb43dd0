// The texts without a Windows string table: the platform-free build's, by the locale's language.
#include <cstdlib>
#include <cstring>

#include "common/texts.h"

namespace kvs {

namespace {

struct TextRow {
  TextId id;
  const wchar_t* english;
  const wchar_t* russian;
};

const TextRow kTexts[] = {
#define KVS_TEXT(id, number, english, russian) {id, L##english, L##russian},
#include "common/texts.inc"
#undef KVS_TEXT
};

bool russian() {
  const char* names[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
  for (const char* name : names) {
    const char* value = std::getenv(name);
    if (value && *value) return std::strncmp(value, "ru", 2) == 0;
  }
  return false;
}

}  // namespace

std::wstring text_pattern(TextId id) {
  for (const TextRow& row : kTexts)
    if (row.id == id) return russian() ? row.russian : row.english;
  return L"[text " + std::to_wstring(static_cast<long long>(id)) + L"]";
}

}  // namespace kvs
