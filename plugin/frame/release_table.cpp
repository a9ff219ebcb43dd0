#include "frame/release_table.h"

#include "common/text_util.h"

namespace kvs {

namespace {
// There is no row for H: that release is not supported.
const ReleaseRow kRows[] = {
    {L"D.", L"2010", L"R18.0\\ACAD-8007:409", L"R18.0\\ACAD-8007:419"},
    {L"E.", L"2011", L"R18.1\\ACAD-9007:409", L"R18.1\\ACAD-9007:419"},
    {L"F.", L"2012", L"R18.2\\ACAD-A007:409", L"R18.2\\ACAD-A007:419"},
    {L"G.", L"2013", L"R19.0\\ACAD-B007:409", L"R19.0\\ACAD-B007:419"},
    {L"I.", L"2014", L"R19.1\\ACAD-D007:409", L"R19.1\\ACAD-D007:419"},
    {L"J.", L"2015", L"R20.0\\ACAD-E007:409", L"R20.0\\ACAD-E007:419"},
};
struct ReleaseKey {
  const wchar_t* key;
  const wchar_t* version;
};
// The releases since 2015, which _VERNUM is not read for: each is known by its release key.
const ReleaseKey kReleaseKeys[] = {
    {L"R20.1", L"2016"}, {L"R21.0", L"2017"}, {L"R22.0", L"2018"}, {L"R23.0", L"2019"},
    {L"R23.1", L"2020"}, {L"R24.0", L"2021"}, {L"R24.1", L"2022"}, {L"R24.2", L"2023"},
    {L"R24.3", L"2024"}, {L"R25.0", L"2025"}, {L"R25.1", L"2026"}, {L"R26.0", L"2027"},
};

// The last part of a registry path, which `path` then loses with its separator.
std::wstring lastPart(std::wstring& path) {
  const std::size_t slash = path.find_last_of(L'\\');
  const std::wstring part = slash == std::wstring::npos ? path : path.substr(slash + 1);
  path = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
  return part;
}

}  // namespace

bool release_from_product_key(const std::wstring& root, ProductRelease& found) {
  std::wstring rest = root;
  while (!rest.empty() && rest.back() == L'\\') rest.pop_back();
  std::wstring product = lastPart(rest);
  const std::wstring release = lastPart(rest);
  product = product.substr(0, product.find(L':'));  // without the language
  const std::size_t dash = product.find(L'-');
  if (dash == std::wstring::npos || product.size() < dash + 3 || product.compare(product.size() - 2, 2, L"07") != 0)
    return false;
  for (const auto& row : kReleaseKeys) {
    if (release != row.key) continue;
    const std::wstring subkey = release + L"\\" + product;
    found.version = row.version;
    found.english = subkey + L":409";
    found.russian = subkey + L":419";
    return true;
  }
  return false;
}

bool acade_release_of_product_key(const std::wstring& root, std::wstring& year) {
  ProductRelease later;
  if (release_from_product_key(root, later)) {
    year = later.version;
    return true;
  }
  // The releases _VERNUM names are known by their rows' sub-keys, letter case aside.
  std::wstring key = to_lower(root);
  while (!key.empty() && key[key.size() - 1] == L'\\') key.erase(key.size() - 1);
  for (const auto& row : kRows) {
    const std::wstring subkeys[] = {to_lower(row.english), to_lower(row.russian)};
    for (const std::wstring& subkey : subkeys) {
      if (key.size() >= subkey.size() && key.compare(key.size() - subkey.size(), subkey.size(), subkey) == 0 &&
          (key.size() == subkey.size() || key[key.size() - subkey.size() - 1] == L'\\')) {
        year = row.version;
        return true;
      }
    }
  }
  return false;
}

bool is_known_release(const std::wstring& year) {
  for (const auto& row : kRows)
    if (year == row.version) return true;
  for (const auto& row : kReleaseKeys)
    if (year == row.version) return true;
  return false;
}

const ReleaseRow* find_release(const std::wstring& vernum) {
  const ReleaseRow* found = nullptr;
  for (const auto& row : kRows)
    if (vernum.find(row.key) != std::wstring::npos) found = &row;
  return found;
}

}  // namespace kvs
