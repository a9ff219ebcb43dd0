#include "switching/project_text.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <cwctype>
#include <iterator>
#include <utility>

#include "common/text_util.h"

namespace kvs {

namespace {

constexpr auto npos = std::wstring_view::npos;
constexpr int kEnvRecord = 20;

// Where the next CR or LF lies at or after `pos`, or `end`; eight bytes at a time, each word's
// first byte below 14 (CR is 13, LF 10) found at once: the lowest byte the test marks is
// exact, only bytes above it may be marked wrongly.
std::size_t next_line_break(const unsigned char* data, std::size_t pos, std::size_t end) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ull, kHigh = 0x8080808080808080ull;
  while (pos + 8 <= end) {
    std::uint64_t word;
    std::memcpy(&word, data + pos, 8);
    const std::uint64_t low = (word - 14 * kOnes) & ~word & kHigh;
    if (low == 0) {
      pos += 8;
      continue;
    }
    // The lowest mark is bit 8k + 7 of byte k; the bytes below it, counted a bit each, give k.
    const std::uint64_t below = ((low & (0 - low)) >> 7) - 1;
    const std::size_t at = pos + static_cast<std::size_t>(((below & kOnes) * kOnes) >> 56);
    if (data[at] == '\r' || data[at] == '\n') return at;
    pos = at + 1;
  }
  for (; pos < end && data[pos] != '\r' && data[pos] != '\n'; ++pos) {
  }
  return pos;
}

// The text being rewritten, read as wide characters: the wide text itself, or the bytes of a
// one-byte code page read through its table.
struct WideSource {
  std::wstring_view text;
  std::size_t size() const { return text.size(); }
  wchar_t at(std::size_t i) const { return text[i]; }
  std::size_t line_break_from(std::size_t pos) const {
    const wchar_t* data = text.data();
    if constexpr (sizeof(wchar_t) == 2) {
      // Four UTF-16 units at a time while none of them is below 14.
      constexpr std::uint64_t kOnes = 0x0001000100010001ull, kHigh = 0x8000800080008000ull;
      for (; pos + 4 <= text.size(); pos += 4) {
        std::uint64_t word;
        std::memcpy(&word, data + pos, 8);
        if (((word - 14 * kOnes) & ~word & kHigh) != 0) break;
      }
    }
    // Most characters are neither CR nor LF; one compare rules them out.
    for (wchar_t c; pos < text.size() && ((c = data[pos]) > L'\r' || (c != L'\r' && c != L'\n'));) ++pos;
    return pos;
  }
};

// UTF-16 units from their bytes, in one order or the other; each order is a type of its own,
// so that reading a unit asks nothing.
template <bool BigEndian>
struct Utf16Source {
  explicit Utf16Source(std::string_view body) : data(reinterpret_cast<const unsigned char*>(body.data())), units(body.size() / 2) {}
  const unsigned char* data;  // after the byte-order mark
  std::size_t units;
  std::size_t size() const { return units; }
  wchar_t at(std::size_t i) const {
    const unsigned first = data[2 * i], second = data[2 * i + 1];
    return static_cast<wchar_t>(BigEndian ? first << 8 | second : second << 8 | first);
  }
  std::size_t line_break_from(std::size_t pos) const {
    // Four units at a time while none of them is below 14 (CR is 13, LF 10).
    constexpr std::uint64_t kOnes = 0x0001000100010001ull, kHigh = 0x8000800080008000ull;
    for (; pos + 4 <= units; pos += 4) {
      std::uint64_t word;
      std::memcpy(&word, data + 2 * pos, 8);
      if (BigEndian) word = ((word & 0x00FF00FF00FF00FFull) << 8) | ((word >> 8) & 0x00FF00FF00FF00FFull);
      if (((word - 14 * kOnes) & ~word & kHigh) != 0) break;
    }
    for (wchar_t c; pos < units && (c = at(pos)) != L'\r' && c != L'\n';) ++pos;
    return pos;
  }
};

struct ByteSource {
  std::string_view bytes;
  const wchar_t* wide;        // 256 entries
  bool plain_breaks = false;  // only the bytes CR and LF stand for CR and LF: search the bytes
  std::size_t size() const { return bytes.size(); }
  wchar_t at(std::size_t i) const { return wide[static_cast<unsigned char>(bytes[i])]; }
  std::size_t line_break_from(std::size_t pos) const {
    if (plain_breaks) return next_line_break(reinterpret_cast<const unsigned char*>(bytes.data()), pos, bytes.size());
    for (wchar_t c; pos < bytes.size() && (c = at(pos)) != L'\r' && c != L'\n';) ++pos;
    return pos;
  }
};

// A record: where its line, its number's text ([line + 2, close)), its value on that line
// (close + 1 to content_end) and its line break (to line_end) lie, and the plain lines after
// it up to the next record or the tail, which stay with it ([line_end, following_end)).
//
// Or a run: records one after another in the text, numbers rising from `number` to `last`,
// each written exactly as it stands and none switched, with their plain lines; one entry in the
// table for all of them, written as one piece [line, line_end). Its line_end and following_end
// are its last record's. A project's table is mostly runs, so the table stays short.
// Offsets of 32 bits keep the table small: a project text is far below 4 G characters.
struct Record {
  int number;
  int last;  // the number of a run's last record; `number` for a record alone
  std::uint32_t line, close, content_end, line_end, following_end;
  bool shortest_number;  // written as the rewrite would write it
  bool replaced;
  bool run;
  bool as_it_stands;  // written exactly as it stands in the text, as runs always are
};

struct Span {
  std::size_t begin, end;
};

struct Parsed {
  Span head{0, 0};          // lines before the first record, written first
  std::vector<Record> records;  // in text order
  Span leading_tail{0, 0};  // a text's opening "?" lines, written after the records
  std::vector<Span> tail;   // the rest in text order, records taken out of it
};

// Decimal text of a record number, built on the stack so that writing a large
// table allocates nothing per record.
class DecimalText {
 public:
  explicit DecimalText(int n) {
    // Unsigned negation keeps INT_MIN well defined.
    std::uint32_t magnitude = n < 0 ? 0u - static_cast<std::uint32_t>(n) : static_cast<std::uint32_t>(n);
    do {
      buf_[--begin_] = static_cast<wchar_t>(L'0' + magnitude % 10);
      magnitude /= 10;
    } while (magnitude != 0);
    if (n < 0) buf_[--begin_] = L'-';
  }
  std::wstring_view view() const { return {buf_ + begin_, kSize - begin_}; }

