// Text files as ACADE and Notepad write them: the ANSI code page without a byte-order mark,
// or UTF-8, UTF-16 LE or UTF-16 BE after their mark. The same encoding goes back on writing.
#pragma once

#include <cstddef>
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

// The encoding that the byte-order mark names; Ansi without one.
TextEncoding encoding_of(std::string_view bytes);

// When the ANSI code page takes one byte per character: its character for each byte, as the
// system converts it; null otherwise. Asked of the system once.
const wchar_t* single_byte_code_page();

// The check decode_text_file makes of ANSI bytes, without converting them; only for a
// one-byte code page.
DecodeFailure check_single_byte_text(std::string_view bytes);

// The check decode_text_file makes of UTF-16 bytes (after the mark), without converting them.
DecodeFailure check_utf16_text(std::string_view body, bool big_endian);

// How many bytes each character takes in `encoding`, when that is fixed: 2 for UTF-16, 1 for
// a one-byte ANSI code page; 0 otherwise.
std::size_t bytes_per_character(TextEncoding encoding);

// The byte-order mark that starts a file in `encoding` (none for ANSI).
std::string_view byte_order_mark(TextEncoding encoding);

// `text` in `encoding`, without a mark, added to `bytes`; false, with the system's error set,
// when the conversion fails.
bool append_encoded(std::wstring_view text, TextEncoding encoding, std::string& bytes);

// For messages: "UTF-8", "UTF-16", or "ANSI code page N".
std::wstring encoding_name(TextEncoding encoding);

}  // namespace kvs
