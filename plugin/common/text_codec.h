// Text files as ACADE and Notepad write them: the ANSI code page without a byte-order mark,
// or UTF-8, UTF-16 LE or UTF-16 BE after their mark. The same encoding goes back on writing.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/text_pieces.h"

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

// A text made of parts of a source text and new text, in `encoding`. `source` is the file's
// bytes; `source_text` its decoded text (empty when the pieces count the bytes of a one-byte
// code page). Where the encoding gives each character a fixed number of bytes (UTF-16, a
// one-byte ANSI code page) the kept parts are copied from `source`, so they stay byte for
// byte; otherwise, and for the new parts, as encode_text_file does.
// The bytes come as parts, each either a part of `source` or held in `store`.
bool encode_text_file(const TextPieces& text, TextEncoding encoding, std::string_view source,
                      std::wstring_view source_text, std::vector<std::string_view>& parts, std::string& store);

// For messages: "UTF-8", "UTF-16", or "ANSI code page N".
std::wstring encoding_name(TextEncoding encoding);

}  // namespace kvs
