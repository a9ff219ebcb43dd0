#include "switching/project_text.h"

#include <algorithm>
#include <climits>
#include <cwctype>

#include "common/text_util.h"

namespace kvs {

namespace {

constexpr auto npos = std::wstring_view::npos;
constexpr int kEnvRecord = 20;

struct Record {
  int number;
  std::wstring_view value;
};

struct Layout {
  std::wstring_view region;  // where records are read
  std::wstring_view tail;    // written last, unchanged
};

struct ParsedRecords {
  std::vector<Record> records;  // in text order; record 20 left out
  std::wstring_view carry;      // a stray "+" with nothing before it to belong to
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

Layout split_tail(std::wstring_view text) {
  const std::size_t question = text.find(L'?');
  if (question == npos) return {text, {}};
  if (question != 0) return {text.substr(0, question), text.substr(question)};
  const std::size_t plus = text.find(L'+');
  if (plus == npos) return {{}, text};
  return {text.substr(plus), text.substr(0, plus)};
}

std::wstring_view value_for(int number, std::wstring_view read, const RecordValues& values) {
  switch (number) {
    case 1: return values.record1;
    case 2: return values.record2;
    case 3: return values.record3;
    default: return read;
  }
}

ParsedRecords parse_records(std::wstring_view region, const RecordValues& values) {
  ParsedRecords parsed;
  // A "+" starts a record only when a "]" follows it inside the region; any "+" past
  // the last "]" is stray text.
  const std::size_t last_close = region.rfind(L']');
  const auto starts_record = [last_close](std::size_t plus) {
    return plus != npos && last_close != npos && plus < last_close;
  };

  std::size_t plus = region.find(L'+');
  if (plus != npos && !starts_record(plus)) parsed.carry = region.substr(plus);
  while (starts_record(plus)) {
    const std::size_t close = region.find(L']', plus);
    // The character after "+" is taken to be "[" unseen, as the format has always done.
    const std::size_t number_begin = std::min(plus + 2, close);
    const int number = parse_record_number(region.substr(number_begin, close - number_begin));
    const std::size_t next = region.find(L'+', close);
    const std::size_t value_end = starts_record(next) ? next : region.size();
    if (number != kEnvRecord) {
      const std::wstring_view read = region.substr(close + 1, value_end - close - 1);
      parsed.records.push_back({number, value_for(number, read, values)});
    }
    plus = next;
  }
  return parsed;
}

// Sorts by number, keeps the first record of each number and trims the kept values.
void settle_table(std::vector<Record>& records) {
  std::stable_sort(records.begin(), records.end(),
                   [](const Record& a, const Record& b) { return a.number < b.number; });
  const auto last = std::unique(records.begin(), records.end(),
                                [](const Record& a, const Record& b) { return a.number == b.number; });
  records.erase(last, records.end());
  for (Record& r : records) r.value = trim_view(r.value);
}

std::wstring write_text(const std::vector<Record>& records, std::wstring_view carry, std::wstring_view tail) {
  static constexpr std::wstring_view kOpen = L"+[", kClose = L"]", kEnd = L"\r\n";
  std::size_t size = carry.size() + tail.size();
  for (const Record& r : records) {
    size += kOpen.size() + DecimalText(r.number).view().size() + kClose.size() + r.value.size() + kEnd.size();
  }
  std::wstring out;
  out.reserve(size);
  for (const Record& r : records) {
    out.append(kOpen).append(DecimalText(r.number).view()).append(kClose).append(r.value).append(kEnd);
  }
  out.append(carry).append(tail);
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
  const Layout layout = split_tail(text);
  ParsedRecords parsed = parse_records(layout.region, values);
  parsed.records.push_back({kEnvRecord, values.record20});
  settle_table(parsed.records);
  return write_text(parsed.records, parsed.carry, layout.tail);
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
