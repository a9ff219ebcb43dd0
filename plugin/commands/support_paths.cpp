#include "frame/acad_files.h"

#include <string>

#include "commands/status_text.h"
#include "commands/support_paths.h"
#include "common/install_layout.h"
#include "common/release_globals.h"
#include "common/text_util.h"
#include "common/texts.h"
#include "win32/handles.h"
#include "win32/registry.h"
#include "win32/system_message.h"

namespace {

using kvs::install::kSupportPathEntry;
using kvs::install::kTemplateFolder;

// A setting is put only when it changes: AutoCAD stores every put and rereads its folders.
void put_changed(const AcadFiles& files, FileSetting setting, const std::wstring& present, const std::wstring& value) {
  if (value != present) files.put(setting, value);
}

// The template folder a switch to GOST replaced, per user and release, for the way back.
const wchar_t kAddonKey[] = L"SOFTWARE\\Korvanta";

std::wstring templateValueName() { return L"Template folder " + full_version_english; }

void rememberTemplateFolder(const std::wstring& folder) {
  kvs::RegKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kAddonKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, key.put()) != ERROR_SUCCESS) return;
  std::wstring present;
  if (kvs::read_string_value(key.get(), templateValueName().c_str(), present) == ERROR_SUCCESS && present == folder) return;
  const LONG written = kvs::write_string_value(key.get(), templateValueName().c_str(), folder);
  if (written != ERROR_SUCCESS)
    acutPrintf(L"%ls\n", kvs::text(kvs::kTextRegistryWriteFailed, L"HKEY_CURRENT_USER\\SOFTWARE\\Korvanta\\" + templateValueName(),
                                    kvs::system_message(static_cast<DWORD>(written))).c_str());
}

bool rememberedTemplateFolder(std::wstring& folder) {
  kvs::RegKey key;
  return RegOpenKeyExW(HKEY_CURRENT_USER, kAddonKey, 0, KEY_QUERY_VALUE, key.put()) == ERROR_SUCCESS &&
         kvs::read_string_value(key.get(), templateValueName().c_str(), folder) == ERROR_SUCCESS && !folder.empty();
}

}  // namespace

FileSettings current_file_settings() {
  const AcadFiles files = AcadFiles::open();
  const FileSettings settings = {files.get(FileSetting::SupportPath), files.get(FileSetting::TemplateDwgPath)};
  return settings;
}

void fSetSupportPath(int tip) {
  const AcadFiles files = AcadFiles::open();
  const std::wstring support = files.get(FileSetting::SupportPath);
  try {
    const std::wstring templates = files.get(FileSetting::TemplateDwgPath);
    if (tip == 1) {
      if (!kvs::is_addon_template_folder(templates)) rememberTemplateFolder(templates);
      put_changed(files, FileSetting::TemplateDwgPath, templates, kTemplateFolder);
      if (!kvs::support_path_has_addon(support)) files.put(FileSetting::SupportPath, kSupportPathEntry + support);
      acutPrintf(L"%ls\n", kvs::text(kvs::kTextSupportPathChanged).c_str());
    } else {
      // Only the add-on's folder is taken back: the one it replaced, or AutoCAD's default.
      std::wstring folder;
      if (kvs::is_addon_template_folder(templates)) {
        if (!rememberedTemplateFolder(folder)) folder = files.get(FileSetting::PlotLogFilePath) + L"Template";
        put_changed(files, FileSetting::TemplateDwgPath, templates, folder);
      }
      put_changed(files, FileSetting::SupportPath, support, kvs::support_path_without_addon(support));
    }
  } catch (const _com_error& e) {
    acutPrintf(L"%ls\n", kvs::text(kvs::kTextCannotChangeFiles, kvs::trim(e.ErrorMessage() ? e.ErrorMessage() : L"")).c_str());
  }
}
