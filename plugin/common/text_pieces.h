// A text kept as parts of a source text and new text. Platform-free.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "common/text_util.h"

namespace kvs {

// A text made of parts of a source text and of new text, in order, so that a writer can copy
// the source's own bytes for the parts it kept. The parts of the source are kept as places
// in it (characters, or bytes of a one-byte code page), so the source must be at hand to read them.
class TextPieces {
 public:
  struct Piece {
    bool from_source;
    std::size_t begin, size;  // in the source, or in the new text
  };

  void append_source(std::size_t begin, std::size_t size);
  void append_new(std::wstring_view part);

  const std::vector<Piece>& pieces() const { return pieces_; }
  std::wstring_view new_text(const Piece& piece) const { return std::wstring_view(added_).substr(piece.begin, piece.size); }
  std::size_t size() const { return size_; }
  std::wstring joined(std::wstring_view source) const;

  // White space at the end of the whole text removed; `source_space(i)` tells whether the
  // source's character i is white space.
  template <class SourceSpace>
  void trim_end(SourceSpace source_space);

 private:
  std::wstring added_;
  std::vector<Piece> pieces_;
  std::size_t size_ = 0;
};

template <class SourceSpace>
void TextPieces::trim_end(SourceSpace source_space) {
  while (!pieces_.empty()) {
    Piece& last = pieces_.back();
    while (last.size > 0 &&
           (last.from_source ? source_space(last.begin + last.size - 1) : is_space(added_[last.begin + last.size - 1]))) {
      --last.size;
      --size_;
    }
    if (last.size != 0) return;
    pieces_.pop_back();
  }
}

}  // namespace kvs
