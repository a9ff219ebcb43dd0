// What kvs_status tells about a project's library and AutoCAD's support path. Platform-free.
#pragma once

#include <string>

#include "switching/project_text.h"

namespace kvs {

// "GOST", "stock ACADE" or "mixed: settings 1 and 20 on GOST, settings 2 and 3 on stock ACADE",
// followed by "; setting 3 not set" for the settings the project lacks.
std::wstring library_summary(const LibrarySettings& settings);

// True when one of the support path's folders is the add-on's support folder (letter case,
// slashes, outer blanks and closing separators aside). The switch asks it as kvs_status does.
bool support_path_has_addon(const std::wstring& support);

// The support path without the add-on's support folder: each entry support_path_has_addon
// finds goes with its ";"; everything else stays exactly as written.
std::wstring support_path_without_addon(const std::wstring& support);

// True when the template folder is the add-on's, as a switch to GOST sets it.
bool is_addon_template_folder(const std::wstring& folder);

}  // namespace kvs
