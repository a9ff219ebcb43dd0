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
  std::wstring own;
  std::vector<RefLine> following;
  std::wstring line_break;
};

bool as_record(const RefLine& line, RefRecord& record) {
  if (line.content.compare(0, 2, L"+[") != 0) return false;
  const std::size_t close = line.content.find(L']');
  if (close == npos) return false;
  record = {reference_number(line.content.substr(2, close - 2)), line.content.substr(close + 1), {}, {}};
  return true;
}

// The expected output, read line by line the way the rewrite is documented to work.
std::wstring expected_output(const std::wstring& text, const kvs::RecordValues& values) {
  const std::vector<RefLine> lines = split_lines(text);
  const std::wstring eol = lines.empty() || lines[0].line_break.empty() ? L"\r\n" : lines[0].line_break;
  std::size_t i = 0;
  std::vector<RefLine> before;
  RefRecord record;
  for (; i < lines.size() && !as_record(lines[i], record); ++i) before.push_back(lines[i]);
  const bool leading_tail = !text.empty() && text[0] == L'?';

  std::vector<RefRecord> records;
  std::vector<RefLine> tail;
  bool in_tail = false;
  for (; i < lines.size(); ++i) {
    const RefLine& line = lines[i];
    if (as_record(line, record)) {
      record.line_break = line.line_break;
      records.push_back(record);
    } else if (in_tail || (!line.content.empty() && line.content[0] == L'?')) {
      in_tail = true;
      tail.push_back(line);
    } else {
      records.back().following.push_back(line);
    }
  }
  if (!in_tail && !records.empty()) tail = std::exchange(records.back().following, std::vector<RefLine>());

  std::map<int, RefRecord> table;
  for (const RefRecord& r : records) table.emplace(r.number, r);
  table.emplace(20, RefRecord{20, {}, {}, eol});
  const std::map<int, std::wstring> replaced = {
      {1, values.record1}, {2, values.record2}, {3, values.record3}, {20, values.record20}};
  std::vector<RefLine> out = leading_tail ? std::vector<RefLine>() : before;
  for (auto& [number, r] : table) {
    // Settings 1 and 3 keep the project's own entries; their own properties are fuzzed below.
    if (number == 1 || number == 3) r.own = kvs::merge_library_list(kvs::trim(r.own), replaced.at(number), values.docs);
    else if (number == 2 && values.gives_menu_back)
      r.own = kvs::menu_after_switch_back(kvs::SettingValue(kvs::trim(r.own)), values.remembered_menu);
    else if (replaced.count(number)) r.own = kvs::trim(replaced.at(number));
    out.push_back(RefLine{L"+[" + std::to_wstring(number) + L"]" + kvs::trim(r.own), r.line_break});
    std::wstring following;
    for (const RefLine& line : r.following) following += line.content + line.line_break;
    if (!kvs::trim(following).empty()) out.insert(out.end(), r.following.begin(), r.following.end());
  }
  if (leading_tail) out.insert(out.end(), before.begin(), before.end());
  out.insert(out.end(), tail.begin(), tail.end());
  // A line that had no end and is no longer the last ends as the text's first line does; the
  // last line keeps the text's lack of an end.
  std::wstring joined;
  for (std::size_t n = 0; n < out.size(); ++n) {
    const bool last = n + 1 == out.size();
    std::wstring end = out[n].line_break.empty() && !last ? eol : out[n].line_break;
    if (last && !text.empty() && lines.back().line_break.empty()) end.clear();
    joined += out[n].content + end;
  }
  return joined;
}

// The entries of a folder list that are the project's own, in order.
std::vector<std::wstring> own_entries(const std::wstring& value, const std::wstring& list, const std::wstring& docs) {
  std::vector<std::wstring> own;
  for (std::size_t begin = 0; begin < value.size();) {
    const std::size_t semicolon = value.find(L';', begin);
    const std::size_t end = semicolon == npos ? value.size() : semicolon + 1;
    if (!kvs::is_library_entry(value.substr(begin, end - begin), list, docs))
      own.push_back(value.substr(begin, end - begin));
    begin = end;
  }
  return own;
}

// Draws from the fuzzer's bytes, and zeros once they run out.
class Draw {
 public:
  Draw(const std::uint8_t* data, std::size_t size) : data_(data), size_(size), at_(0) {}
  unsigned next(unsigned bound) { return at_ < size_ ? data_[at_++] % bound : 0; }
  template <std::size_t N>
  const wchar_t* pick(const wchar_t* const (&choices)[N]) { return choices[next(N)]; }

 private:
  const std::uint8_t* data_;
  std::size_t size_, at_;
};

