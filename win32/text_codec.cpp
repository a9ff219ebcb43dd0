#include "win32/text_codec.h"

#include <windows.h>

#include <climits>
#include <cstring>

namespace kvs {

namespace {

const char kUtf8Mark[] = "\xEF\xBB\xBF";
const char kUtf16LEMark[] = "\xFF\xFE";
const char kUtf16BEMark[] = "\xFE\xFF";

const char* mark_of(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::Utf8: return kUtf8Mark;
    case TextEncoding::Utf16LE: return kUtf16LEMark;
    case TextEncoding::Utf16BE: return kUtf16BEMark;
    case TextEncoding::Ansi: break;
  }
  return "";
}

bool starts_with(const std::string& bytes, const char* prefix) {
  const std::size_t n = std::strlen(prefix);
  return bytes.size() >= n && bytes.compare(0, n, prefix) == 0;
}

DecodeFailure decode_utf16(const std::string& bytes, std::size_t from, bool big_endian, std::wstring& text) {
  if ((bytes.size() - from) % 2 != 0) return DecodeFailure::Undecodable;
  const std::size_t units = (bytes.size() - from) / 2;
  if (!big_endian) {
    text.assign(reinterpret_cast<const wchar_t*>(bytes.data() + from), units);  // wchar_t is UTF-16 LE here
  } else {
    text.resize(units);
    for (std::size_t i = 0; i < units; ++i)
      text[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[from + 2 * i]) << 8 |
                                     static_cast<unsigned char>(bytes[from + 2 * i + 1]));
  }
  // Every surrogate must be half of a pair; a NUL is looked for in the same pass.
  bool zero = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((text[i] & 0xF800) != 0xD800) {
      zero |= text[i] == 0;
      continue;
    }
    if (text[i] <= 0xDBFF && i + 1 < text.size() && (text[i + 1] & 0xFC00) == 0xDC00) ++i;
    else return DecodeFailure::Undecodable;
  }
  return zero ? DecodeFailure::ZeroByte : DecodeFailure::None;
}

void encode_utf16(const wchar_t* text, std::size_t size, bool big_endian, std::string& bytes) {
  const std::size_t start = bytes.size();
  bytes.resize(start + 2 * size);
  const int high = big_endian ? 0 : 1;
  for (std::size_t i = 0; i < size; ++i) {
    const unsigned unit = static_cast<unsigned>(text[i]) & 0xFFFF;
    bytes[start + 2 * i + high] = static_cast<char>(unit >> 8);
    bytes[start + 2 * i + 1 - high] = static_cast<char>(unit & 0xFF);
  }
}

// A one-byte ANSI code page, as the system converts each of its bytes, asked once: the
// system's own conversion takes four times as long when it is to refuse what does not decode.
struct SingleByteCodePage {
  SingleByteCodePage() : usable(false) {
    CPINFO info;
    if (!GetCPInfo(CP_ACP, &info) || info.MaxCharSize != 1) return;
    for (int b = 0; b < 256; ++b) {
      const char byte = static_cast<char>(b);
      wide[b] = 0;
      // A zero byte is refused along with the bytes that do not decode, and told apart after.
      valid[b] = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, &byte, 1, &wide[b], 1) == 1 && wide[b] != 0;
    }
    usable = true;
  }
  bool usable;
  bool valid[256];
  wchar_t wide[256];
};

const SingleByteCodePage& ansi_code_page() {
  static const SingleByteCodePage table;
  return table;
}

// A failed decode: a zero byte, or else bytes that are not text.
DecodeFailure failure_in(const std::string& bytes, std::size_t from) {
  return bytes.find('\0', from) != std::string::npos ? DecodeFailure::ZeroByte : DecodeFailure::Undecodable;
}

