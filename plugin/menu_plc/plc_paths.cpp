#include "menu_plc/plc_paths.h"

#include <cwctype>

namespace kvs {

const wchar_t kPlcWorkingName[] = L"ace_plc.mdb";
const wchar_t kPlcBackupName[] = L"ace_plc_old.mdb";

namespace {

const wchar_t* const kLanguages[] = {L"ru-RU", L"en-EN", L"en-US"};

struct Culture {
  unsigned long lcid;
  const wchar_t* name;
};

// The languages AutoCAD builds are made in; the culture names those LCIDs have in Windows.
const Culture kCultures[] = {
    {0x409, L"en-US"}, {0x419, L"ru-RU"}, {0x407, L"de-DE"}, {0x40C, L"fr-FR"}, {0x410, L"it-IT"},
    {0x40A, L"es-ES"}, {0xC0A, L"es-ES"}, {0x415, L"pl-PL"}, {0x405, L"cs-CZ"}, {0x40E, L"hu-HU"},
    {0x416, L"pt-BR"}, {0x411, L"ja-JP"}, {0x412, L"ko-KR"}, {0x804, L"zh-CN"}, {0x404, L"zh-TW"},
};

}  // namespace

PlcPaths plc_paths(const std::wstring& docs, const std::wstring& language) {
  const std::wstring folder = docs + L"AeData\\" + (language.empty() ? std::wstring() : language + L"\\") + L"Plc\\";
  const PlcPaths paths = {folder + kPlcWorkingName, folder + kPlcBackupName};
  return paths;
}

std::wstring plc_backup_beside(const std::wstring& working) {
  const std::size_t name = working.find_last_of(L"\\/") + 1;
  if (working.compare(name, std::wstring::npos, kPlcWorkingName) != 0) return std::wstring();
  return working.substr(0, name) + kPlcBackupName;
}

bool plc_in_language_folder(const std::wstring& version) {
  if (version.size() != 4) return false;
  for (wchar_t c : version)
    if (c < L'0' || c > L'9') return false;
  return std::stoi(version) >= 2014;
}

std::wstring product_language(const std::wstring& product_key) {
  const std::size_t colon = product_key.find_last_of(L':');
  if (colon == std::wstring::npos) return std::wstring();
  const std::wstring code = product_key.substr(colon + 1);
  if (code.empty() || code.size() > 4) return std::wstring();
  unsigned long lcid = 0;
  for (wchar_t c : code) {
    if (!std::iswxdigit(c)) return std::wstring();
    lcid = lcid * 16 + static_cast<unsigned long>(std::iswdigit(c) ? c - L'0' : std::towupper(c) - L'A' + 10);
  }
  for (const Culture& culture : kCultures)
    if (culture.lcid == lcid) return culture.name;
  return std::wstring();
}

std::vector<std::wstring> plc_languages(const std::wstring& first) {
  std::vector<std::wstring> languages;
  if (!first.empty()) languages.push_back(first);
  for (const wchar_t* language : kLanguages)
    if (first != language) languages.push_back(language);
  return languages;
}

std::wstring find_plc_language(const std::wstring& docs, const std::wstring& first,
                               const std::function<bool(const PlcPaths&)>& holds) {
  const std::vector<std::wstring> languages = plc_languages(first);
  for (std::size_t i = 0; i < languages.size(); ++i)
    if (holds(plc_paths(docs, languages[i]))) return languages[i];
  return std::wstring();
}

std::vector<std::wstring> plc_backup_places(const std::wstring& docs, const std::wstring& first) {
  std::vector<std::wstring> places(1, plc_paths(docs).backup);
  const std::vector<std::wstring> languages = plc_languages(first);
  for (std::size_t i = 0; i < languages.size(); ++i) places.push_back(plc_paths(docs, languages[i]).backup);
  return places;
}

}  // namespace kvs
