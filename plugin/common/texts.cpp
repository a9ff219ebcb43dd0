#include "common/texts.h"

namespace kvs {

std::wstring fill_text(const std::wstring& pattern, const std::vector<std::wstring>& args) {
  std::wstring out;
  out.reserve(pattern.size());
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const wchar_t next = i + 1 < pattern.size() ? pattern[i + 1] : L'\0';
    if (pattern[i] == L'%' && next >= L'1' && next <= L'9') {
      const std::size_t n = static_cast<std::size_t>(next - L'1');
      if (n < args.size()) out += args[n];
      ++i;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

std::wstring text(TextId id) { return text_pattern(id); }

std::wstring text(TextId id, const std::wstring& a1) {
  std::vector<std::wstring> args(1, a1);
  return fill_text(text_pattern(id), args);
}

std::wstring text(TextId id, const std::wstring& a1, const std::wstring& a2) {
  std::vector<std::wstring> args(1, a1);
  args.push_back(a2);
  return fill_text(text_pattern(id), args);
}

std::wstring text(TextId id, const std::wstring& a1, const std::wstring& a2, const std::wstring& a3) {
  std::vector<std::wstring> args(1, a1);
  args.push_back(a2);
  args.push_back(a3);
  return fill_text(text_pattern(id), args);
}

std::wstring text(TextId id, const std::wstring& a1, const std::wstring& a2, const std::wstring& a3,
                  const std::wstring& a4) {
  std::vector<std::wstring> args(1, a1);
  args.push_back(a2);
  args.push_back(a3);
  args.push_back(a4);
  return fill_text(text_pattern(id), args);
}

}  // namespace kvs
