#include "commands/support_paths.h"

#include <string>

#include "common/text_util.h"
#include "frame/host_interface.h"

namespace {

const wchar_t kGostTemplates[] = L"c:\\Program Files\\Korvanta\\Data\\Template";
const wchar_t kSupportEntry[] = L"c:\\program files\\korvanta\\support;";

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
      files->PutTemplateDwgPath(kGostTemplates);
      if (!kvs::contains(kvs::to_lower(support), L"korvanta")) files->PutSupportPath((kSupportEntry + support).c_str());
      acutPrintf(L"Support path changed..\n");
    } else {
      files->PutTemplateDwgPath((text(files->GetPlotLogFilePath()) + L"Template").c_str());
      files->PutSupportPath(kvs::replace_all(kvs::to_lower(support), kSupportEntry, L"").c_str());
    }
  } catch (const _com_error& e) {
    acutPrintf(L"%ls", e.ErrorMessage());
  }
}