 private:
  static constexpr std::size_t kSize = 12;
  wchar_t buf_[kSize];
  std::size_t begin_ = kSize;
};

bool is_line_break(wchar_t c) { return c == L'\r' || c == L'\n'; }

// One line of the text: [begin, content_end) its text, [content_end, end) its CR LF, CR or LF.
struct Line {
  std::size_t begin, content_end, end;
};

template <class Source>
Line line_at(const Source& text, std::size_t begin) {
  const std::size_t size = text.size();
  const std::size_t content_end = text.line_break_from(begin);
  std::size_t end = content_end;
  if (end < size) end += (text.at(end) == L'\r' && end + 1 < size && text.at(end + 1) == L'\n') ? 2 : 1;
  return {begin, content_end, end};
}

// A record line begins with "+[" and has its "]" on the same line.
template <class Source>
std::size_t record_close(const Source& text, const Line& line) {
  if (line.content_end - line.begin < 2 || text.at(line.begin) != L'+' || text.at(line.begin + 1) != L'[') return npos;
  for (std::size_t i = line.begin + 2; i < line.content_end; ++i)
    if (text.at(i) == L']') return i;
  return npos;
}

template <class Source>
bool is_question_line(const Source& text, const Line& line) {
  return line.begin < line.content_end && text.at(line.begin) == L'?';
}

struct RecordNumber {
  int value;
  bool shortest;  // the text is the number's shortest decimal form, as the rewrite writes it
};

// As parse_record_number reads it.
template <class Source>
RecordNumber record_number(const Source& text, std::size_t begin, std::size_t end) {
  // Most numbers are a few plain digits: read them at once.
  const bool negative = begin < end && text.at(begin) == L'-';
  std::size_t i = begin + (negative ? 1 : 0);
  const std::size_t digits_begin = i;
  int value = 0;
  for (wchar_t c; i < end && i - digits_begin < 9 && (c = text.at(i)) >= L'0' && c <= L'9'; ++i)
    value = value * 10 + (c - L'0');
  if (i == end && i > digits_begin) {
    const bool shortest = (text.at(digits_begin) != L'0' || i - digits_begin == 1) && !(negative && value == 0);
    return {negative ? -value : value, shortest};
  }
  wchar_t copy[24];
  std::size_t n = 0;
  for (i = begin; i < end && is_space(text.at(i)); ++i) {
  }
  // Past a sign and the digits nothing counts, so a short copy reads the same.
  for (; i < end && n < std::size(copy); ++i) copy[n++] = text.at(i);
  if (n < std::size(copy)) return {parse_record_number(std::wstring_view(copy, n)), false};
  std::wstring all(copy, n);
  for (; i < end; ++i) all += text.at(i);
  return {parse_record_number(all), false};
}

bool is_replaced(int number) { return number == 1 || number == 2 || number == 3 || number == kEnvRecord; }

template <class Source>
bool spaces_only(const Source& text, std::size_t begin, std::size_t end) {
  for (; begin < end; ++begin)
    if (!is_space(text.at(begin))) return false;
  return true;
}

// A record that the rewrite would write exactly as it stands: "+[n]value" with its number in
// its shortest form, nothing to trim from its value, and CR LF.
template <class Source>
bool written_as_it_stands(const Source& text, const Record& r) {
  if (r.replaced || !r.shortest_number || r.line_end - r.content_end != 2 || text.at(r.content_end) != L'\r')
    return false;
  return r.close + 1 == r.content_end ||
         (!is_space(text.at(r.close + 1)) && !is_space(text.at(r.content_end - 1)));
}

// The record on `line`, whose "]" is at `close`, alone.
template <class Source>
Record read_record(const Source& text, const Line& line, std::size_t close) {
  const auto at = [](std::size_t offset) { return static_cast<std::uint32_t>(offset); };
  const RecordNumber number = record_number(text, line.begin + 2, close);
  Record record{number.value, number.value, at(line.begin), at(close), at(line.content_end), at(line.end),
                at(line.end), number.shortest, is_replaced(number.value), false, false};
  record.as_it_stands = written_as_it_stands(text, record);
  return record;
}

// Whether `next`, just read, joins `previous` as one piece of the written table: both written as
// they stand, `next` on the line after `previous` and its plain lines (which are written, being
// more than white space), numbered above it.
template <class Source>
bool joins(const Source& text, const Record& previous, const Record& next) {
  return next.line == previous.following_end && next.number > previous.last && next.as_it_stands &&
         previous.as_it_stands &&
         (previous.following_end == previous.line_end ||
          !spaces_only(text, previous.line_end, previous.following_end));
}

enum class Table { Runs, Records };

// With Table::Runs, records join into runs while the text's numbers rise; from the first
// record out of order on, each record stands alone, so that a table in disorder is the same
// table of records it has always been.
template <class Source>
Parsed parse(const Source& text, Table table) {
  Parsed parsed;
  std::size_t pos = 0;
  Line line{};
  while (pos < text.size() && record_close(text, line = line_at(text, pos)) == npos) pos = line.end;
  // Before the first record: the head, or the leading tail when the text opens with "?".
  (text.size() > 0 && text.at(0) == L'?' ? parsed.leading_tail : parsed.head) = {0, pos};
  // A line in a project is seldom shorter than this; an estimate spares regrowing.
  if (table == Table::Records) parsed.records.reserve((text.size() - pos) / 32 + 1);

  // Plain lines after a record stay with it until the first "?" line; from there on
  // everything but the records is tail.
  bool in_tail = false;
  bool rising = table == Table::Runs;
  while (pos < text.size()) {
    line = line_at(text, pos);
    const std::size_t close = record_close(text, line);
    if (close != npos) {
      const Record record = read_record(text, line, close);
      if (rising && !parsed.records.empty() && record.number <= parsed.records.back().last) {
        rising = false;
        parsed.records.reserve(parsed.records.size() + (text.size() - pos) / 32 + 1);
      }
      if (rising && !parsed.records.empty() && joins(text, parsed.records.back(), record)) {
        Record& run = parsed.records.back();
        run.run = true;
        run.last = record.number;
        run.line_end = record.line_end;
        run.following_end = record.following_end;
      } else {
        parsed.records.push_back(record);
      }
    } else if (in_tail || is_question_line(text, line)) {
      in_tail = true;
      // Neighbouring tail lines are kept as one piece.
      if (!parsed.tail.empty() && parsed.tail.back().end == line.begin)
        parsed.tail.back().end = line.end;
      else
        parsed.tail.push_back({line.begin, line.end});
    } else {
      parsed.records.back().following_end = static_cast<std::uint32_t>(line.end);
    }
    pos = line.end;
  }
  // With no "?" line after the records, the last record ends with its own line and the plain
  // lines after it (a drawing list) are kept after the records.
  if (!in_tail && !parsed.records.empty()) {
    Record& last = parsed.records.back();
    parsed.tail.push_back({last.line_end, last.following_end});
    last.following_end = last.line_end;
  }
  return parsed;
}

std::wstring_view replacement_for(int number, const RecordValues& values) {
  switch (number) {
    case 1: return values.record1;
    case 2: return values.record2;
    case 3: return values.record3;
    case kEnvRecord: return values.record20;
    default: return {};
  }
}

bool by_number(const Record& a, const Record& b) { return a.number < b.number; }

// The records of a run, read again from its lines, in text order.
template <class Source>
void take_apart(const Source& text, const Record& run, std::vector<Record>& out) {
  for (std::size_t pos = run.line; pos < run.line_end;) {
    const Line line = line_at(text, pos);
    const std::size_t close = record_close(text, line);
    if (close != npos) out.push_back(read_record(text, line, close));
    else out.back().following_end = static_cast<std::uint32_t>(line.end);
    pos = line.end;
  }
  out.back().following_end = run.following_end;
}

// Runs that share numbers with another entry, or whose numbers span record 20, taken apart:
// the table then sorts and settles as records alone would. Runs lie only in the table's
// rising start, so they are in order and apart from each other.
template <class Source>
void take_apart_overlapping_runs(const Source& text, std::vector<Record>& records) {
  std::vector<std::size_t> runs;
  for (std::size_t i = 0; i < records.size(); ++i)
    if (records[i].run) runs.push_back(i);
  if (runs.empty()) return;
  std::vector<bool> apart(records.size(), false);
  for (const std::size_t i : runs) apart[i] = records[i].number < kEnvRecord && kEnvRecord < records[i].last;
  for (const Record& r : records) {
    if (r.run) continue;
    // The last run that starts at or below this number.
    const auto after = std::upper_bound(runs.begin(), runs.end(), r.number,
                                        [&](int n, std::size_t i) { return n < records[i].number; });
    if (after != runs.begin() && r.number <= records[*std::prev(after)].last) apart[*std::prev(after)] = true;
  }
  if (std::find(apart.begin(), apart.end(), true) == apart.end()) return;
  std::vector<Record> table;
  table.reserve(records.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (apart[i]) take_apart(text, records[i], table);
    else table.push_back(records[i]);
  }
  records = std::move(table);
}

// Sorts by number and keeps the first record of each number; the switched records take
// their new value on their own line; record 20 is added when the text has none. The runs left
// after taking apart share no number with any other entry, so they sort as records do.
template <class Source>
void settle_table(const Source& text, std::vector<Record>& records) {
  take_apart_overlapping_runs(text, records);
  // Projects keep their records in order; the check spares them the sort.
  if (!std::is_sorted(records.begin(), records.end(), by_number))
    std::stable_sort(records.begin(), records.end(), by_number);
  const auto last = std::unique(records.begin(), records.end(),
                                [](const Record& a, const Record& b) { return a.number == b.number; });
  records.erase(last, records.end());
  const auto env = std::lower_bound(records.begin(), records.end(), kEnvRecord,
                                    [](const Record& r, int n) { return r.number < n; });
  if (env == records.end() || env->number != kEnvRecord)
    records.insert(env, Record{kEnvRecord, kEnvRecord, 0, 0, 0, 0, 0, false, true, false, false});
}

template <class Source>
void write_text(const Source& text, const Parsed& parsed, const RecordValues& values, TextPieces& out) {
  static constexpr std::wstring_view kOpen = L"+[", kClose = L"]", kEnd = L"\r\n";
  const auto source = [&out](Span s) { out.append_source(s.begin, s.end - s.begin); };
  source(parsed.head);
  // A head that does not end its line would swallow the first record.
  if (parsed.head.end > 0 && !is_line_break(text.at(parsed.head.end - 1))) out.append_new(kEnd);
  for (const Record& r : parsed.records) {
    if (r.as_it_stands) {
      source({r.line, r.line_end});
    } else {
      out.append_new(kOpen);
      out.append_new(DecimalText(r.number).view());
      out.append_new(kClose);
      if (r.replaced) {
        out.append_new(trim_view(replacement_for(r.number, values)));
      } else {
        // The value trimmed, as a part of the source.
        std::size_t begin = r.close + 1, end = r.content_end;
        while (begin < end && is_space(text.at(begin))) ++begin;
        while (end > begin && is_space(text.at(end - 1))) --end;
        source({begin, end});
      }
      out.append_new(kEnd);
    }
    // Blank lines after a record are trimmed away with its value, as records have always been.
    if (!spaces_only(text, r.line_end, r.following_end)) source({r.line_end, r.following_end});
  }
  source(parsed.leading_tail);
  for (const Span& piece : parsed.tail) source(piece);
}

template <class Source>
TextPieces rewrite(const Source& text, const RecordValues& values) {
  if (text.size() > UINT32_MAX) throw std::length_error("project text too long");
  // Runs keep the table of an ordered project short.
  Parsed parsed = parse(text, Table::Runs);
  settle_table(text, parsed.records);
  TextPieces out;
  write_text(text, parsed, values, out);
  return out;
}

std::wstring acade_libs(const std::wstring& docs, const std::wstring& version) {
  return docs + L"\\Autodesk\\Acade " + version + L"\\Libs\\";
}

void append_subfolders(std::wstring& list, std::wstring_view parent, const std::vector<std::wstring>& names) {
  for (const std::wstring& name : names) list.append(parent).append(name).append(L"\\;");
}

}  // namespace

