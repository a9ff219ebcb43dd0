#include "common/text_pieces.h"

namespace kvs {

void TextPieces::append_source(std::size_t begin, std::size_t size) {
  if (size == 0) return;
  if (!pieces_.empty() && pieces_.back().from_source && pieces_.back().begin + pieces_.back().size == begin)
    pieces_.back().size += size;
  else
    pieces_.push_back({true, begin, size});
  size_ += size;
}

void TextPieces::append_new(std::wstring_view part) {
  if (part.empty()) return;
  if (!pieces_.empty() && !pieces_.back().from_source)
    pieces_.back().size += part.size();
  else
    pieces_.push_back({false, added_.size(), part.size()});
  added_.append(part);
  size_ += part.size();
}

std::wstring TextPieces::joined(std::wstring_view source) const {
  std::wstring out;
  out.reserve(size_);
  for (const Piece& piece : pieces_) out.append(piece.from_source ? source.substr(piece.begin, piece.size) : new_text(piece));
  return out;
}

}  // namespace kvs
