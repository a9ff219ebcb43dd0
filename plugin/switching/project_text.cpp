#include "switching/project_text.h"

#include <algorithm>
#include <climits>
#include <cwctype>
#include <utility>

#include "common/text_util.h"

namespace kvs {

namespace {

constexpr auto npos = std::wstring_view::npos;
constexpr int kEnvRecord = 20;

// A record: its own line's text after the "]", and the plain lines that follow it up to the
// next record or the tail, which stay with it.
struct Record {
  int number;
  std::wstring_view own;
  std::wstring_view following;
};

struct Parsed {
  std::wstring_view head;          // lines before the first record, written first
  std::vector<Record> records;     // in text order
  std::wstring_view leading_tail;  // a text's opening "?" lines, written after the records
  std::vector<std::wstring_view> tail;  // the rest in text order, records taken out of it
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

Line line_at(std::wstring_view text, std::size_t begin) {
  std::size_t content_end = begin;
  while (content_end < text.size() && !is_line_break(text[content_end])) ++content_end;
  std::size_t end = content_end;
  if (end < text.size()) end += (text[end] == L'\r' && end + 1 < text.size() && text[end + 1] == L'\n') ? 2 : 1;
  return {begin, content_end, end};
}

// A record line begins with "+[" and has its "]" on the same line.
std::size_t record_close(std::wstring_view text, const Line& line) {
  if (line.content_end - line.begin < 2 || text[line.begin] != L'+' || text[line.begin + 1] != L'[') return npos;
  const std::size_t close = text.find(L']', line.begin + 2);
  return close < line.content_end ? close : npos;
}

bool is_question_line(std::wstring_view text, const Line& line) {
  return line.begin < line.content_end && text[line.begin] == L'?';
}

Parsed parse(std::wstring_view text) {
  Parsed parsed;
  const auto span = [text](std::size_t begin, std::size_t end) { return text.substr(begin, end - begin); };
  std::size_t pos = 0;
  while (pos < text.size() && record_close(text, line_at(text, pos)) == npos) pos = line_at(text, pos).end;
  // Before the first record: the head, or the leading tail when the text opens with "?".
  (text.substr(0, 1) == L"?" ? parsed.leading_tail : parsed.head) = text.substr(0, pos);

  // Plain lines after a record stay with it until the first "?" line; from there on
  // everything but the records is tail.
  bool in_tail = false;
  while (pos < text.size()) {
    const Line line = line_at(text, pos);
    const std::size_t close = record_close(text, line);
    if (close != npos) {
      const int number = parse_record_number(span(line.begin + 2, close));
      parsed.records.push_back({number, span(close + 1, line.content_end), text.substr(line.end, 0)});
    } else if (in_tail || is_question_line(text, line)) {
      in_tail = true;
      // Neighbouring tail lines are kept as one piece.
      if (!parsed.tail.empty() && parsed.tail.back().data() + parsed.tail.back().size() == text.data() + line.begin)
        parsed.tail.back() = {parsed.tail.back().data(), parsed.tail.back().size() + (line.end - line.begin)};
      else
        parsed.tail.push_back(span(line.begin, line.end));
    } else {
      std::wstring_view& following = parsed.records.back().following;
      following = {following.data(), following.size() + (line.end - line.begin)};
    }
    pos = line.end;
  }
  // With no "?" line after the records, the last record ends with its own line and the plain
  // lines after it (a drawing list) are kept after the records.
  if (!in_tail && !parsed.records.empty()) parsed.tail.push_back(std::exchange(parsed.records.back().following, {}));
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

bool is_replaced(int number) { return number == 1 || number == 2 || number == 3 || number == kEnvRecord; }

// Sorts by number and keeps the first record of each number; the switched records take
// their new value on their own line; record 20 is added when the text has none.
void settle_table(std::vector<Record>& records, const RecordValues& values) {
  std::stable_sort(records.begin(), records.end(),
                   [](const Record& a, const Record& b) { return a.number < b.number; });
  const auto last = std::unique(records.begin(), records.end(),
                                [](const Record& a, const Record& b) { return a.number == b.number; });
  records.erase(last, records.end());
  const auto env = std::lower_bound(records.begin(), records.end(), kEnvRecord,
                                    [](const Record& r, int n) { return r.number < n; });
  if (env == records.end() || env->number != kEnvRecord) records.insert(env, {kEnvRecord, {}, {}});
  for (Record& r : records) {
    if (is_replaced(r.number)) r.own = trim_view(replacement_for(r.number, values));
  }
}

std::wstring write_text(const Parsed& parsed) {
  static constexpr std::wstring_view kOpen = L"+[", kClose = L"]", kEnd = L"\r\n";
  // A head that does not end its line would swallow the first record.
  const bool close_head = !parsed.head.empty() && !is_line_break(parsed.head.back());
  std::size_t size = parsed.head.size() + (close_head ? kEnd.size() : 0) + parsed.leading_tail.size();
  for (const std::wstring_view piece : parsed.tail) size += piece.size();
  for (const Record& r : parsed.records) {
    size += kOpen.size() + DecimalText(r.number).view().size() + kClose.size() + r.own.size() + kEnd.size() +
            r.following.size();
  }
  std::wstring out;
  out.reserve(size);
  out.append(parsed.head);
  if (close_head) out.append(kEnd);
  for (const Record& r : parsed.records) {
    out.append(kOpen).append(DecimalText(r.number).view()).append(kClose).append(trim_view(r.own)).append(kEnd);
    // Blank lines after a record are trimmed away with its value, as records have always been.
    if (!trim_view(r.following).empty()) out.append(r.following);
  }
  out.append(parsed.leading_tail);
  for (const std::wstring_view piece : parsed.tail) out.append(piece);
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

std::wstring rewrite_project_text(const std::wstring& text, const RecordValues& values) {
  Parsed parsed = parse(text);
  settle_table(parsed.records, values);
  return write_text(parsed);
}

LibrarySettings library_settings(std::wstring_view text) {
  LibrarySettings values;
  for (const Record& r : parse(text).records) {
    for (std::size_t i = 0; i < kLibrarySettings.size(); ++i)
      if (r.number == kLibrarySettings[i] && !values[i]) values[i] = std::wstring(trim_view(r.own));
  }
  return values;
}

std::wstring gost_symbol_list(const std::vector<std::wstring>& ugo_subfolders,
                              const std::wstring& docs, const std::wstring& version) {
  std::wstring list(kSupportFolder);
  list += L';';
  append_subfolders(list, kUgoFolder, ugo_subfolders);
  const std::wstring libs = acade_libs(docs, version);
  // Unlike every other entry, "1-" has no backslash before its semicolon here.
  list += libs + L"iec2\\;" + libs + L"iec2\\1-;" + libs + L"pneu_iso125\\;" + libs + L"hyd_iso125\\;" +
          libs + L"pid\\;";
  return list;
}

std::wstring gost_panel_list(const std::vector<std::wstring>& panel_subfolders,
                             const std::wstring& docs, const std::wstring& version) {
  std::wstring list;
  append_subfolders(list, kPanelFolder, panel_subfolders);
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
  return {gost_symbol_list(ugo_subfolders, docs, version), std::wstring(kGostMenuFile),
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
