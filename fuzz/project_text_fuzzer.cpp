// Fuzz target for the project text rewrite. Bytes become a wide text; the output must be
// exactly what an independent line-by-line reading expects (so every line the switch does
// not own survives, in order, and each switched setting is written once; the values of
// settings 1 to 3 it takes from the merge and menu rules, whose own properties are fuzzed
// separately), and a second rewrite, of the text as written and as stored, changes nothing.
#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "common/text_util.h"
#include "switching/project_text.h"

namespace {

constexpr auto npos = std::wstring::npos;

// ASCII stands for itself so that seed files stay readable; most other bytes are drawn
// towards the characters the format cares about; 0xFF takes the next two bytes as one
// 16-bit code unit.
constexpr wchar_t kBiased[] = L"+[]?0123456789 \r\n\t-*=";
constexpr wchar_t kWide[] = {0x00A0, 0x0085, 0x2028, 0x3000, 0x0410, 0x0663, 0xFEFF, 0xFF0B, 0xD800, 0xFFFF};

std::wstring decode(const std::uint8_t* data, std::size_t size) {
  std::wstring text;
  text.reserve(size);
  for (std::size_t i = 0; i < size; ++i) {
    const std::uint8_t b = data[i];
    if (b < 0x80) {
      text += static_cast<wchar_t>(b);
    } else if (b < 0xE0) {
      text += kBiased[(b - 0x80) % (sizeof kBiased / sizeof kBiased[0] - 1)];
    } else if (b < 0xFF) {
      text += kWide[(b - 0xE0) % (sizeof kWide / sizeof kWide[0])];
    } else if (i + 2 < size) {
      text += static_cast<wchar_t>(data[i + 1] | data[i + 2] << 8);
      i += 2;
    }
  }
  return text;
}

// The C library's reading of a number, clamped to int, as an independent oracle.
int reference_number(const std::wstring& digits) {
  const long value = std::wcstol(digits.c_str(), nullptr, 10);
  return value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

struct RefLine {
  std::wstring content, line_break;
};

std::vector<RefLine> split_lines(const std::wstring& text) {
  std::vector<RefLine> lines;
  std::size_t i = 0;
  while (i < text.size()) {
    RefLine line;
    while (i < text.size() && text[i] != L'\r' && text[i] != L'\n') line.content += text[i++];
    if (i < text.size()) {
      line.line_break += text[i++];
      if (line.line_break == L"\r" && i < text.size() && text[i] == L'\n') line.line_break += text[i++];
    }
    lines.push_back(line);
  }
  return lines;
}

struct RefRecord {
  int number;
  std::wstring own, following;
};

bool as_record(const RefLine& line, RefRecord& record) {
  if (line.content.compare(0, 2, L"+[") != 0) return false;
  const std::size_t close = line.content.find(L']');
  if (close == npos) return false;
  record = {reference_number(line.content.substr(2, close - 2)), line.content.substr(close + 1), {}};
  return true;
}

// The expected output, read line by line the way the rewrite is documented to work.
std::wstring expected_output(const std::wstring& text, const kvs::RecordValues& values) {
  const std::vector<RefLine> lines = split_lines(text);
  std::size_t i = 0;
  std::wstring before;
  RefRecord record;
  for (; i < lines.size() && !as_record(lines[i], record); ++i) before += lines[i].content + lines[i].line_break;
  const bool leading_tail = !text.empty() && text[0] == L'?';

  std::vector<RefRecord> records;
  std::wstring tail;
  bool in_tail = false;
  for (; i < lines.size(); ++i) {
    const RefLine& line = lines[i];
    if (as_record(line, record)) {
      records.push_back(record);
    } else if (in_tail || (!line.content.empty() && line.content[0] == L'?')) {
      in_tail = true;
      tail += line.content + line.line_break;
    } else {
      records.back().following += line.content + line.line_break;
    }
  }
  if (!in_tail && !records.empty()) tail = std::exchange(records.back().following, std::wstring());

  std::map<int, RefRecord> table;
  for (const RefRecord& r : records) table.emplace(r.number, r);
  table.emplace(20, RefRecord{20, {}, {}});
  const std::map<int, std::wstring> replaced = {
      {1, values.record1}, {2, values.record2}, {3, values.record3}, {20, values.record20}};
  std::wstring out = leading_tail ? std::wstring() : before;
  if (!out.empty() && out.back() != L'\r' && out.back() != L'\n') out += L"\r\n";
  for (auto& [number, r] : table) {
    // Settings 1 and 3 keep the project's own entries; their own properties are fuzzed below.
    if (number == 1 || number == 3) r.own = kvs::merge_library_list(kvs::trim(r.own), replaced.at(number), values.docs);
    else if (number == 2 && values.gives_menu_back)
      r.own = kvs::menu_after_switch_back(kvs::SettingValue(kvs::trim(r.own)), values.remembered_menu);
    else if (replaced.count(number)) r.own = kvs::trim(replaced.at(number));
    out += L"+[" + std::to_wstring(number) + L"]" + kvs::trim(r.own) + L"\r\n";
    if (!kvs::trim(r.following).empty()) out += r.following;
  }
  return out + (leading_tail ? before : std::wstring()) + tail;
}

std::wstring trim_right(std::wstring text) {
  while (!text.empty() && kvs::is_space(text.back())) text.pop_back();
  return text;
}

// The entries of a folder list that are the project's own, in order.
std::vector<std::wstring> own_entries(const std::wstring& value, const std::wstring& docs) {
  std::vector<std::wstring> own;
  for (std::size_t begin = 0; begin < value.size();) {
    const std::size_t semicolon = value.find(L';', begin);
    const std::size_t end = semicolon == npos ? value.size() : semicolon + 1;
    if (!kvs::is_library_entry(value.substr(begin, end - begin), docs)) own.push_back(value.substr(begin, end - begin));
    begin = end;
  }
  return own;
}

void require(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "project text property violated: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const kvs::RecordValues kGost =
      kvs::gost_values({L"GOST_A", L"Rele"}, {L"Shkaf"}, L"C:\\Users\\Public\\Documents", L"2015");
  static const kvs::RecordValues kStock = [] {
    kvs::RecordValues values = kvs::stock_values(L"", L"2015");
    values.remembered_menu = L"OFFICE.DAT";  // an own menu to give back
    return values;
  }();
  const kvs::RecordValues& values = (size > 0 && (data[0] & 1)) ? kStock : kGost;

  const std::wstring text = decode(data, size);
  const std::wstring out = kvs::rewrite_project_text(text, values);
  require(out == expected_output(text, values), "the output differs from the line-by-line reading");
  require(kvs::rewrite_project_text(out, values) == out, "a second rewrite changes the text");
  // A folder list keeps every own entry, once and in order, with the mode's list among them.
  const std::wstring merged = kvs::merge_library_list(text, values.record1, values.docs);
  require(merged.find(values.record1) != npos, "the merged list lacks the mode's list");
  require(own_entries(merged, values.docs) == own_entries(text, values.docs), "the merged list changes the own entries");
  require(kvs::merge_library_list(merged, values.record1, values.docs) == merged, "merging twice changes the list");

  // What a switch says the file will hold is what the rewritten text holds.
  kvs::LibrarySettings read;
  kvs::rewrite_project_pieces(text, values, read);
  const kvs::LibrarySettings said = kvs::settings_after_switch(read, values), held = kvs::library_settings(out);
  for (std::size_t i = 0; i < said.size(); ++i)
    require(said[i].present == held[i].present && said[i].value == held[i].value,
            "the settings said after a switch differ from those the text holds");

  // The driver writes the pieces with the white space at their end trimmed: the text stored is
  // the output without its trailing white space, and a second switch of it changes nothing.
  kvs::TextPieces pieces = kvs::rewrite_project_pieces(text, values);
  pieces.trim_end(text);
  const std::wstring stored = trim_right(out);
  require(pieces.joined(text) == stored, "the trimmed pieces differ from the trimmed output");
  require(trim_right(kvs::rewrite_project_text(stored, values)) == stored,
          "a second switch of the stored text changes it");
  return 0;
}
