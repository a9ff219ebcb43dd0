#include "commands/project_list_text.h"

#include <unordered_map>

namespace kvs {

namespace {

// Half-open range [begin, end) of an entry in the list text.
struct Span {
  std::size_t begin, end;
};

std::vector<Span> entry_spans(const std::wstring& list) {
  std::vector<Span> spans;
  std::size_t i = 0;
  while (i < list.size()) {
    if (list[i] == L';') {
      ++i;
      continue;
    }
    std::size_t end = list.find(L';', i);
    if (end == std::wstring::npos) end = list.size();
    spans.push_back({i, end});
    i = end;
  }
  return spans;
}

std::wstring folded(std::wstring_view path) {
  std::wstring out(path);
  for (wchar_t& c : out) c = fold_path_unit(c);
  return out;
}

}  // namespace

std::vector<std::wstring> list_entries(const std::wstring& list) {
  std::vector<std::wstring> out;
  for (const Span& s : entry_spans(list)) out.push_back(list.substr(s.begin, s.end - s.begin));
  return out;
}

wchar_t fold_path_unit(wchar_t c) {
  const unsigned u = c;
  auto odd = [u] { return (u & 1u) != 0; };
  if (u < 0x80) return (u >= 'a' && u <= 'z') ? static_cast<wchar_t>(u - 0x20) : c;
  if (u < 0x100) {
    if (u == 0xFF) return L'\x0178';
    if (u >= 0xE0 && u != 0xF7 && u <= 0xFE) return static_cast<wchar_t>(u - 0x20);
    return c;
  }
  if (u < 0x180) {  // Latin Extended-A: capital and small letters in pairs
    // Dotless i, long s and the like have no one-to-one capital in an ordinal comparison.
    if (u == 0x130 || u == 0x131 || u == 0x138 || u == 0x149 || u == 0x17F) return c;
    if (u == 0x178) return c;
    bool capitalEven = u < 0x138 || (u >= 0x14A && u < 0x178);
    return odd() == capitalEven ? static_cast<wchar_t>(u - 1) : c;
  }
  if (u >= 0x370 && u < 0x3D0) {  // Greek; final sigma stays apart from sigma
    if (u == 0x371 || u == 0x373 || u == 0x377) return static_cast<wchar_t>(u - 1);
    if (u == 0x3AC) return L'\x0386';
    if (u >= 0x3AD && u <= 0x3AF) return static_cast<wchar_t>(u - 0x25);
    if (u == 0x3C2) return c;
    if (u >= 0x3B1 && u <= 0x3CB) return static_cast<wchar_t>(u - 0x20);
    if (u == 0x3CC) return L'\x038C';
    if (u == 0x3CD || u == 0x3CE) return static_cast<wchar_t>(u - 0x3F);
    return c;
  }
  if (u >= 0x400 && u < 0x530) {  // Cyrillic and its supplement
    if (u >= 0x430 && u < 0x450) return static_cast<wchar_t>(u - 0x20);
    if (u >= 0x450 && u < 0x460) return static_cast<wchar_t>(u - 0x50);
    if (u == 0x4CF) return L'\x04C0';
    if (u >= 0x4C1 && u <= 0x4CE) return odd() ? c : static_cast<wchar_t>(u - 1);
    if ((u >= 0x460 && u < 0x482) || u >= 0x48A) return odd() ? static_cast<wchar_t>(u - 1) : c;
    return c;
  }
  if (u >= 0x561 && u <= 0x586) return static_cast<wchar_t>(u - 0x30);  // Armenian
  if (u >= 0xFF41 && u <= 0xFF5A) return static_cast<wchar_t>(u - 0x20);  // full-width Latin
  return c;
}

bool same_path(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i] && fold_path_unit(a[i]) != fold_path_unit(b[i])) return false;
  return true;
}

bool list_has_entry(const std::wstring& list, std::wstring_view path) {
  for (const Span& s : entry_spans(list))
    if (same_path(std::wstring_view(list).substr(s.begin, s.end - s.begin), path)) return true;
  return false;
}

std::wstring remove_list_entry(const std::wstring& list, std::wstring_view path) {
  std::wstring out;
  out.reserve(list.size());
  std::size_t kept = 0;  // list[kept, ...) not yet copied
  for (const Span& s : entry_spans(list)) {
    if (!same_path(std::wstring_view(list).substr(s.begin, s.end - s.begin), path)) continue;
    out.append(list, kept, s.begin - kept);
    kept = s.end < list.size() ? s.end + 1 : s.end;
  }
  out.append(list, kept, std::wstring::npos);
  return out;
}

std::wstring append_list_entry(std::wstring list, std::wstring_view path) {
  if (!list.empty() && list.back() != L';') list += L';';
  list.append(path);
  list += L';';
  return list;
}

namespace {

// The list text without the dropped entries, each with the ";" that ends it, as
// remove_list_entry leaves it.
std::wstring without(const std::wstring& list, const std::vector<Span>& spans, const std::vector<bool>& dropped) {
  std::wstring out;
  out.reserve(list.size());
  std::size_t kept = 0;
  for (std::size_t i = 0; i < spans.size(); ++i) {
    if (!dropped[i]) continue;
    out.append(list, kept, spans[i].begin - kept);
    kept = spans[i].end < list.size() ? spans[i].end + 1 : spans[i].end;
  }
  out.append(list, kept, std::wstring::npos);
  return out;
}

}  // namespace

void run_startup_pass(const std::wstring& list, const SwitchEntry& switch_entry, const StoreList& store) {
  // Each entry's folded path is made once, and the entries that share it are known up front,
  // so a drop costs no more than the store it needs.
  const std::vector<Span> spans = entry_spans(list);
  std::vector<std::wstring> keys;
  keys.reserve(spans.size());
  std::unordered_map<std::wstring, std::vector<std::size_t>> same;
  for (std::size_t i = 0; i < spans.size(); ++i) {
    keys.push_back(folded(std::wstring_view(list).substr(spans[i].begin, spans[i].end - spans[i].begin)));
    same[keys.back()].push_back(i);
  }
  std::vector<bool> dropped(spans.size(), false);
  for (std::size_t i = 0; i < spans.size(); ++i) {
    if (dropped[i]) continue;
    const SwitchOutcome outcome = switch_entry(list.substr(spans[i].begin, spans[i].end - spans[i].begin));
    if (outcome == SwitchOutcome::Aborted) return;
    if (outcome != SwitchOutcome::ProjectGone) continue;
    for (const std::size_t j : same[keys[i]]) dropped[j] = true;
    store(without(list, spans, dropped));
  }
}

void run_quit_pass(const std::wstring& list, const SwitchEntry& switch_entry) {
  for (const std::wstring& entry : list_entries(list))
    if (switch_entry(entry) == SwitchOutcome::Aborted) return;
}

}  // namespace kvs
