#include "commands/project_list_text.h"

#include <algorithm>
#include <unordered_map>

#include "common/text_util.h"

namespace kvs {

namespace {

typedef ListSpan Span;

// The entries that are not empty: runs of ";" are skipped.
std::vector<Span> entry_spans(const std::wstring& list) {
  std::vector<Span> spans = list_spans(list);
  spans.erase(std::remove_if(spans.begin(), spans.end(), [](const Span& s) { return s.begin == s.end; }), spans.end());
  return spans;
}

std::wstring entry_at(const std::wstring& list, const Span& s) { return list.substr(s.begin, s.end - s.begin); }

}  // namespace

std::vector<std::wstring> list_entries(const std::wstring& list) {
  std::vector<std::wstring> out;
  const std::vector<Span> spans = entry_spans(list);
  for (std::size_t i = 0; i < spans.size(); ++i) out.push_back(entry_at(list, spans[i]));
  return out;
}

std::unordered_set<std::wstring> list_keys(const std::wstring& list, const ProjectKey& key) {
  std::unordered_set<std::wstring> keys;
  const std::vector<Span> spans = entry_spans(list);
  for (std::size_t i = 0; i < spans.size(); ++i) keys.insert(key(entry_at(list, spans[i])));
  return keys;
}

bool list_has_entry(const std::wstring& list, const std::wstring& path, const ProjectKey& key) {
  return list_keys(list, key).count(key(path)) != 0;
}

std::wstring remove_list_entry(const std::wstring& list, const std::wstring& path, const ProjectKey& key) {
  const std::wstring gone = key(path);
  std::wstring out;
  out.reserve(list.size());
  std::size_t kept = 0;  // list[kept, ...) not yet copied
  const std::vector<Span> spans = entry_spans(list);
  for (std::size_t i = 0; i < spans.size(); ++i) {
    const Span& s = spans[i];
    if (key(entry_at(list, s)) != gone) continue;
    out.append(list, kept, s.begin - kept);
    kept = s.end < list.size() ? s.end + 1 : s.end;
  }
  out.append(list, kept, std::wstring::npos);
  return out;
}

std::wstring remove_list_spellings(const std::wstring& list, const std::vector<std::wstring>& spellings) {
  std::wstring out;
  out.reserve(list.size());
  std::size_t kept = 0;
  const std::vector<Span> spans = entry_spans(list);
  for (std::size_t i = 0; i < spans.size(); ++i) {
    const Span& s = spans[i];
    bool spelled = false;
    for (std::size_t j = 0; j < spellings.size() && !spelled; ++j)
      spelled = list.compare(s.begin, s.end - s.begin, spellings[j]) == 0;
    if (!spelled) continue;
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

void run_startup_pass(const std::wstring& list, const SwitchEntry& switch_entry, const DropEntry& drop,
                      const ProjectKey& key) {
  // The entries that share a key are known up front, so a project is visited once.
  const std::vector<std::wstring> entries = list_entries(list);
  std::vector<std::wstring> keys;
  keys.reserve(entries.size());
  std::unordered_map<std::wstring, std::vector<std::size_t> > same;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    keys.push_back(key(entries[i]));
    same[keys.back()].push_back(i);
  }
  std::vector<bool> done(entries.size(), false);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (done[i]) continue;
    const std::vector<std::size_t>& twins = same[keys[i]];
    for (std::size_t j = 0; j < twins.size(); ++j) done[twins[j]] = true;
    const SwitchResult outcome = switch_entry(entries[i]);
    if (outcome == SwitchResult::Aborted) return;
    if (outcome != SwitchResult::FileGone) continue;
    // By their spellings: a drop then costs no key for each entry of a long list.
    std::vector<std::wstring> spellings;
    for (std::size_t j = 0; j < twins.size(); ++j)
      if (std::find(spellings.begin(), spellings.end(), entries[twins[j]]) == spellings.end())
        spellings.push_back(entries[twins[j]]);
    drop(spellings);
  }
}

void run_quit_pass(const std::wstring& list, const SwitchEntry& switch_entry) {
  const std::vector<std::wstring> entries = list_entries(list);
  for (std::size_t i = 0; i < entries.size(); ++i)
    if (switch_entry(entries[i]) == SwitchResult::Aborted) return;
}

}  // namespace kvs
