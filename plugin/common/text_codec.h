// Text files as ACADE and Notepad write them: the ANSI code page without a byte-order mark,
// or UTF-8, UTF-16 LE or UTF-16 BE after their mark. The same encoding goes back on writing.
#pragma once

#include <string>
#include <string_view>

namespace kvs {

enum class TextEncoding { Ansi, Utf8, Utf16LE, Utf16BE };

enum class DecodeFailure {
  None,
  ZeroByte,     // a NUL character: not a text file, and reading it as one would cut it short
  Undecodable,  // bytes that are not text in the encoding (an odd UTF-16 length, a bad sequence)
};

struct DecodedText {
  TextEncoding encoding = TextEncoding::Ansi;
  std::wstring text;
  DecodeFailure failure = DecodeFailure::None;
};

// The encoding from the byte-order mark, the text after it.
DecodedText decode_text_file(std::string_view bytes);

// The text in `encoding`, its mark first. ANSI text takes the code page's default character
// for what it lacks. False, with the system's error set, when the conversion fails.
bool encode_text_file(std::wstring_view text, TextEncoding encoding, std::string& bytes);

// For messages: "UTF-8", "UTF-16", or "ANSI code page N".
std::wstring encoding_name(TextEncoding encoding);

}  // namespace kvs
