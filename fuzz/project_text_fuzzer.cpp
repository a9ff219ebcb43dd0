// Fuzz target for the project text rewrite. Bytes become a wide text; the rewrite must
// keep every record it does not own, keep the tail at the end, write nothing else, and
// give the same text when run again on its own output.
#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <map>
#include <string>
#include <vector>

#include "common/text_util.h"
#include "switching/project_text.h"

namespace {

constexpr auto npos = std::wstring::npos;

// ASCII stands for itself so that seed files stay readable; most other bytes are drawn
// towards the characters the format cares about; 0xFF takes the next two bytes as one
// 16-bit code unit.
std::wstring decode(const std::uint8_t* data, std::size_t size) {
  static constexpr wchar_t kBiased[] = L"+[]?0123456789 \r\n\t-";
  static constexpr wchar_t kWide[] = {0x00A0, 0x0085, 0x2028, 0x3000, 0x0410, 0x0663, 0xFEFF, 0xFF0B, 0xD800, 0xFFFF};
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

struct Reference {
  std::map<int, std::wstring> lines;  // number -> trimmed value expected in the output
  std::wstring suffix;                // stray text and tail, expected to end the output
  bool stable = true;                 // a second rewrite must reproduce the first
};

// Reads the text the way the rewrite is documented to, written independently of it.
Reference read_reference(const std::wstring& text, const kvs::RecordValues& values) {
  std::wstring region, tail;
  const std::size_t question = text.find(L'?');
  if (question == npos) {
    region = text;
  } else if (question > 0) {
    region = text.substr(0, question);
    tail = text.substr(question);
  } else if (const std::size_t plus = text.find(L'+'); plus == npos) {
    tail = text;
  } else {
    tail = text.substr(0, plus);
    region = text.substr(plus);
  }

  // A "+" opens a record only with a "]" somewhere after it in the region.
  std::vector<std::size_t> opens;
  bool close_after = false;
  for (std::size_t i = region.size(); i-- > 0;) {
    if (region[i] == L']') close_after = true;
    if (region[i] == L'+' && close_after) opens.push_back(i);
  }
  std::reverse(opens.begin(), opens.end());

  Reference ref;
  const std::size_t first_plus = region.find(L'+');
  const bool stray_first = first_plus != npos && (opens.empty() || opens.front() != first_plus);
  ref.suffix = (stray_first ? region.substr(first_plus) : std::wstring()) + tail;
  // Stray text moves in front of record 20 and, after a leading tail, a "?" in the
  // records starts the tail: the second reading differs in both cases.
  ref.stable = !stray_first && region.find(L'?') == npos;

  std::map<int, std::wstring> read;
  for (std::size_t i = 0; i < opens.size();) {
    const std::size_t open = opens[i];
    const std::size_t close = region.find(L']', open);
    std::size_t next = i + 1;
    while (next < opens.size() && opens[next] < close) ++next;
    const std::size_t end = next < opens.size() ? opens[next] : region.size();
    const std::size_t digits = open + 2 <= close ? open + 2 : close;
    const std::wstring value = region.substr(close + 1, end - close - 1);
    read.emplace(reference_number(region.substr(digits, close - digits)), value);
    // A stray "+" joined to a value opens a record on the second reading.
    if (value.find(L'+') != npos) ref.stable = false;
    i = next;
  }

  for (const auto& [number, value] : read) {
    if (number == 1) ref.lines[1] = kvs::trim(values.record1);
    else if (number == 2) ref.lines[2] = kvs::trim(values.record2);
    else if (number == 3) ref.lines[3] = kvs::trim(values.record3);
    else if (number != 20) ref.lines[number] = kvs::trim(value);
  }
  ref.lines[20] = kvs::trim(values.record20);
  return ref;
}

void require(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "project text property violated: %s\n", what);
  std::abort();
}

void check_output(const Reference& ref, const std::wstring& out) {
  std::size_t from = 0, size = ref.suffix.size();
  for (const auto& [number, value] : ref.lines) {
    const std::wstring line = L"+[" + std::to_wstring(number) + L"]" + value + L"\r\n";
    const std::size_t at = out.find(line, from);
    require(at != npos, "a record is lost, changed or out of order");
    from = at + line.size();
    size += line.size();
  }
  require(out.size() >= ref.suffix.size() && out.compare(out.size() - ref.suffix.size(), npos, ref.suffix) == 0,
          "the tail is not kept at the end");
  require(out.size() == size, "the output holds more than the records and the tail");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const kvs::RecordValues kGost =
      kvs::gost_values({L"GOST_A", L"Rele"}, {L"Shkaf"}, L"C:\\Users\\Public\\Documents", L"2015");
  static const kvs::RecordValues kStock = kvs::stock_values(L"", L"2015");
  const kvs::RecordValues& values = (size > 0 && (data[0] & 1)) ? kStock : kGost;

  const std::wstring text = decode(data, size);
  const std::wstring out = kvs::rewrite_project_text(text, values);
  const Reference ref = read_reference(text, values);
  check_output(ref, out);
  if (ref.stable) require(kvs::rewrite_project_text(out, values) == out, "a second rewrite changes the text");
  return 0;
}
