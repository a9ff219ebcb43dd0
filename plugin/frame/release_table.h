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

}  // namespace kvs
