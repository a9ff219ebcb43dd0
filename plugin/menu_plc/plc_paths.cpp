#include "menu_plc/plc_paths.h"

#include "common/text_util.h"

namespace kvs {

namespace {

const wchar_t* const kLanguages[] = {L"ru-RU", L"en-EN", L"en-US"};

}  // namespace

PlcPaths plc_paths(const std::wstring& docs) {
  const PlcPaths paths = {docs + L"AeData\\Plc\\ace_plc.mdb", docs + L"AeData\\Plc\\ace_plc_old.mdb"};
  return paths;
}

bool plc_in_language_folder(const std::wstring& version) {
  if (version.size() != 4) return false;
  for (wchar_t c : version)
    if (c < L'0' || c > L'9') return false;
  return std::stoi(version) >= 2014;
}

std::wstring in_language_folder(const std::wstring& path, const std::wstring& language) {
  return replace_all(path, L"Plc", language + L"\\Plc");
}

std::wstring find_plc_language(const std::wstring& working, const std::function<bool(const std::wstring&)>& exists) {
  for (const wchar_t* language : kLanguages)
    if (exists(in_language_folder(working, language))) return language;
  return std::wstring();
}

std::vector<std::wstring> plc_backup_places(const std::wstring& docs) {
  const std::wstring backup = plc_paths(docs).backup;
  std::vector<std::wstring> places(1, backup);
  for (const wchar_t* language : kLanguages) places.push_back(in_language_folder(backup, language));
  return places;
}

}  // namespace kvs
