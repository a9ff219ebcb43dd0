// Text files as ACADE and Notepad write them: the ANSI code page without a byte-order mark,
// or UTF-8, UTF-16 LE or UTF-16 BE after their mark. The same encoding goes back on writing.
#pragma once

#include <cstddef>
#include <string>

namespace kvs {

enum class TextEncoding { Ansi, Utf8, Utf16LE, Utf16BE };

enum class DecodeFailure {
  None,
  ZeroByte,     // a NUL character: not a text file, and reading it as one would cut it short
  Undecodable,  // bytes that are not text in the encoding (an odd UTF-16 length, a bad sequence)
};

struct DecodedText {
  DecodedText() : encoding(TextEncoding::Ansi), failure(DecodeFailure::None) {}
  TextEncoding encoding;
  std::wstring text;
  DecodeFailure failure;
};

// The encoding from the byte-order mark, the text after it.
DecodedText decode_text_file(const std::string& bytes);

// The text in `encoding`, its mark first. ANSI text takes the code page's default character
// for what it lacks. False, with the system's error set, when the conversion fails.
bool encode_text_file(const std::wstring& text, TextEncoding encoding, std::string& bytes);

// How many bytes each character of a decoded text took in `encoding`, when that is fixed: 2
// for UTF-16, 1 for a one-byte ANSI code page; 0 otherwise.
std::size_t bytes_per_character(TextEncoding encoding);

// The byte-order mark that starts a file in `encoding` (none for ANSI).
std::string byte_order_mark(TextEncoding encoding);

// `size` characters from `text` in `encoding`, without a mark, added to `bytes`; false, with
// the system's error set, when the conversion fails.
bool append_encoded(const wchar_t* text, std::size_t size, TextEncoding encoding, std::string& bytes);

// UTF-8 bytes without a mark, as the add-on writes its own small files, as text; empty when
// they are not UTF-8 text.
std::wstring utf8_text(const std::string& bytes);

}  // namespace kvs
