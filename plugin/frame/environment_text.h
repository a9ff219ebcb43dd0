// The add-on's ACADE environment file (kvdata.env) as derived from ACADE's own (wd.env).
// Platform-free.
#pragma once

#include <string>

namespace kvs {

// The text of kvdata.env for the text of wd.env: every "%WD_DIR%/catalogs/" (exact case) names
// the add-on's data folder instead, nothing else changes. The text ends at its first NUL
// character, as a C string read from the file would.
std::wstring addon_environment_text(std::wstring wdEnv);

}  // namespace kvs
