// What the add-on says to people, in the user's language: one table of texts (texts.inc), each
// in English and Russian under one number, that the string table of every module is made from.
#pragma once

#include <string>
#include <vector>

namespace kvs {

enum TextId {
#define KVS_TEXT(id, number, english, russian) id = number,
#include "common/texts.inc"
#undef KVS_TEXT
};

// The text `id` in the user's language, with %1 to %4 filled in by the arguments.
std::wstring text(TextId id);
std::wstring text(TextId id, const std::wstring& a1);
std::wstring text(TextId id, const std::wstring& a1, const std::wstring& a2);
std::wstring text(TextId id, const std::wstring& a1, const std::wstring& a2, const std::wstring& a3);
std::wstring text(TextId id, const std::wstring& a1, const std::wstring& a2, const std::wstring& a3,
                  const std::wstring& a4);

// `pattern` with each %1 to %9 replaced by that argument; any other "%" stays as it is.
std::wstring fill_text(const std::wstring& pattern, const std::vector<std::wstring>& args);

// The text's pattern in the user's language. On Windows from the module's own string table,
// natively from the table itself.
std::wstring text_pattern(TextId id);

}  // namespace kvs