// A project as ACADE and an office leave it: description lines, settings in order (library
// lists of stock, own and add-on entries in any spelling, a menu, setting 20 or none, blanks
// around the switched values), properties and a drawing list, with "+" and "?" inside free
// text, one kind of line end and a last line with or without it.
std::wstring generated_project(Draw& draw) {
  static const wchar_t* const kEnds[] = {L"\r\n", L"\n", L"\r"};
  static const wchar_t* const kFree[] = {L"АО \"Водоканал\"", L"Щит ЩУ-2 (+24В)", L"Реконструкция? см. ТЗ", L"+[4]x", L"a?b+c"};
  static const wchar_t* const kSymbols[] = {
      L"%SL_DIR%iec2/", L"%SL_DIR%iec2/1-/", L"%sl_dir%PID/", L"%SL_DIR%Наш_офис/УГО/",
      L"C:\\Users\\Public\\Documents\\Autodesk\\Acade 2015\\Libs\\iec2\\",
      L"C:\\Users\\Public\\Documents\\Autodesk\\Acade 2016\\Libs\\Наш_офис\\УГО\\",
      L"c:/users/public/documents/autodesk/acade 2015/libs/hyd_iso125", L"\\\\srv\\ACADE\\Символы_офиса\\",
      L"C:\\Program Files\\Korvanta\\Data\\UGO\\Old\\", L"D:\\УГО", L""};
  static const wchar_t* const kPanels[] = {L"%SL_DIR%panel/", L"%SL_DIR%panel/Шкафы_офиса/",
                                           L"C:\\Users\\Public\\Documents\\Autodesk\\Acade 2015\\Libs\\panel\\",
                                           L"\\\\srv\\ACADE\\Панели_офиса\\", L"C:\\Program Files\\Korvanta\\Data\\Montajnie_sxemi\\Shkaf\\"};
  static const wchar_t* const kMenus[] = {L"ACE_IEC_MENU.DAT", L"OFFICE_ICON_MENU.DAT", L"\\\\srv\\ACADE\\Меню.dat",
                                          L"C:\\Program Files\\Korvanta\\Data\\ACE_GOST_MENU.dat", L""};
  static const wchar_t* const kEnv[] = {L"", L"wd.env", L"kvdata.env", L"office.env"};
  static const wchar_t* const kBlanks[] = {L"", L"", L" ", L"\t "};
  const std::wstring end = draw.pick(kEnds);
  const auto list = [&](const wchar_t* const* pool, unsigned size) {
    std::wstring value;
    for (unsigned n = draw.next(5); n > 0; --n) value += std::wstring(pool[draw.next(size)]) + (draw.next(4) ? L";" : L"");
    return draw.pick(kBlanks) + value + draw.pick(kBlanks);
  };
  std::wstring text;
  for (unsigned n = 1 + draw.next(3); n > 0; --n) text += L"*[" + std::to_wstring(n) + L"]" + draw.pick(kFree) + end;
  if (draw.next(8)) text += L"+[1]" + list(kSymbols, 11) + end;
  if (draw.next(8)) text += L"+[2]" + std::wstring(draw.pick(kBlanks)) + draw.pick(kMenus) + end;
  if (draw.next(8)) text += L"+[3]" + list(kPanels, 5) + end;
  text += L"+[4]ACE_PANEL_MENU.DAT" + end + L"+[5]1" + end;
  if (draw.next(4)) text += L"+[20]" + std::wstring(draw.pick(kEnv)) + draw.pick(kBlanks) + end;
  if (draw.next(2)) text += L"+[26](0.00000 0.03125 0.00000 )" + end;
  if (draw.next(2)) text += L"?[0]H" + end + L"?[5]%S%N" + end;
  for (unsigned n = draw.next(4); n > 0; --n) text += (draw.next(2) ? L"===" : L"Лист0") + std::wstring(draw.pick(kFree)) + end;
  if (draw.next(2)) text.erase(text.size() - end.size());
  return text;
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
  require(own_entries(merged, values.record1, values.docs) == own_entries(text, values.record1, values.docs),
          "the merged list changes the own entries");
  require(kvs::merge_library_list(merged, values.record1, values.docs) == merged, "merging twice changes the list");

  // What a switch says the file will hold is what the rewritten text holds.
  kvs::ProjectRewrite rewrite;
  kvs::rewrite_project(text, values, rewrite);
  require(rewrite.text.joined(text) == out, "the pieces differ from the text");
  const kvs::LibrarySettings said = kvs::settings_after_switch(rewrite.read, values), held = kvs::library_settings(out);
  for (std::size_t i = 0; i < said.size(); ++i)
    require(said[i].present == held[i].present && said[i].value == held[i].value,
            "the settings said after a switch differ from those the text holds");

  // A project switched to GOST and back, with what the store remembers, is its own bytes again,
  // and each switch done a second time changes nothing.
  Draw draw(data, size);
  const std::wstring project = generated_project(draw);
  kvs::ProjectRewrite on;
  kvs::rewrite_project(project, kGost, on);
  const std::wstring gost = on.text.joined(project);
  // A project on GOST already is not switched, and nothing is remembered of it.
  const bool on_gost = kvs::project_library(on.read) == kvs::ProjectLibrary::Gost;
  const std::wstring stored =
      on_gost ? std::wstring() : kvs::replaced_settings_text(kvs::remembered_after_switch({}, on.replaced));
  kvs::RecordValues back = kvs::stock_values(L"C:\\Users\\Public\\Documents", L"2015");
  back.remembered = kvs::replaced_settings_of(stored);
  const std::wstring returned = kvs::rewrite_project_text(gost, back);
  require(on_gost || returned == project, "a switch to GOST and back changes the project");
  require(on_gost || kvs::project_library(kvs::library_settings(gost)) == kvs::ProjectLibrary::Gost,
          "a project switched to GOST is not on GOST");
  kvs::ProjectRewrite again;
  kvs::rewrite_project(gost, kGost, again);
  require(again.text.joined(gost) == gost, "a second switch to GOST changes the project");
  require(on_gost || kvs::replaced_settings_text(kvs::remembered_after_switch(back.remembered, again.replaced)) == stored,
          "a second switch to GOST changes what is remembered");
  // Without anything remembered, a switch back keeps every own entry of the folder lists.
  const kvs::RecordValues plain = kvs::stock_values(L"C:\\Users\\Public\\Documents", L"2015");
  const kvs::LibrarySettings after = kvs::library_settings(kvs::rewrite_project_text(gost, plain));
  const kvs::LibrarySettings original = kvs::library_settings(project);
  require(own_entries(after[0].value, plain.record1, plain.docs) == own_entries(original[0].value, plain.record1, plain.docs),
          "a switch back without memory loses an own entry");
  return 0;
}
