#include "commands/status_text.h"

#include <algorithm>
#include <vector>

#include "commands/project_list_text.h"
#include "common/text_util.h"
#include "common/texts.h"

namespace kvs {

namespace {

// "setting 2", "settings 1 and 20", "settings 1, 2 and 3".
std::wstring settings_text(const std::vector<int>& numbers) {
  std::wstring list;
  for (std::size_t i = 0; i + 1 < numbers.size(); ++i) list += (i > 0 ? L", " : L"") + std::to_wstring(numbers[i]);
  const std::wstring last = std::to_wstring(numbers.back());
  if (numbers.size() == 1) return text(kTextSettingOne, last);
  return text(kTextSettingsMany, text(kTextSettingsLast, list, last));
}

std::vector<int> settings_on(const LibrarySettings& settings, SettingLibrary library) {
  std::vector<int> numbers;
  for (std::size_t i = 0; i < kLibrarySettingCount; ++i)
    if (setting_library(kLibrarySettings[i], settings[i]) == library) numbers.push_back(kLibrarySettings[i]);
  return numbers;
}

// `folder` is the installation's folder `inside`, whatever its letter case, slashes, outer
// blanks or final separators.
bool same_folder(const std::wstring& folder, const wchar_t* inside) {
  std::wstring entry = folded_path(trim(folder));
  while (!entry.empty() && entry.back() == L'\\') entry.pop_back();
  return entry == folded_path(std::wstring(install::kRoot) + inside);
}

}  // namespace

std::wstring library_summary(const LibrarySettings& settings) {
  std::wstring out;
  switch (project_library(settings)) {
    case ProjectLibrary::Gost: out = text(kTextLibraryGost); break;
    case ProjectLibrary::Stock: out = text(kTextLibraryStock); break;
    case ProjectLibrary::Mixed:
      out = text(kTextLibraryMixed, settings_text(settings_on(settings, SettingLibrary::Gost)),
                 settings_text(settings_on(settings, SettingLibrary::Stock)));
      break;
  }
  const std::vector<int> unset = settings_on(settings, SettingLibrary::Unset);
  if (!unset.empty()) out = text(kTextLibraryUnset, out, settings_text(unset));
  return out;
}

bool support_path_has_addon(const std::wstring& support) {
  const std::vector<ListSpan> entries = list_spans(support);
  for (std::size_t i = 0; i < entries.size(); ++i)
    if (same_folder(support.substr(entries[i].begin, entries[i].end - entries[i].begin), L"Support")) return true;
  return false;
}

std::wstring support_path_without_addon(const std::wstring& support) {
  std::wstring kept;
  const std::vector<ListSpan> entries = list_spans(support);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const ListSpan& e = entries[i];
    if (!same_folder(support.substr(e.begin, e.end - e.begin), L"Support")) {
      kept.append(support, e.begin, e.end - e.begin);
      if (e.end < support.size()) kept += L';';
    } else if (e.end == support.size() && !kept.empty() && kept[kept.size() - 1] == L';') {
      kept.erase(kept.size() - 1);  // the last entry had no ";" of its own
    }
  }
  return kept;
}

bool is_addon_template_folder(const std::wstring& folder) { return same_folder(folder, L"Data\\Template"); }

}  // namespace kvs
