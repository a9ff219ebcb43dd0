// Files settings through the interfaces of the type library this module is built with.
#include "frame/acad_files.h"

#include "frame/acad_automation.h"

namespace {

std::wstring text(const _bstr_t& value) {
  const wchar_t* chars = value;
  return chars ? std::wstring(chars, value.length()) : std::wstring();
}

}  // namespace

AcadFiles AcadFiles::open() {
  IAcadApplicationPtr app(acad_application());
  IAcadPreferencesFilesPtr files = app->GetPreferences()->GetFiles();
  return AcadFiles(IDispatchPtr(files));
}

std::wstring AcadFiles::get(FileSetting setting) const {
  IAcadPreferencesFilesPtr files(files_);
  switch (setting) {
    case FileSetting::SupportPath: return text(files->GetSupportPath());
    case FileSetting::TemplateDwgPath: return text(files->GetTemplateDwgPath());
    case FileSetting::PlotLogFilePath: break;
  }
  return text(files->GetPlotLogFilePath());
}

void AcadFiles::put(FileSetting setting, const std::wstring& value) const {
  IAcadPreferencesFilesPtr files(files_);
  const _bstr_t bstr(value.c_str());
  switch (setting) {
    case FileSetting::SupportPath: files->PutSupportPath(bstr); return;
    case FileSetting::TemplateDwgPath: files->PutTemplateDwgPath(bstr); return;
    case FileSetting::PlotLogFilePath: files->PutPlotLogFilePath(bstr); return;
  }
}
