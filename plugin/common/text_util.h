// Small wide-text transforms shared by every subsystem. Platform-free.
#pragma once

#include <cstdint>
#include <cwctype>
#include <string>
#include <vector>

namespace kvs {

// Where one entry of a ";" list lies, [begin, end), without its ";".
struct ListSpan {
  std::size_t begin, end;
};

// The entries of a ";" list, the one way every list of the system is split (folder lists,
// AutoCAD's support path, the registered projects): "a;;b" gives "a", "" and "b"; a ";" at the
// end closes the last entry and opens none; an empty text has none.
std::vector<ListSpan> list_spans(const std::wstring& list);

// True when `needle` occurs anywhere in `text` (case-sensitive, code units compared exactly).
bool contains(const std::wstring& text, const std::wstring& needle);

// Every occurrence of `from`, left to right and not overlapping, replaced by `to`.
// An empty `from` leaves the text as it is.
std::wstring replace_all(std::wstring text, const std::wstring& from, const std::wstring& to);

// White space as the C library's iswspace classifies it; printable ASCII, most of a
// project's characters, is told without a call.
inline bool is_space(wchar_t c) {
  // wchar_t is unsigned on Windows and signed elsewhere: compared as an unsigned code.
  const std::uint32_t code = static_cast<std::uint32_t>(c);
  if (code > 0x20 && code < 0x7F) return false;
  return std::iswspace(static_cast<std::wint_t>(c)) != 0;
}

// Leading and trailing white space removed, as the C library's iswspace classifies it.
std::wstring trim(const std::wstring& text);

// Lower-cased code unit by code unit with the C library's towlower.
std::wstring to_lower(std::wstring text);

}  // namespace kvs
