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
    const Span span = {i, end};
    spans.push_back(span);
    i = end;
  }
  return spans;
}

std::wstring folded(const std::wstring& path) {
  std::wstring out(path);
  for (std::size_t i = 0; i < out.size(); ++i) out[i] = fold_path_unit(out[i]);
  return out;
}

// Whether the entry at `s` names `path`, without copying it.
bool entry_is(const std::wstring& list, const Span& s, const std::wstring& path) {
  if (s.end - s.begin != path.size()) return false;
  for (std::size_t i = 0; i < path.size(); ++i)
    if (list[s.begin + i] != path[i] && fold_path_unit(list[s.begin + i]) != fold_path_unit(path[i])) return false;
  return true;
}

}  // namespace

std::vector<std::wstring> list_entries(const std::wstring& list) {
  std::vector<std::wstring> out;
  const std::vector<Span> spans = entry_spans(list);
  for (std::size_t i = 0; i < spans.size(); ++i) out.push_back(list.substr(spans[i].begin, spans[i].end - spans[i].begin));
  return out;
}

wchar_t fold_path_unit(wchar_t c) {
  const unsigned u = c;
  const bool odd = (u & 1u) != 0;
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
    return odd == capitalEven ? static_cast<wchar_t>(u - 1) : c;
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
    if (u >= 0x4C1 && u <= 0x4CE) return odd ? c : static_cast<wchar_t>(u - 1);
    if ((u >= 0x460 && u < 0x482) || u >= 0x48A) return odd ? static_cast<wchar_t>(u - 1) : c;
    return c;
  }
  if (u >= 0x561 && u <= 0x586) return static_cast<wchar_t>(u - 0x30);  // Armenian
  if (u >= 0xFF41 && u <= 0xFF5A) return static_cast<wchar_t>(u - 0x20);  // full-width Latin
  return c;
}

bool same_path(const std::wstring& a, const std::wstring& b) {
  const Span whole = {0, a.size()};
  return entry_is(a, whole, b);
}

bool list_has_entry(const std::wstring& list, const std::wstring& path) {
  const std::vector<Span> spans = entry_spans(list);
  for (std::size_t i = 0; i < spans.size(); ++i)
    if (entry_is(list, spans[i], path)) return true;
  return false;
}

std::wstring remove_list_entry(const std::wstring& list, const std::wstring& path) {
  std::wstring out;
  out.reserve(list.size());
  std::size_t kept = 0;  // list[kept, ...) not yet copied
  const std::vector<Span> spans = entry_spans(list);
  for (std::size_t i = 0; i < spans.size(); ++i) {
    const Span& s = spans[i];
    if (!entry_is(list, s, path)) continue;
    out.append(list, kept, s.begin - kept);
    kept = s.end < list.size() ? s.end + 1 : s.end;
  }
  out.append(list, kept, std::wstring::npos);
  return out;
}

std::wstring append_list_entry(std::wstring list, const std::wstring& path) {
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
    keys.push_back(folded(list.substr(spans[i].begin, spans[i].end - spans[i].begin)));
    same[keys.back()].push_back(i);
  }
  std::vector<bool> dropped(spans.size(), false);
  for (std::size_t i = 0; i < spans.size(); ++i) {
    if (dropped[i]) continue;
    const SwitchOutcome outcome = switch_entry(list.substr(spans[i].begin, spans[i].end - spans[i].begin));
    if (outcome == SwitchOutcome::Aborted) return;
    if (outcome != SwitchOutcome::ProjectGone) continue;
    const std::vector<std::size_t>& twins = same[keys[i]];
    for (std::size_t j = 0; j < twins.size(); ++j) dropped[twins[j]] = true;
    store(without(list, spans, dropped));
  }
}

void run_quit_pass(const std::wstring& list, const SwitchEntry& switch_entry) {
  const std::vector<std::wstring> entries = list_entries(list);
  for (std::size_t i = 0; i < entries.size(); ++i)
    if (switch_entry(entries[i]) == SwitchOutcome::Aborted) return;
}

}  // namespace kvs
