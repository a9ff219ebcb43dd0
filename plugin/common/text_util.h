// Small wide-text transforms shared by every subsystem. Platform-free.
#pragma once

#include <string>
#include <string_view>

namespace kvs {

// True when `needle` occurs anywhere in `text` (case-sensitive, code units compared exactly).
bool contains(const std::wstring& text, const std::wstring& needle);

// Every occurrence of `from`, left to right and not overlapping, replaced by `to`.
// An empty `from` leaves the text as it is.
std::wstring replace_all(std::wstring text, const std::wstring& from, const std::wstring& to);

// White space as the C library's iswspace classifies it, without a call for the first 128 characters.
bool is_space(wchar_t c);

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
