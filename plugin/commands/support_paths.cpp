#include "commands/support_paths.h"

#include <string>

#include "common/install_layout.h"
#include "common/text_util.h"
#include "frame/host_interface.h"

namespace {

using kvs::install::kSupportPathEntry;
using kvs::install::kTemplateFolder;

std::wstring text(const _bstr_t& value) {
  const wchar_t* chars = value;
  return chars ? std::wstring(chars, value.length()) : std::wstring();
}

IAcadPreferencesFilesPtr filesPreferences() {
  // GetIDispatch(TRUE) hands us a reference: the holder takes it over rather than adding one.
  IDispatchPtr dispatch(acedGetAcadWinApp()->GetIDispatch(TRUE), false);
  IAcadApplicationPtr app(dispatch);
  return app->GetPreferences()->GetFiles();
}

}  // namespace

FileSettings current_file_settings() {
  IAcadPreferencesFilesPtr files = filesPreferences();
  return {text(files->GetSupportPath()), text(files->GetTemplateDwgPath())};
}

void fSetSupportPath(int tip) {
  IAcadPreferencesFilesPtr files = filesPreferences();
  const std::wstring support = text(files->GetSupportPath());
  try {
    if (tip == 1) {
      files->PutTemplateDwgPath(kTemplateFolder);
      if (!kvs::contains(kvs::to_lower(support), L"korvanta")) files->PutSupportPath((kSupportPathEntry + support).c_str());
      acutPrintf(L"Support path changed..\n");
    } else {
      files->PutTemplateDwgPath((text(files->GetPlotLogFilePath()) + L"Template").c_str());
      files->PutSupportPath(kvs::replace_all(kvs::to_lower(support), kSupportPathEntry, L"").c_str());
    }
  } catch (const _com_error& e) {
    acutPrintf(L"%ls", e.ErrorMessage());
  }
}
