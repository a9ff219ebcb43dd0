#include "common/text_util.h"

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
  std::size_t begin = 0, end = text.size();
  while (begin < end && is_space(text[begin])) ++begin;
  while (end > begin && is_space(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::wstring to_lower(std::wstring text) {
  for (std::size_t i = 0; i < text.size(); ++i)
    text[i] = static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(text[i])));
  return text;
}

std::vector<ListSpan> list_spans(const std::wstring& list) {
  std::vector<ListSpan> spans;
  for (std::size_t begin = 0; begin < list.size();) {
    std::size_t end = list.find(L';', begin);
    if (end == std::wstring::npos) end = list.size();
    const ListSpan span = {begin, end};
    spans.push_back(span);
    begin = end + 1;
  }
  return spans;
}

}  // namespace kvs
