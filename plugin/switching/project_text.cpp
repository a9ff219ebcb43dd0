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
  // "+[n]value" and CR LF, with its number in its shortest form and nothing to trim.
  r.as_it_stands = !r.replaced && written_shortest(text, line.begin + 2, close, number) && r.line_end - r.content_end == 2 &&
                   text[r.content_end] == L'\r' &&
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

void write_text(const std::wstring& text, const Parsed& parsed, const RecordValues& values, TextPieces& out) {
  out.append_source(parsed.head.begin, parsed.head.end - parsed.head.begin);
  // A head that does not end its line would swallow the first record.
  if (parsed.head.end > 0 && !is_line_break(text[parsed.head.end - 1])) out.append_new(L"\r\n");
  for (std::size_t i = 0; i < parsed.records.size(); ++i) {
    const Record& r = parsed.records[i];
    if (r.as_it_stands) {
      out.append_source(r.line, r.line_end - r.line);
    } else {
      out.append_new(L"+[" + std::to_wstring(r.number) + L"]");
      if (r.number == 1 || r.number == 3) {
        const std::wstring own = trim(text.substr(r.close + 1, r.content_end - r.close - 1));
        out.append_new(trim(merge_library_list(own, replacement_for(r.number, values), values.docs)));
      } else if (r.number == 2 && values.gives_menu_back) {
        const SettingValue current(trim(text.substr(r.close + 1, r.content_end - r.close - 1)));
        out.append_new(menu_after_switch_back(current, values.remembered_menu));
      } else if (r.replaced) {
        out.append_new(trim(replacement_for(r.number, values)));
      } else {
        // The value trimmed, as a part of the source.
        std::size_t begin = r.close + 1, end = r.content_end;
        while (begin < end && is_space(text[begin])) ++begin;
        while (end > begin && is_space(text[end - 1])) --end;
        out.append_source(begin, end - begin);
      }
      out.append_new(L"\r\n");
    }
    // Blank lines after a record are trimmed away with its value, as records have always been.
    if (!spaces_only(text, r.line_end, r.following_end)) out.append_source(r.line_end, r.following_end - r.line_end);
  }
  out.append_source(parsed.leading_tail.begin, parsed.leading_tail.end - parsed.leading_tail.begin);
  for (std::size_t i = 0; i < parsed.tail.size(); ++i)
    out.append_source(parsed.tail[i].begin, parsed.tail[i].end - parsed.tail[i].begin);
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

bool is_library_entry(const std::wstring& entry, const std::wstring& docs) {
  std::wstring path = trim(entry);
  if (!path.empty() && path[path.size() - 1] == L';') path = trim(path.substr(0, path.size() - 1));
  if (under_addon_folder(path)) return true;
  path = folded_path(path);
  if (path.compare(0, 8, L"%SL_DIR%") == 0) return true;
  // <docs>\Autodesk\Acade <year>\Libs
  const std::wstring acade = folded_path(docs + L"\\Autodesk\\Acade ");
  if (path.compare(0, acade.size(), acade) != 0) return false;
  std::size_t year = acade.size();
  while (year < path.size() && path[year] >= L'0' && path[year] <= L'9') ++year;
  return year > acade.size() && is_under(path.substr(year), L"\\LIBS");
}

std::wstring merge_library_list(const std::wstring& value, const std::wstring& list, const std::wstring& docs) {
  std::wstring before, after;
  bool library = false;
  for (std::size_t begin = 0; begin < value.size();) {
    std::size_t end = value.find(L';', begin);
    end = end == std::wstring::npos ? value.size() : end + 1;
    const std::wstring entry = value.substr(begin, end - begin);
    if (is_library_entry(entry, docs)) library = true;
    else (library ? after : before) += entry;
    begin = end;
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
  // As write_text writes each of them.
  const std::wstring menu = values.gives_menu_back ? menu_after_switch_back(read[1], values.remembered_menu)
                                                   : trim(values.record2);
  const std::wstring written[] = {trim(merge_library_list(read[0].value, values.record1, values.docs)), menu,
                                  trim(merge_library_list(read[2].value, values.record3, values.docs)),
                                  trim(values.record20)};
  LibrarySettings after;
  for (std::size_t i = 0; i < kLibrarySettingCount; ++i)
    if (read[i].present || kLibrarySettings[i] == kEnvRecord) after[i] = SettingValue(written[i]);
  return after;
}

int parse_record_number(const std::wstring& text) { return record_number(text, 0, text.size()); }

TextPieces rewrite_project_pieces(const std::wstring& text, const RecordValues& values, LibrarySettings& read) {
  if (text.size() > UINT32_MAX) throw std::length_error("project text too long");
  Parsed parsed = parse(text);
  settle_table(parsed.records);
  read = settings_of(text, parsed.records);
  TextPieces out;
  write_text(text, parsed, values, out);
  return out;
}

TextPieces rewrite_project_pieces(const std::wstring& text, const RecordValues& values) {
  LibrarySettings unused;
  return rewrite_project_pieces(text, values, unused);
}

std::wstring rewrite_project_text(const std::wstring& text, const RecordValues& values) {
  return rewrite_project_pieces(text, values).joined(text);
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
                               false, L""};
  return values;
}

RecordValues stock_values(const std::wstring& docs, const std::wstring& version) {
  const RecordValues values = {stock_symbol_list(docs, version), kStockMenuFile, stock_panel_list(docs, version),
                               L"wd.env\n", docs, true, L""};
  return values;
}

bool is_plain_library_folder(std::uint32_t attributes, const std::wstring& name) {
  const std::uint32_t kDirectoryOnly = 16;
  return attributes == kDirectoryOnly && name != L"." && name != L"..";
}

}  // namespace kvs
