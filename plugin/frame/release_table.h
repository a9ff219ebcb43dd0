// Which ACADE release a _VERNUM text names. Platform-free.
#pragma once

#include <string>

namespace kvs {

struct ReleaseRow {
  const wchar_t* key;  // a capital letter and a full stop, searched anywhere in _VERNUM
  const wchar_t* version;
  const wchar_t* english;  // AutoCAD's product sub-key of the English build
  const wchar_t* russian;  // ... and of the Russian build
};

// Every row is tested in order and each match overwrites the previous one, so with several
// keys the last matching row wins. Null when no row matches.
const ReleaseRow* find_release(const std::wstring& vernum);

struct ProductRelease {
  std::wstring version;  // "2016" to "2027"
  std::wstring english;  // the key's release and product with ":409", e.g. "R24.3\ACAD-7107:409"
  std::wstring russian;  // ... with ":419"
};

// The release of a product whose per-user registry root AutoCAD gives, e.g.
// "Software\Autodesk\AutoCAD\R24.3\ACAD-7107:409": only an ACADE build (its product code ends
// in "07") of a release from 2016 to 2027, whose year its release key names. False otherwise.
bool release_from_product_key(const std::wstring& root, ProductRelease& release);

// The ACADE release year of a product whose registry key AutoCAD keeps ("R20.0\ACAD-E007:419",
// with or without the path before it), from 2010 on; false for any other product.
bool acade_release_of_product_key(const std::wstring& root, std::wstring& year);

// Whether `year` names an ACADE release the add-on knows ("2010" to "2027").
bool is_known_release(const std::wstring& year);

}  // namespace kvs