DecodeFailure decode_code_page(UINT code_page, const std::string& bytes, std::size_t from, std::wstring& text) {
  text.clear();
  if (from == bytes.size()) return DecodeFailure::None;
  const SingleByteCodePage& ansi = ansi_code_page();
  if (code_page == CP_ACP && ansi.usable) {
    // A piece at a time: the text's memory is written once, not cleared first.
    text.reserve(bytes.size() - from);
    bool valid = true;
    wchar_t piece[4096];
    for (std::size_t i = from; i < bytes.size();) {
      std::size_t n = 0;
      for (; n < 4096 && i < bytes.size(); ++n, ++i) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        valid &= ansi.valid[b];
        piece[n] = ansi.wide[b];
      }
      text.append(piece, n);
    }
    return valid ? DecodeFailure::None : failure_in(bytes, from);
  }
  if (bytes.size() - from > static_cast<std::size_t>(INT_MAX)) return DecodeFailure::Undecodable;
  const int size = static_cast<int>(bytes.size() - from);
  // No code page gives more UTF-16 units than it has bytes.
  text.resize(bytes.size() - from);
  const int n = MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, bytes.data() + from, size, &text[0], size);
  text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  if (n <= 0) return failure_in(bytes, from);
  return text.find(L'\0') != std::wstring::npos ? DecodeFailure::ZeroByte : DecodeFailure::None;
}

// Sized from the converted length itself, so two-byte code pages fit as well as one-byte ones.
bool encode_code_page(UINT code_page, const wchar_t* text, std::size_t size, std::string& bytes) {
  if (size == 0) return true;
  if (size > static_cast<std::size_t>(INT_MAX)) {
    SetLastError(ERROR_ARITHMETIC_OVERFLOW);
    return false;
  }
  // UTF-8 and GB18030, as the target or as the system's code page, take no flags.
  const UINT acp = GetACP();
  const DWORD flags = code_page == CP_ACP && acp != CP_UTF8 && acp != 54936 ? WC_COMPOSITECHECK : 0;
  const int n = WideCharToMultiByte(code_page, flags, text, static_cast<int>(size), nullptr, 0, nullptr, nullptr);
  if (n <= 0) return false;
  const std::size_t start = bytes.size();
  bytes.resize(start + static_cast<std::size_t>(n));
  return WideCharToMultiByte(code_page, flags, text, static_cast<int>(size), &bytes[start], n, nullptr, nullptr) == n;
}

}  // namespace

DecodedText decode_text_file(const std::string& bytes) {
  DecodedText result;
  if (starts_with(bytes, kUtf16LEMark) || starts_with(bytes, kUtf16BEMark)) {
    const bool big_endian = starts_with(bytes, kUtf16BEMark);
    result.encoding = big_endian ? TextEncoding::Utf16BE : TextEncoding::Utf16LE;
    result.failure = decode_utf16(bytes, 2, big_endian, result.text);
  } else if (starts_with(bytes, kUtf8Mark)) {
    result.encoding = TextEncoding::Utf8;
    result.failure = decode_code_page(CP_UTF8, bytes, std::strlen(kUtf8Mark), result.text);
  } else {
    result.failure = decode_code_page(CP_ACP, bytes, 0, result.text);
  }
  if (result.failure != DecodeFailure::None) result.text.clear();
  return result;
}

bool encode_text_file(const std::wstring& text, TextEncoding encoding, std::string& bytes) {
  bytes.assign(mark_of(encoding));
  return append_encoded(text.data(), text.size(), encoding, bytes);
}

std::size_t bytes_per_character(TextEncoding encoding) {
  if (encoding == TextEncoding::Utf16LE || encoding == TextEncoding::Utf16BE) return 2;
  if (encoding == TextEncoding::Ansi && ansi_code_page().usable) return 1;
  return 0;
}

std::string byte_order_mark(TextEncoding encoding) { return mark_of(encoding); }

bool append_encoded(const wchar_t* text, std::size_t size, TextEncoding encoding, std::string& bytes) {
  switch (encoding) {
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE:
      encode_utf16(text, size, encoding == TextEncoding::Utf16BE, bytes);
      return true;
    case TextEncoding::Utf8: return encode_code_page(CP_UTF8, text, size, bytes);
    case TextEncoding::Ansi: break;
  }
  return encode_code_page(CP_ACP, text, size, bytes);
}

std::wstring utf8_text(const std::string& bytes) {
  std::wstring text;
  if (decode_code_page(CP_UTF8, bytes, 0, text) != DecodeFailure::None) text.clear();
  return text;
}


}  // namespace kvs
