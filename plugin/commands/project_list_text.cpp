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
    const SwitchResult outcome = switch_entry(list.substr(spans[i].begin, spans[i].end - spans[i].begin));
    if (outcome == SwitchResult::Aborted) return;
    if (outcome != SwitchResult::FileGone) continue;
    const std::vector<std::size_t>& twins = same[keys[i]];
    for (std::size_t j = 0; j < twins.size(); ++j) dropped[twins[j]] = true;
    store(without(list, spans, dropped));
  }
}

void run_quit_pass(const std::wstring& list, const SwitchEntry& switch_entry) {
  const std::vector<std::wstring> entries = list_entries(list);
  for (std::size_t i = 0; i < entries.size(); ++i)
    if (switch_entry(entries[i]) == SwitchResult::Aborted) return;
}

}  // namespace kvs
