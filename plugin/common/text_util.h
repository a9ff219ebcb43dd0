// Small wide-text transforms shared by every subsystem. Platform-free.
#pragma once

#include <cstdint>
#include <cwctype>
#include <string>
#include <string_view>

namespace kvs {

// True when `needle` occurs anywhere in `text` (case-sensitive, code units compared exactly).
bool contains(const std::wstring& text, const std::wstring& needle);

// Every occurrence of `from`, left to right and not overlapping, replaced by `to`.
// An empty `from` leaves the text as it is.
std::wstring replace_all(std::wstring text, const std::wstring& from, const std::wstring& to);

namespace detail {
// The C library's answers for the first 128 characters, asked once.
struct AsciiSpaces {
  bool space[128];
  AsciiSpaces() : space() {
    for (int i = 0; i < 128; ++i) space[i] = std::iswspace(static_cast<std::wint_t>(i)) != 0;
  }
};
}  // namespace detail

// White space as the C library's iswspace classifies it, without a call for the first 128
// characters. Inline: the rewrite asks it of most characters of a project.
inline bool is_space(wchar_t c) {
  static const detail::AsciiSpaces ascii;
  // wchar_t is unsigned on Windows and signed elsewhere: compared as an unsigned code.
  const auto code = static_cast<std::uint32_t>(c);
  // Letters, digits and punctuation are no library's white space; most characters are these.
  if (code > 0x20 && code < 0x7F) return false;
  if (code < 128) return ascii.space[code];
  return std::iswspace(static_cast<std::wint_t>(c)) != 0;
}

// Leading and trailing white space removed, as the C library's iswspace classifies it.
std::wstring trim(const std::wstring& text);

// The same as trim, as a view into `text`, for callers that must not copy.
std::wstring_view trim_view(std::wstring_view text);
// Only the leading, or only the trailing, white space removed.
std::wstring_view trim_left_view(std::wstring_view text);
std::wstring_view trim_right_view(std::wstring_view text);

// Lower-cased code unit by code unit with the C library's towlower.
std::wstring to_lower(std::wstring text);

}  // namespace kvs
