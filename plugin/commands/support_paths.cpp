#include "frame/acad_files.h"

#include <string>

#include "commands/support_paths.h"
#include "common/install_layout.h"
#include "common/text_util.h"

namespace {

using kvs::install::kSupportPathEntry;
using kvs::install::kTemplateFolder;

}  // namespace

FileSettings current_file_settings() {
  const AcadFiles files = AcadFiles::open();
  return {files.get(FileSetting::SupportPath), files.get(FileSetting::TemplateDwgPath)};
}

void fSetSupportPath(int tip) {
  const AcadFiles files = AcadFiles::open();
  const std::wstring support = files.get(FileSetting::SupportPath);
  try {
    if (tip == 1) {
      files.put(FileSetting::TemplateDwgPath, kTemplateFolder);
      if (!kvs::contains(kvs::to_lower(support), L"korvanta"))
        files.put(FileSetting::SupportPath, kSupportPathEntry + support);
      acutPrintf(L"Support path changed..\n");
    } else {
      files.put(FileSetting::TemplateDwgPath, files.get(FileSetting::PlotLogFilePath) + L"Template");
      files.put(FileSetting::SupportPath, kvs::replace_all(kvs::to_lower(support), kSupportPathEntry, L""));
    }
  } catch (const _com_error& e) {
    acutPrintf(L"%ls", e.ErrorMessage());
  }
}
