#include "win32/text_codec.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>

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
  if (!big_endian) {
    std::memcpy(&text[0], body.data(), body.size());  // wchar_t is UTF-16 LE here
  } else {
    for (std::size_t i = 0; i < text.size(); ++i) {
      text[i] = static_cast<wchar_t>(static_cast<unsigned char>(body[2 * i]) << 8 |
                                     static_cast<unsigned char>(body[2 * i + 1]));
    }
  }
  // Every surrogate must be half of a pair.
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((text[i] & 0xF800) != 0xD800) continue;
    if (is_high_surrogate(text[i]) && i + 1 < text.size() && is_low_surrogate(text[i + 1])) ++i;
    else return false;
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

// A one-byte ANSI code page, as the system converts each of its bytes, asked once: converting
// a file byte by byte through it gives what the system gives, without a call per switch.
struct SingleByteCodePage {
  bool usable = false;
  bool ascii_valid = false;  // bytes 1 to 127 all convert
  bool valid[256] = {};
  wchar_t wide[256] = {};
};

const SingleByteCodePage& ansi_code_page() {
  static const SingleByteCodePage table = [] {
    SingleByteCodePage t;
    CPINFO info;
    if (!GetCPInfo(CP_ACP, &info) || info.MaxCharSize != 1) return t;
    for (int b = 0; b < 256; ++b) {
      const char byte = static_cast<char>(b);
      wchar_t wide = 0;
      t.valid[b] = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, &byte, 1, &wide, 1) == 1;
      t.wide[b] = wide;
    }
    t.usable = true;
    t.ascii_valid = std::all_of(t.valid + 1, t.valid + 128, [](bool v) { return v; });
    return t;
  }();
  return table;
}

bool decode_single_byte(const SingleByteCodePage& table, std::string_view body, std::wstring& text) {
  text.resize(body.size());
  bool valid = true;
  for (std::size_t i = 0; i < body.size(); ++i) {
    const unsigned char b = static_cast<unsigned char>(body[i]);
    valid &= table.valid[b];
    text[i] = table.wide[b];
  }
  return valid;
}

bool decode_code_page(UINT code_page, std::string_view body, std::wstring& text) {
  text.clear();
  if (body.empty()) return true;
  if (code_page == CP_ACP && ansi_code_page().usable) return decode_single_byte(ansi_code_page(), body, text);
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
  return append_encoded(text, encoding, bytes);
}

TextEncoding encoding_of(std::string_view bytes) {
  if (starts_with(bytes, kUtf8Mark)) return TextEncoding::Utf8;
  if (starts_with(bytes, kUtf16LEMark)) return TextEncoding::Utf16LE;
  if (starts_with(bytes, kUtf16BEMark)) return TextEncoding::Utf16BE;
  return TextEncoding::Ansi;
}

const wchar_t* single_byte_code_page() { return ansi_code_page().usable ? ansi_code_page().wide : nullptr; }

DecodeFailure check_single_byte_text(std::string_view bytes) {
  const SingleByteCodePage& table = ansi_code_page();
  bool valid = true, zero = false;
  std::size_t i = 0;
  if (table.ascii_valid) {
    // Eight bytes at a time while they are ASCII and none is zero.
    constexpr std::uint64_t kHigh = 0x8080808080808080ull, kLow = 0x0101010101010101ull;
    for (; i + 8 <= bytes.size(); i += 8) {
      std::uint64_t word;
      std::memcpy(&word, bytes.data() + i, 8);
      if ((word & kHigh) != 0 || ((word - kLow) & ~word & kHigh) != 0) break;
    }
  }
  for (; i < bytes.size(); ++i) {
    const unsigned char b = static_cast<unsigned char>(bytes[i]);
    valid &= table.valid[b];
    zero |= b == 0;
  }
  return zero ? DecodeFailure::ZeroByte : valid ? DecodeFailure::None : DecodeFailure::Undecodable;
}

DecodeFailure check_utf16_text(std::string_view body, bool big_endian) {
  if (body.size() % 2 != 0) return DecodeFailure::Undecodable;
  const int high = big_endian ? 0 : 1;
  const auto unit = [&](std::size_t i) {
    return static_cast<unsigned>(static_cast<unsigned char>(body[2 * i + high])) << 8 |
           static_cast<unsigned char>(body[2 * i + 1 - high]);
  };
  // Four units at a time while none of them is zero or a surrogate.
  constexpr std::uint64_t kOnes = 0x0001000100010001ull, kHigh = 0x8000800080008000ull;
  constexpr std::uint64_t kSurrogateMask = 0xF800F800F800F800ull, kSurrogate = 0xD800D800D800D800ull;
  const auto has_zero_unit = [](std::uint64_t w) { return ((w - kOnes) & ~w & kHigh) != 0; };
  // Big-endian units are read with their bytes swapped, so the surrogate bits sit in their low byte.
  const std::uint64_t surrogateMask = big_endian ? kSurrogateMask >> 8 : kSurrogateMask;
  const std::uint64_t surrogate = big_endian ? kSurrogate >> 8 : kSurrogate;
  const auto plain = [&](std::size_t i) {
    std::uint64_t word;
    std::memcpy(&word, body.data() + 2 * i, 8);
    return !has_zero_unit(word) && !has_zero_unit((word & surrogateMask) ^ surrogate);
  };
  const std::size_t units = body.size() / 2;
  for (std::size_t i = 0; i < units; ++i) {
    while (i + 4 <= units && plain(i)) i += 4;
    if (i == units) break;
    const unsigned c = unit(i);
    if (c == 0) return DecodeFailure::ZeroByte;
    if ((c & 0xF800) != 0xD800) continue;
    // Every surrogate must be half of a pair.
    if (c <= 0xDBFF && i + 1 < units && (unit(i + 1) & 0xFC00) == 0xDC00) ++i;
    else return DecodeFailure::Undecodable;
  }
  return DecodeFailure::None;
}

std::size_t bytes_per_character(TextEncoding encoding) {
  if (encoding == TextEncoding::Utf16LE || encoding == TextEncoding::Utf16BE) return 2;
  if (encoding == TextEncoding::Ansi && ansi_code_page().usable) return 1;
  return 0;
}

std::string_view byte_order_mark(TextEncoding encoding) { return mark_of(encoding); }

bool append_encoded(std::wstring_view text, TextEncoding encoding, std::string& bytes) {
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
