#include "common/text_pieces.h"


namespace kvs {

void TextPieces::append_source(std::size_t begin, std::size_t size) {
  if (size == 0) return;
  if (!pieces_.empty() && pieces_.back().from_source && pieces_.back().begin + pieces_.back().size == begin) {
    pieces_.back().size += size;
  } else {
    const Piece piece = {true, begin, size};
    pieces_.push_back(piece);
  }
  size_ += size;
}

void TextPieces::append_new(const wchar_t* part, std::size_t size) {
  if (size == 0) return;
  if (!pieces_.empty() && !pieces_.back().from_source && pieces_.back().begin + pieces_.back().size == added_.size()) {
    pieces_.back().size += size;
  } else {
    const Piece piece = {false, added_.size(), size};
    pieces_.push_back(piece);
  }
  added_.append(part, size);
  size_ += size;
}

std::wstring TextPieces::joined(const std::wstring& source) const {
  std::wstring out;
  out.reserve(size_);
  for (std::size_t i = 0; i < pieces_.size(); ++i) {
    const Piece& piece = pieces_[i];
    if (piece.from_source) out.append(source, piece.begin, piece.size);
    else out.append(added_, piece.begin, piece.size);
  }
  return out;
}

wchar_t TextPieces::back(const std::wstring& source) const {
  const Piece& last = pieces_.back();
  return (last.from_source ? source[last.begin + last.size - 1] : added_[last.begin + last.size - 1]);
}

void TextPieces::drop_back(std::size_t count) {
  while (count > 0) {
    Piece& last = pieces_.back();
    const std::size_t dropped = count < last.size ? count : last.size;
    last.size -= dropped;
    size_ -= dropped;
    count -= dropped;
    if (last.size == 0) pieces_.pop_back();
  }
}

}  // namespace kvs
