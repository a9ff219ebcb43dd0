#include "common/text_util.h"

#include <cwctype>

namespace kvs {

bool contains(const std::wstring& text, const std::wstring& needle) {
  return text.find(needle) != std::wstring::npos;
}

std::wstring replace_all(std::wstring text, const std::wstring& from, const std::wstring& to) {
  if (from.empty()) return text;
  std::wstring out;
  out.reserve(text.size());
  std::size_t pos = 0;
  for (std::size_t hit; (hit = text.find(from, pos)) != std::wstring::npos; pos = hit + from.size()) {
    out.append(text, pos, hit - pos);
    out.append(to);
  }
  out.append(text, pos, std::wstring::npos);
  return out;
}

std::wstring trim(const std::wstring& text) {
  return std::wstring(trim_view(text));
}

std::wstring_view trim_view(std::wstring_view text) { return trim_right_view(trim_left_view(text)); }

std::wstring_view trim_left_view(std::wstring_view text) {
  std::size_t b = 0;
  while (b < text.size() && is_space(text[b])) ++b;
  return text.substr(b);
}

std::wstring_view trim_right_view(std::wstring_view text) {
  std::size_t e = text.size();
  while (e > 0 && is_space(text[e - 1])) --e;
  return text.substr(0, e);
}

std::wstring to_lower(std::wstring text) {
  for (auto& c : text) c = static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(c)));
  return text;
}

}  // namespace kvs
