#include "frame/acad_files.h"

#include <string>

#include "commands/support_paths.h"
#include "common/install_layout.h"
#include "common/text_util.h"

namespace {

using kvs::install::kSupportPathEntry;
using kvs::install::kTemplateFolder;

// A setting is put only when it changes: AutoCAD stores every put and rereads its folders.
void put_changed(const AcadFiles& files, FileSetting setting, const std::wstring& present, const std::wstring& value) {
  if (value != present) files.put(setting, value);
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
      put_changed(files, FileSetting::TemplateDwgPath, templates, kTemplateFolder);
      if (!kvs::contains(kvs::to_lower(support), L"korvanta"))
        files.put(FileSetting::SupportPath, kSupportPathEntry + support);
      acutPrintf(L"Support path changed..\n");
    } else {
      put_changed(files, FileSetting::TemplateDwgPath, templates, files.get(FileSetting::PlotLogFilePath) + L"Template");
      put_changed(files, FileSetting::SupportPath, support,
                  kvs::replace_all(kvs::to_lower(support), kSupportPathEntry, L""));
    }
  } catch (const _com_error& e) {
    acutPrintf(L"%ls", e.ErrorMessage());
  }
}
