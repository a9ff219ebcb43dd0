// What kvs_status tells about a project's library and AutoCAD's support path. Platform-free.
#pragma once

#include <string>

#include "switching/project_text.h"

namespace kvs {

enum class SettingLibrary { Gost, Stock, Unset };

// Settings 1, 2 and 3 are on GOST when they name something under the add-on's installation
// folder, setting 20 when it names kvdata.env; letter case and "/" for "\" do not matter.
SettingLibrary setting_library(int number, const SettingValue& value);

enum class ProjectLibrary { Gost, Stock, Mixed };

// Unset settings do not count: a switch writes only the settings 1 to 3 a project has.
ProjectLibrary project_library(const LibrarySettings& settings);

// "GOST", "stock ACADE" or "mixed: settings 1 and 20 on GOST, settings 2 and 3 on stock ACADE",
// followed by "; setting 3 not set" for the settings the project lacks.
std::wstring library_summary(const LibrarySettings& settings);

// True when one of the support path's folders is the add-on's support folder.
bool support_path_has_addon(const std::wstring& support);

// True when the template folder is the add-on's, as a switch to GOST sets it.
bool is_addon_template_folder(const std::wstring& folder);

}  // namespace kvs
