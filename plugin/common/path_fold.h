// Paths compared as Windows compares them: letter case aside. Platform-free.
#pragma once

#include <string>

namespace kvs {

// One UTF-16 code unit upper-cased as Windows' ordinal case-insensitive comparison does it
// (simple one-to-one mappings of the Latin, Greek, Cyrillic, Armenian and full-width
// letters; everything else, surrogates included, is left alone).
wchar_t fold_path_unit(wchar_t c);

// Two paths name the same file as far as letter case goes: same length, every code unit
// equal after fold_path_unit.
bool same_path(const std::wstring& a, const std::wstring& b);

// The path with every code unit folded and "/" taken for "\", for comparing folder paths
// however they are written.
std::wstring folded_path(const std::wstring& path);

}  // namespace kvs
