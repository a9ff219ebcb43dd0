#include "switching/project_text.h"

#include <algorithm>
#include <climits>
#include <cwctype>
#include <stdexcept>

#include "common/path_fold.h"
#include "common/text_util.h"

namespace kvs {

namespace {

const int kEnvRecord = 20;

// One line of the text: [begin, content_end) its text, [content_end, end) its CR LF, CR or LF.
struct Line {
  std::size_t begin, content_end, end;
};

Line line_at(const std::wstring& text, std::size_t begin) {
  // Most characters are neither CR nor LF: one compare rules them out, four at a time.
  const wchar_t* const data = text.data();
  const wchar_t* p = data + begin;
  const wchar_t* const last = data + text.size();
  while (last - p >= 4 && p[0] > L'\r' && p[1] > L'\r' && p[2] > L'\r' && p[3] > L'\r') p += 4;
  for (; p != last && (*p > L'\r' || (*p != L'\r' && *p != L'\n')); ++p) {
  }
  const std::size_t content_end = static_cast<std::size_t>(p - data);
  std::size_t end = content_end;
  if (end < text.size()) end += (text[end] == L'\r' && end + 1 < text.size() && text[end + 1] == L'\n') ? 2 : 1;
  const Line line = {begin, content_end, end};
  return line;
}

// A record line begins with "+[" and has its "]" on the same line; npos for any other line.
std::size_t record_close(const std::wstring& text, const Line& line) {
  if (line.content_end - line.begin < 2 || text[line.begin] != L'+' || text[line.begin + 1] != L'[')
    return std::wstring::npos;
  for (std::size_t i = line.begin + 2; i < line.content_end; ++i)
    if (text[i] == L']') return i;
  return std::wstring::npos;
}

bool is_question_line(const std::wstring& text, const Line& line) {
  return line.begin < line.content_end && text[line.begin] == L'?';
}

bool is_line_break(wchar_t c) { return c == L'\r' || c == L'\n'; }

bool spaces_only(const std::wstring& text, std::size_t begin, std::size_t end) {
  for (; begin < end; ++begin)
    if (!is_space(text[begin])) return false;
  return true;
}

bool is_replaced(int number) { return number == 1 || number == 2 || number == 3 || number == kEnvRecord; }

// As parse_record_number reads text[begin, end).
int record_number(const std::wstring& text, std::size_t begin, std::size_t end) {
  std::size_t i = begin;
  while (i < end && is_space(text[i])) ++i;
  bool negative = false;
  if (i < end && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
  // The magnitude is capped one past INT_MAX, which is exactly -INT_MIN.
  const long long kCap = static_cast<long long>(INT_MAX) + 1;
  long long magnitude = 0;
  for (; i < end && text[i] >= L'0' && text[i] <= L'9'; ++i) magnitude = std::min(kCap, magnitude * 10 + (text[i] - L'0'));
  return static_cast<int>(negative ? -magnitude : std::min(magnitude, kCap - 1));
}

// Whether text[begin, end) is `number` as the rewrite writes it: its shortest decimal form.
bool written_shortest(const std::wstring& text, std::size_t begin, std::size_t end, int number) {
  wchar_t digits[12];
  std::size_t first = sizeof digits / sizeof digits[0];
  // Unsigned negation keeps INT_MIN well defined.
  unsigned magnitude = number < 0 ? 0u - static_cast<unsigned>(number) : static_cast<unsigned>(number);
  do {
    digits[--first] = static_cast<wchar_t>(L'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (number < 0) digits[--first] = L'-';
  const std::size_t size = sizeof digits / sizeof digits[0] - first;
  if (end - begin != size) return false;
  for (std::size_t i = 0; i < size; ++i)
    if (text[begin + i] != digits[first + i]) return false;
  return true;
}

// A record: where its line, its number's text ([line + 2, close)), its value on that line
// (close + 1 to content_end) and its line break (to line_end) lie, and the plain lines after
// it up to the next record or the tail, which stay with it ([line_end, following_end)).
// Offsets of 32 bits keep the table small: a project text is far below 4 G characters.
struct Record {
  int number;
  std::uint32_t line, close, content_end, line_end, following_end;
  bool replaced;
  bool as_it_stands;  // the rewrite would write it exactly as it stands: one piece of the text
};

std::uint32_t offset(std::size_t at) { return static_cast<std::uint32_t>(at); }

Record read_record(const std::wstring& text, const Line& line, std::size_t close) {
  const int number = record_number(text, line.begin + 2, close);
  Record r = {number, offset(line.begin), offset(close), offset(line.content_end), offset(line.end), offset(line.end),
              is_replaced(number), false};
  // "+[n]value" and its line end, with its number in its shortest form and nothing to trim.
  r.as_it_stands = !r.replaced && written_shortest(text, line.begin + 2, close, number) &&
                   (r.close + 1 == r.content_end || (!is_space(text[r.close + 1]) && !is_space(text[r.content_end - 1])));
  return r;
}

struct Span {
  std::size_t begin, end;
};

struct Parsed {
  Parsed() {
    head.begin = head.end = leading_tail.begin = leading_tail.end = 0;
  }
  Span head;                    // lines before the first record, written first
  std::vector<Record> records;  // in text order
  Span leading_tail;            // a text's opening "?" lines, written after the records
  std::vector<Span> tail;       // the rest in text order, records taken out of it
};

Parsed parse(const std::wstring& text) {
  Parsed parsed;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const Line line = line_at(text, pos);
    if (record_close(text, line) != std::wstring::npos) break;
    pos = line.end;
  }
  // A line in a project is seldom shorter than this; the estimate spares regrowing.
  parsed.records.reserve((text.size() - pos) / 32 + 1);
  // Before the first record: the head, or the leading tail when the text opens with "?".
  Span& opening = !text.empty() && text[0] == L'?' ? parsed.leading_tail : parsed.head;
  opening.end = pos;

  // Plain lines after a record stay with it until the first "?" line; from there on
  // everything but the records is tail.
  bool in_tail = false;
  while (pos < text.size()) {
    const Line line = line_at(text, pos);
    const std::size_t close = record_close(text, line);
    if (close != std::wstring::npos) {
      parsed.records.push_back(read_record(text, line, close));
    } else if (in_tail || is_question_line(text, line)) {
      in_tail = true;
      // Neighbouring tail lines are kept as one piece.
      if (!parsed.tail.empty() && parsed.tail.back().end == line.begin) {
        parsed.tail.back().end = line.end;
      } else {
        const Span piece = {line.begin, line.end};
        parsed.tail.push_back(piece);
      }
    } else {
      parsed.records.back().following_end = offset(line.end);
    }
    pos = line.end;
  }
  // With no "?" line after the records, the last record ends with its own line and the plain
  // lines after it (a drawing list) are kept after the records.
  if (!in_tail && !parsed.records.empty()) {
    Record& last = parsed.records.back();
    const Span rest = {last.line_end, last.following_end};
    parsed.tail.push_back(rest);
    last.following_end = last.line_end;
  }
  return parsed;
}

const std::wstring& replacement_for(int number, const RecordValues& values) {
  switch (number) {
    case 1: return values.record1;
    case 2: return values.record2;
    case 3: return values.record3;
  }
  return values.record20;
}

std::size_t setting_index(int number) {
  std::size_t i = 0;
  while (i + 1 < kLibrarySettingCount && kLibrarySettings[i] != number) ++i;
  return i;
}

// What a switch writes for a library setting that holds `current` (as its line holds it, or
// trimmed): `write` false when its line goes.
struct NewValue {
  bool write;
  std::wstring value;
};

NewValue new_setting_value(int number, const SettingValue& current, const RecordValues& values) {
  const ReplacedSetting& memory = values.remembered[setting_index(number)];
  NewValue out = {true, std::wstring()};
  if (values.gives_menu_back && memory.known && current.present && trim(current.value) == memory.written) {
    out.write = memory.present;
    out.value = memory.before;
  } else if (number == 1 || number == 3) {
    out.value = trim(merge_library_list(trim(current.value), replacement_for(number, values), values.docs));
  } else if (number == 2 && values.gives_menu_back) {
    out.value = menu_after_switch_back(current, values.remembered_menu);
  } else {
    out.value = trim(replacement_for(number, values));
  }
  return out;
}

// The values of settings 1, 2, 3 and 20 in a settled table; the record 20 it adds is none.
LibrarySettings settings_of(const std::wstring& text, const std::vector<Record>& records) {
  LibrarySettings values;
  for (std::size_t r = 0; r < records.size() && records[r].number <= kEnvRecord; ++r) {
    const Record& record = records[r];
    if (record.line_end == 0) continue;  // added, not read
    for (std::size_t i = 0; i < kLibrarySettingCount; ++i)
      if (record.number == kLibrarySettings[i] && !values[i].present)
        values[i] = SettingValue(trim(text.substr(record.close + 1, record.content_end - record.close - 1)));
  }
  return values;
}

bool by_number(const Record& a, const Record& b) { return a.number < b.number; }
bool same_number(const Record& a, const Record& b) { return a.number == b.number; }

// Sorted by number, the first record of each number kept, and record 20 added when the text
// has none.
void settle_table(std::vector<Record>& records) {
  // Projects keep their records in order; the check spares them the sort.
  if (!std::is_sorted(records.begin(), records.end(), by_number))
    std::stable_sort(records.begin(), records.end(), by_number);
  records.erase(std::unique(records.begin(), records.end(), same_number), records.end());
  std::vector<Record>::iterator env = records.begin();
  while (env != records.end() && env->number < kEnvRecord) ++env;
  if (env == records.end() || env->number != kEnvRecord) {
    const Record added = {kEnvRecord, 0, 0, 0, 0, 0, true, false};
    records.insert(env, added);
  }
}

// The text's own line end: that of its first line, CR LF when no line ends.
std::wstring line_end_of(const std::wstring& text) {
  const Line first = line_at(text, 0);
  return first.end > first.content_end ? text.substr(first.content_end, first.end - first.content_end) : L"\r\n";
}

// The output as lines: each one that follows a line without its end gives that line one.
class LineWriter {
 public:
  LineWriter(const std::wstring& text, TextPieces& out) : text_(text), out_(out), line_end_(line_end_of(text)) {}
  const std::wstring& line_end() const { return line_end_; }
  void source(std::size_t begin, std::size_t size) {
    if (size == 0) return;
    start_line();
    out_.append_source(begin, size);
  }
  void line(const std::wstring& content, const std::wstring& end) {
    start_line();
    out_.append_new(content);
    out_.append_new(end);
  }
  // A line of `prefix`, the text's [begin, begin + size) and `end`.
  void line(const std::wstring& prefix, std::size_t begin, std::size_t size, const std::wstring& end) {
    start_line();
    out_.append_new(prefix);
    out_.append_source(begin, size);
    out_.append_new(end);
  }
  // The text's last line keeps its lack of a line end.
  void finish() {
    if (text_.empty() || is_line_break(text_[text_.size() - 1]) || out_.size() == 0) return;
    const wchar_t last = out_.back(text_);
    if (!is_line_break(last)) return;
    out_.drop_back(1);
    if (last == L'\n' && out_.size() > 0 && out_.back(text_) == L'\r') out_.drop_back(1);
  }

 private:
  void start_line() {
    if (out_.size() > 0 && !is_line_break(out_.back(text_))) out_.append_new(line_end_);
  }
  const std::wstring& text_;
  TextPieces& out_;
  const std::wstring line_end_;
};

void write_text(const std::wstring& text, const Parsed& parsed, const RecordValues& values, ProjectRewrite& rewrite) {
  LineWriter out(text, rewrite.text);
  out.source(parsed.head.begin, parsed.head.end - parsed.head.begin);
  for (std::size_t i = 0; i < parsed.records.size(); ++i) {
    const Record& r = parsed.records[i];
    const bool read = r.line_end != 0;
    if (r.as_it_stands) {
      out.source(r.line, r.line_end - r.line);
    } else {
      const std::wstring prefix = L"+[" + std::to_wstring(r.number) + L"]";
      const std::wstring end = read ? text.substr(r.content_end, r.line_end - r.content_end) : out.line_end();
      if (r.replaced) {
        const std::wstring own = read ? text.substr(r.close + 1, r.content_end - r.close - 1) : std::wstring();
        const NewValue value = new_setting_value(r.number, read ? SettingValue(own) : SettingValue(), values);
        if (!values.gives_menu_back) {
          ReplacedSetting& replaced = rewrite.replaced[setting_index(r.number)];
          replaced.known = true;
          replaced.present = read;
          replaced.before = own;
          replaced.written = value.value;
        }
        if (value.write) out.line(prefix + value.value, end);
      } else {
        // The value trimmed, as a part of the source.
        std::size_t begin = r.close + 1, last = r.content_end;
        while (begin < last && is_space(text[begin])) ++begin;
        while (last > begin && is_space(text[last - 1])) --last;
        out.line(prefix, begin, last - begin, end);
      }
    }
    // Blank lines after a record are trimmed away with its value, as records have always been.
    if (!spaces_only(text, r.line_end, r.following_end)) out.source(r.line_end, r.following_end - r.line_end);
  }
  out.source(parsed.leading_tail.begin, parsed.leading_tail.end - parsed.leading_tail.begin);
  for (std::size_t i = 0; i < parsed.tail.size(); ++i)
    out.source(parsed.tail[i].begin, parsed.tail[i].end - parsed.tail[i].begin);
  out.finish();
}

std::wstring acade_libs(const std::wstring& docs, const std::wstring& version) {
  return docs + L"\\Autodesk\\Acade " + version + L"\\Libs\\";
}

void append_subfolders(std::wstring& list, const wchar_t* parent, const std::vector<std::wstring>& names) {
  for (std::size_t i = 0; i < names.size(); ++i) list.append(parent).append(names[i]).append(L"\\;");
}

// Whether `path` (folded) begins with `prefix` (folded) followed by its end or a separator.
bool is_under(const std::wstring& path, const std::wstring& prefix) {
  return path.compare(0, prefix.size(), prefix) == 0 && (path.size() == prefix.size() || path[prefix.size()] == L'\\');
}

}  // namespace

namespace {

// The folder an entry of a folder list names inside the stock library folder, folded and
// without outer separators ("IEC2\1-" for "%SL_DIR%iec2/1-/" or for
// "<docs>\Autodesk\Acade 2016\Libs\iec2\1-\;"); false when it names no folder in there.
// An entry's folder: without outer blanks and its ";".
std::wstring entry_folder(const std::wstring& entry) {
  const std::wstring path = trim(entry);
  return !path.empty() && path[path.size() - 1] == L';' ? trim(path.substr(0, path.size() - 1)) : path;
}

bool stock_folder_key(const std::wstring& entry, const std::wstring& docs, std::wstring& key) {
  const std::wstring path = folded_path(entry_folder(entry));
  std::size_t inside = 0;
  if (path.compare(0, 8, L"%SL_DIR%") == 0) {
    inside = 8;
  } else {
    // <docs>\Autodesk\Acade <year>\Libs
    const std::wstring acade = folded_path(docs + L"\\Autodesk\\Acade ");
    if (path.compare(0, acade.size(), acade) != 0) return false;
    std::size_t year = acade.size();
    while (year < path.size() && path[year] >= L'0' && path[year] <= L'9') ++year;
    if (year == acade.size() || !is_under(path.substr(year), L"\\LIBS")) return false;
    inside = year + 5;
  }
  std::size_t end = path.size();
  while (inside < end && path[inside] == L'\\') ++inside;
  while (end > inside && path[end - 1] == L'\\') --end;
  key = path.substr(inside, end - inside);
  return !key.empty();
}

}  // namespace

bool is_library_entry(const std::wstring& entry, const std::wstring& list, const std::wstring& docs) {
  if (under_addon_folder(entry_folder(entry))) return true;
  std::wstring key;
  if (!stock_folder_key(entry, docs, key)) return false;
  const std::vector<ListSpan> entries = list_spans(list);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    std::wstring named;
    if (stock_folder_key(list.substr(entries[i].begin, entries[i].end - entries[i].begin), docs, named) && named == key)
      return true;
  }
  return false;
}

std::wstring merge_library_list(const std::wstring& value, const std::wstring& list, const std::wstring& docs) {
  std::wstring before, after;
  bool library = false;
  const std::vector<ListSpan> entries = list_spans(value);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    // Each entry with its ";", so that own entries keep their text.
    const std::size_t end = entries[i].end < value.size() ? entries[i].end + 1 : entries[i].end;
    const std::wstring entry = value.substr(entries[i].begin, end - entries[i].begin);
    if (is_library_entry(entry, list, docs)) library = true;
    else (library ? after : before) += entry;
  }
  // Without a library entry, every own entry follows the list.
  if (!library) before.swap(after);
  std::wstring merged = before + list;
  if (!after.empty() && !merged.empty() && merged[merged.size() - 1] != L';') merged += L';';
  return merged + after;
}

bool under_addon_folder(const std::wstring& path) {
  std::wstring root = folded_path(install::kRoot);
  root.erase(root.size() - 1);  // its separator
  return is_under(folded_path(trim(path)), root);
}

MenuKind menu_kind(const std::wstring& menu) {
  const std::wstring name = trim(menu);
  if (name.empty() || same_path(name, kStockMenuFile)) return MenuKind::Stock;
  // The add-on's menu file by its name alone, wherever it is said to be, is the add-on's too.
  const std::wstring addon = install::kGostMenuFile;
  const std::wstring addonName = addon.substr(addon.find_last_of(L'\\') + 1);
  const std::size_t slash = name.find_last_of(L"\\/");
  const std::wstring file = slash == std::wstring::npos ? name : name.substr(slash + 1);
  return under_addon_folder(name) || same_path(file, addonName) ? MenuKind::Addon : MenuKind::Own;
}

std::wstring menu_after_switch_back(const SettingValue& current, const std::wstring& remembered) {
  const MenuKind kind = current.present ? menu_kind(current.value) : MenuKind::Addon;
  if (kind == MenuKind::Own) return trim(current.value);
  return kind == MenuKind::Addon && !remembered.empty() ? remembered : std::wstring(kStockMenuFile);
}

LibrarySettings settings_after_switch(const LibrarySettings& read, const RecordValues& values) {
  LibrarySettings after;
  for (std::size_t i = 0; i < kLibrarySettingCount; ++i) {
    if (!read[i].present && kLibrarySettings[i] != kEnvRecord) continue;
    const NewValue value = new_setting_value(kLibrarySettings[i], read[i], values);
    if (value.write) after[i] = SettingValue(trim(value.value));
  }
  return after;
}

int parse_record_number(const std::wstring& text) { return record_number(text, 0, text.size()); }

SettingLibrary setting_library(int number, const SettingValue& value) {
  if (!value.present) return SettingLibrary::Unset;
  if (number == 20) return same_path(trim(value.value), L"kvdata.env") ? SettingLibrary::Gost : SettingLibrary::Stock;
  // A folder list is on GOST when one of its entries is the add-on's: the project's own
  // entries, which no switch touches, never count.
  const std::vector<ListSpan> entries = list_spans(value.value);
  for (std::size_t i = 0; i < entries.size(); ++i)
    if (under_addon_folder(value.value.substr(entries[i].begin, entries[i].end - entries[i].begin)))
      return SettingLibrary::Gost;
  return SettingLibrary::Stock;
}

ProjectLibrary project_library(const LibrarySettings& settings) {
  bool gost = false, stock = false;
  for (std::size_t i = 0; i < kLibrarySettingCount; ++i) {
    const SettingLibrary library = setting_library(kLibrarySettings[i], settings[i]);
    gost = gost || library == SettingLibrary::Gost;
    stock = stock || library == SettingLibrary::Stock;
  }
  if (gost && stock) return ProjectLibrary::Mixed;
  return gost ? ProjectLibrary::Gost : ProjectLibrary::Stock;
}


void rewrite_project(const std::wstring& text, const RecordValues& values, ProjectRewrite& out) {
  if (text.size() > UINT32_MAX) throw std::length_error("project text too long");
  Parsed parsed = parse(text);
  settle_table(parsed.records);
  out.read = settings_of(text, parsed.records);
  out.text = TextPieces();
  out.replaced = ReplacedSettings();
  write_text(text, parsed, values, out);
}

TextPieces rewrite_project_pieces(const std::wstring& text, const RecordValues& values) {
  ProjectRewrite rewrite;
  rewrite_project(text, values, rewrite);
  return rewrite.text;
}

std::wstring rewrite_project_text(const std::wstring& text, const RecordValues& values) {
  return rewrite_project_pieces(text, values).joined(text);
}

ReplacedSettings remembered_after_switch(const ReplacedSettings& before, const ReplacedSettings& now) {
  ReplacedSettings kept = before;
  for (std::size_t i = 0; i < kLibrarySettingCount; ++i) {
    const ReplacedSetting& found = now[i];
    // A setting that already held what the switch wrote keeps what an earlier switch found in it.
    if (found.known && (!kept[i].known || !found.present || trim(found.before) != found.written)) kept[i] = found;
  }
  return kept;
}

namespace {

const wchar_t kBefore[] = L" before ";
const wchar_t kAbsent[] = L" absent";
const wchar_t kWritten[] = L" written ";

}  // namespace

std::wstring replaced_settings_text(const ReplacedSettings& settings) {
  std::wstring text;
  for (std::size_t i = 0; i < kLibrarySettingCount; ++i) {
    const ReplacedSetting& s = settings[i];
    if (!s.known) continue;
    const std::wstring number = std::to_wstring(kLibrarySettings[i]);
    text += number + (s.present ? kBefore + s.before : std::wstring(kAbsent)) + L"\n";
    text += number + kWritten + s.written + L"\n";
  }
  return text;
}

ReplacedSettings replaced_settings_of(const std::wstring& text) {
  ReplacedSettings settings;
  bool told[kLibrarySettingCount] = {false, false, false, false};
  bool written[kLibrarySettingCount] = {false, false, false, false};
  for (std::size_t begin = 0; begin < text.size();) {
    std::size_t end = text.find(L'\n', begin);
    if (end == std::wstring::npos) end = text.size();
    std::wstring line = text.substr(begin, end - begin);
    if (!line.empty() && line[line.size() - 1] == L'\r') line.erase(line.size() - 1);
    begin = end + 1;
    const std::size_t space = line.find(L' ');
    if (space == std::wstring::npos) continue;
    const int number = parse_record_number(line.substr(0, space));
    const std::size_t i = setting_index(number);
    if (kLibrarySettings[i] != number) continue;
    const std::wstring rest = line.substr(space);
    ReplacedSetting& s = settings[i];
    if (rest.compare(0, 8, kBefore) == 0) {
      s.present = told[i] = true;
      s.before = rest.substr(8);
    } else if (rest == kAbsent) {
      told[i] = true;
      s.present = false;
    } else if (rest.compare(0, 9, kWritten) == 0) {
      written[i] = true;
      s.written = rest.substr(9);
    }
  }
  for (std::size_t i = 0; i < kLibrarySettingCount; ++i) settings[i].known = told[i] && written[i];
  return settings;
}

LibrarySettings library_settings(const std::wstring& text) {
  if (text.size() > UINT32_MAX) return LibrarySettings();
  Parsed parsed = parse(text);
  settle_table(parsed.records);
  return settings_of(text, parsed.records);
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
  const RecordValues values = {gost_symbol_list(ugo_subfolders, docs, version), install::kGostMenuFile,
                               gost_panel_list(panel_subfolders, docs, version), L"kvdata.env\n", docs,
                               false, L"", ReplacedSettings()};
  return values;
}

RecordValues stock_values(const std::wstring& docs, const std::wstring& version) {
  const RecordValues values = {stock_symbol_list(docs, version), kStockMenuFile, stock_panel_list(docs, version),
                               L"wd.env\n", docs, true, L"", ReplacedSettings()};
  return values;
}

bool is_plain_library_folder(std::uint32_t attributes, const std::wstring& name) {
  const std::uint32_t kDirectoryOnly = 16;
  return attributes == kDirectoryOnly && name != L"." && name != L"..";
}

}  // namespace kvs
