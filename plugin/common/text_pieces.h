// A text kept as parts of a source text and new text. Platform-free.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kvs {

// A text made of parts of a source text and of new text, in order, so that a writer can copy
// the source's own bytes for the parts it kept. The parts of the source are kept as places
// in it, so the source must be at hand to read them.
class TextPieces {
 public:
  struct Piece {
    bool from_source;
    std::size_t begin, size;  // in the source, or in the new text
  };

  TextPieces() : size_(0) {}

  void append_source(std::size_t begin, std::size_t size);
  void append_new(const wchar_t* part, std::size_t size);
  void append_new(const std::wstring& part) { append_new(part.data(), part.size()); }

  const std::vector<Piece>& pieces() const { return pieces_; }
  // The characters of a new piece.
  const wchar_t* new_text(const Piece& piece) const { return added_.data() + piece.begin; }
  std::size_t size() const { return size_; }
  std::wstring joined(const std::wstring& source) const;

  // The last character; the text must not be empty.
  wchar_t back(const std::wstring& source) const;
  // The last `count` characters removed; `count` is at most size().
  void drop_back(std::size_t count);

 private:
  std::wstring added_;
  std::vector<Piece> pieces_;
  std::size_t size_;
};

}  // namespace kvs
