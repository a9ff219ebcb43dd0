#include "common/text_codec.h"

#include <windows.h>

#include <algorithm>
#include <climits>

namespace kvs {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LEMark = "\xFF\xFE";
constexpr std::string_view kUtf16BEMark = "\xFE\xFF";

std::string_view mark_of(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::Utf8: return kUtf8Mark;
    case TextEncoding::Utf16LE: return kUtf16LEMark;
    case TextEncoding::Utf16BE: return kUtf16BEMark;
    case TextEncoding::Ansi: break;
  }
  return {};
}

bool starts_with(std::string_view bytes, std::string_view prefix) { return bytes.substr(0, prefix.size()) == prefix; }

bool is_high_surrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool is_low_surrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

bool decode_utf16(std::string_view body, bool big_endian, std::wstring& text) {
  if (body.size() % 2 != 0) return false;
  text.resize(body.size() / 2);
  const int high = big_endian ? 0 : 1;
  for (std::size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<wchar_t>(static_cast<unsigned char>(body[2 * i + high]) << 8 |
                                   static_cast<unsigned char>(body[2 * i + 1 - high]));
  }
  // Every surrogate must be half of a pair.
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (is_high_surrogate(text[i]) && i + 1 < text.size() && is_low_surrogate(text[i + 1])) ++i;
    else if (is_high_surrogate(text[i]) || is_low_surrogate(text[i])) return false;
  }
  return true;
}

void encode_utf16(std::wstring_view text, bool big_endian, std::string& bytes) {
  const std::size_t start = bytes.size();
  bytes.resize(start + 2 * text.size());
  const int high = big_endian ? 0 : 1;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned unit = static_cast<unsigned>(text[i]) & 0xFFFF;
    bytes[start + 2 * i + high] = static_cast<char>(unit >> 8);
    bytes[start + 2 * i + 1 - high] = static_cast<char>(unit & 0xFF);
  }
}

bool decode_code_page(UINT code_page, std::string_view body, std::wstring& text) {
  text.clear();
  if (body.empty()) return true;
  if (body.size() > static_cast<std::size_t>(INT_MAX)) return false;
  // No code page gives more UTF-16 units than it has bytes.
  text.resize(body.size());
  const int n = MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, body.data(), static_cast<int>(body.size()),
                                    &text[0], static_cast<int>(text.size()));
  text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return n > 0;
}

// Composition can only change text that holds combining marks; Latin and Cyrillic letters
// without them convert the same either way, and the check is costly.
bool may_hold_combining_marks(std::wstring_view text) {
  return std::any_of(text.begin(), text.end(), [](wchar_t c) {
    return c >= 0x300 && !(c >= 0x400 && c <= 0x482) && !(c >= 0x48A && c <= 0x4FF);
  });
}

// Sized from the converted length itself, so two-byte code pages fit as well as one-byte ones.
bool encode_code_page(UINT code_page, std::wstring_view text, std::string& bytes) {
  if (text.empty()) return true;
  if (text.size() > static_cast<std::size_t>(INT_MAX)) {
    SetLastError(ERROR_ARITHMETIC_OVERFLOW);
    return false;
  }
  DWORD flags = 0;
  if (code_page == CP_ACP) {
    // UTF-8 and GB18030 as the system's code page take no flags.
    const UINT acp = GetACP();
    if (acp != CP_UTF8 && acp != 54936 && may_hold_combining_marks(text)) flags = WC_COMPOSITECHECK;
  }
  const int size = static_cast<int>(text.size());
  const int n = WideCharToMultiByte(code_page, flags, text.data(), size, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return false;
  const std::size_t start = bytes.size();
  bytes.resize(start + static_cast<std::size_t>(n));
  return WideCharToMultiByte(code_page, flags, text.data(), size, &bytes[start], n, nullptr, nullptr) == n;
}

}  // namespace

DecodedText decode_text_file(std::string_view bytes) {
  DecodedText result;
  bool ok = false;
  if (starts_with(bytes, kUtf8Mark)) {
    result.encoding = TextEncoding::Utf8;
    ok = decode_code_page(CP_UTF8, bytes.substr(kUtf8Mark.size()), result.text);
  } else if (starts_with(bytes, kUtf16LEMark) || starts_with(bytes, kUtf16BEMark)) {
    const bool big_endian = starts_with(bytes, kUtf16BEMark);
    result.encoding = big_endian ? TextEncoding::Utf16BE : TextEncoding::Utf16LE;
    ok = decode_utf16(bytes.substr(2), big_endian, result.text);
  } else {
    if (bytes.find('\0') != std::string_view::npos) {
      result.failure = DecodeFailure::ZeroByte;
      return result;
    }
    ok = decode_code_page(CP_ACP, bytes, result.text);
  }
  if (!ok) result.failure = DecodeFailure::Undecodable;
  else if (result.text.find(L'\0') != std::wstring::npos) result.failure = DecodeFailure::ZeroByte;
  if (result.failure != DecodeFailure::None) result.text.clear();
  return result;
}

bool encode_text_file(std::wstring_view text, TextEncoding encoding, std::string& bytes) {
  bytes.assign(mark_of(encoding));
  switch (encoding) {
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE:
      encode_utf16(text, encoding == TextEncoding::Utf16BE, bytes);
      return true;
    case TextEncoding::Utf8: return encode_code_page(CP_UTF8, text, bytes);
    case TextEncoding::Ansi: break;
  }
  return encode_code_page(CP_ACP, text, bytes);
}

std::wstring encoding_name(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::Utf8: return L"UTF-8";
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE: return L"UTF-16";
    case TextEncoding::Ansi: break;
  }
  return L"ANSI code page " + std::to_wstring(GetACP());
}

}  // namespace kvs