int parse_record_number(std::wstring_view text) {
  std::size_t i = 0;
  while (i < text.size() && std::iswspace(static_cast<std::wint_t>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
  // The magnitude is capped one past INT_MAX, which is exactly -INT_MIN.
  constexpr long long kCap = static_cast<long long>(INT_MAX) + 1;
  long long magnitude = 0;
  for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
    magnitude = std::min(kCap, magnitude * 10 + (text[i] - L'0'));
  }
  return static_cast<int>(negative ? -magnitude : std::min(magnitude, kCap - 1));
}

TextPieces rewrite_project_pieces(std::wstring_view text, const RecordValues& values) {
  return rewrite(WideSource{text}, values);
}

wchar_t ProjectBytes::at(std::size_t i) const {
  if (code_page) return ByteSource{bytes, code_page}.at(i);
  return big_endian ? Utf16Source<true>(bytes).at(i) : Utf16Source<false>(bytes).at(i);
}

TextPieces rewrite_project_pieces(const ProjectBytes& text, const RecordValues& values) {
  if (text.code_page) {
    ByteSource source{text.bytes, text.code_page};
    source.plain_breaks = true;
    for (int c = 0; c < 256; ++c)
      source.plain_breaks &= (text.code_page[c] == L'\r') == (c == '\r') && (text.code_page[c] == L'\n') == (c == '\n');
    return rewrite(source, values);
  }
  return text.big_endian ? rewrite(Utf16Source<true>(text.bytes), values) : rewrite(Utf16Source<false>(text.bytes), values);
}

std::wstring rewrite_project_text(const std::wstring& text, const RecordValues& values) {
  return rewrite_project_pieces(text, values).joined(text);
}

LibrarySettings library_settings(std::wstring_view text) {
  LibrarySettings values;
  if (text.size() > UINT32_MAX) return values;
  for (const Record& r : parse(WideSource{text}, Table::Records).records) {
    const std::wstring_view own = text.substr(r.close + 1, r.content_end - r.close - 1);
    for (std::size_t i = 0; i < kLibrarySettings.size(); ++i)
      if (r.number == kLibrarySettings[i] && !values[i]) values[i] = std::wstring(trim_view(own));
  }
  return values;
}

std::wstring gost_symbol_list(const std::vector<std::wstring>& ugo_subfolders,
                              const std::wstring& docs, const std::wstring& version) {
  std::wstring list(install::kSupportFolder);
  list += L';';
  append_subfolders(list, install::kUgoFolder, ugo_subfolders);
  const std::wstring libs = acade_libs(docs, version);
  // Unlike every other entry, "1-" has no backslash before its semicolon here.
  list += libs + L"iec2\\;" + libs + L"iec2\\1-;" + libs + L"pneu_iso125\\;" + libs + L"hyd_iso125\\;" +
          libs + L"pid\\;";
  return list;
}

std::wstring gost_panel_list(const std::vector<std::wstring>& panel_subfolders,
                             const std::wstring& docs, const std::wstring& version) {
  std::wstring list;
  append_subfolders(list, install::kPanelFolder, panel_subfolders);
  return list + stock_panel_list(docs, version);
}

std::wstring stock_symbol_list(const std::wstring& docs, const std::wstring& version) {
  const std::wstring libs = acade_libs(docs, version);
  return libs + L"IEC2\\;" + libs + L"IEC2\\1-\\;" + libs + L"pneu_iso125\\;" + libs + L"hyd_iso125\\;" +
         libs + L"pid\\;";
}

std::wstring stock_panel_list(const std::wstring& docs, const std::wstring& version) {
  return acade_libs(docs, version) + L"panel\\;";
}

RecordValues gost_values(const std::vector<std::wstring>& ugo_subfolders,
                         const std::vector<std::wstring>& panel_subfolders,
                         const std::wstring& docs, const std::wstring& version) {
  return {gost_symbol_list(ugo_subfolders, docs, version), std::wstring(install::kGostMenuFile),
          gost_panel_list(panel_subfolders, docs, version), L"kvdata.env\n"};
}

RecordValues stock_values(const std::wstring& docs, const std::wstring& version) {
  return {stock_symbol_list(docs, version), std::wstring(kStockMenuFile), stock_panel_list(docs, version),
          L"wd.env\n"};
}

bool is_plain_library_folder(std::uint32_t attributes, const std::wstring& name) {
  constexpr std::uint32_t kDirectoryOnly = 16;
  return attributes == kDirectoryOnly && name != L"." && name != L"..";
}

}  // namespace kvs
