#include "common/path_fold.h"

namespace kvs {

wchar_t fold_path_unit(wchar_t c) {
  const unsigned u = c;
  const bool odd = (u & 1u) != 0;
  if (u < 0x80) return (u >= 'a' && u <= 'z') ? static_cast<wchar_t>(u - 0x20) : c;
  if (u < 0x100) {
    if (u == 0xFF) return L'\x0178';
    if (u >= 0xE0 && u != 0xF7 && u <= 0xFE) return static_cast<wchar_t>(u - 0x20);
    return c;
  }
  if (u < 0x180) {  // Latin Extended-A: capital and small letters in pairs
    // Dotless i, long s and the like have no one-to-one capital in an ordinal comparison.
    if (u == 0x130 || u == 0x131 || u == 0x138 || u == 0x149 || u == 0x17F) return c;
    if (u == 0x178) return c;
    bool capitalEven = u < 0x138 || (u >= 0x14A && u < 0x178);
    return odd == capitalEven ? static_cast<wchar_t>(u - 1) : c;
  }
  if (u >= 0x370 && u < 0x3D0) {  // Greek; final sigma stays apart from sigma
    if (u == 0x371 || u == 0x373 || u == 0x377) return static_cast<wchar_t>(u - 1);
    if (u == 0x3AC) return L'\x0386';
    if (u >= 0x3AD && u <= 0x3AF) return static_cast<wchar_t>(u - 0x25);
    if (u == 0x3C2) return c;
    if (u >= 0x3B1 && u <= 0x3CB) return static_cast<wchar_t>(u - 0x20);
    if (u == 0x3CC) return L'\x038C';
    if (u == 0x3CD || u == 0x3CE) return static_cast<wchar_t>(u - 0x3F);
    return c;
  }
  if (u >= 0x400 && u < 0x530) {  // Cyrillic and its supplement
    if (u >= 0x430 && u < 0x450) return static_cast<wchar_t>(u - 0x20);
    if (u >= 0x450 && u < 0x460) return static_cast<wchar_t>(u - 0x50);
    if (u == 0x4CF) return L'\x04C0';
    if (u >= 0x4C1 && u <= 0x4CE) return odd ? c : static_cast<wchar_t>(u - 1);
    if ((u >= 0x460 && u < 0x482) || u >= 0x48A) return odd ? static_cast<wchar_t>(u - 1) : c;
    return c;
  }
  if (u >= 0x561 && u <= 0x586) return static_cast<wchar_t>(u - 0x30);  // Armenian
  if (u >= 0xFF41 && u <= 0xFF5A) return static_cast<wchar_t>(u - 0x20);  // full-width Latin
  return c;
}

bool same_path(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i] && fold_path_unit(a[i]) != fold_path_unit(b[i])) return false;
  return true;
}

std::wstring folded_path(const std::wstring& path) {
  std::wstring out(path);
  for (std::size_t i = 0; i < out.size(); ++i) out[i] = out[i] == L'/' ? L'\\' : fold_path_unit(out[i]);
  return out;
}

}  // namespace kvs
