#include "switching/project_look.h"

#include <windows.h>

#include "win32/file_read.h"
#include "win32/file_seam.h"
#include "win32/handles.h"
#include "win32/long_path.h"
#include "win32/system_message.h"
#include "common/texts.h"

namespace seam = kvs::file_seam;

namespace {

void refuse(ProjectFile& file, ProjectFileState state, kvs::TextId step, const std::wstring& why) {
  file.state = state;
  file.step = step;
  file.why = why;
}

void refuseForError(ProjectFile& file, ProjectFileState state, kvs::TextId step, DWORD error) {
  refuse(file, state, step, kvs::system_message(error));
  file.system_words = true;
}

bool isGone(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

}  // namespace

void read_project_file(const std::wstring& name, ProjectFile& file) {
  file = ProjectFile();
  const std::wstring path = kvs::extended_path(name);
  {
    kvs::FileHandle handle(seam::open_for_reading(path));
    if (!handle.valid()) {
      const DWORD error = GetLastError();
      const DWORD attributes = GetFileAttributesW(path.c_str());
      if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return refuse(file, ProjectFileState::Unusable, kvs::kTextCannotOpenProject, kvs::text(kvs::kTextIsFolder));
      return refuseForError(file, isGone(error) ? ProjectFileState::Gone : ProjectFileState::Unusable, kvs::kTextCannotOpenProject, error);
    }
    if (!kvs::read_whole(handle.get(), file.bytes))
      return refuseForError(file, ProjectFileState::Unusable, kvs::kTextCannotReadProject, GetLastError());
    // The handle tells them: asking the folder again would cost a round trip on a share.
    file.attributes = seam::attributes(handle.get());
    if (file.attributes == INVALID_FILE_ATTRIBUTES)
      return refuseForError(file, ProjectFileState::Unusable, kvs::kTextCannotReadProject, GetLastError());
  }
  file.decoded = kvs::decode_text_file(file.bytes);
  if (file.decoded.failure == kvs::DecodeFailure::ZeroByte)
    return refuse(file, ProjectFileState::Unusable, kvs::kTextCannotSwitchProject, kvs::text(kvs::kTextZeroByte));
  if (file.decoded.failure != kvs::DecodeFailure::None)
    return refuse(file, ProjectFileState::Unusable, kvs::kTextCannotSwitchProject,
                  kvs::text(kvs::kTextNotValidText, encoding_name(file.decoded.encoding)));
  if (file.decoded.text.find_first_not_of(L" \t\r\n") == std::wstring::npos)
    return refuse(file, ProjectFileState::Unusable, kvs::kTextCannotSwitchProject, kvs::text(kvs::kTextIsEmpty));
  file.readable = true;
  // Checked here because a replace by rename would not refuse a read-only file.
  if (file.attributes & FILE_ATTRIBUTE_READONLY)
    return refuse(file, ProjectFileState::Unusable, kvs::kTextCannotSwitchProject, kvs::text(kvs::kTextIsReadOnly));
  file.state = ProjectFileState::Switchable;
}

std::wstring refusal_message(const std::wstring& path, const ProjectFile& file) {
  // The system's texts come without their full stop, as every failure of a switch says them.
  return kvs::text(file.step, path, file.why) + (file.system_words ? L"" : L".") +
         (file.step == kvs::kTextCannotSwitchProject ? left_as_it_was() : L"\n");
}

std::wstring encoding_name(kvs::TextEncoding encoding) {
  switch (encoding) {
    case kvs::TextEncoding::Utf8: return L"UTF-8";
    case kvs::TextEncoding::Utf16LE:
    case kvs::TextEncoding::Utf16BE: return L"UTF-16";
    case kvs::TextEncoding::Ansi: break;
  }
  return kvs::text(kvs::kTextAnsiCodePage, std::to_wstring(static_cast<unsigned long long>(GetACP())));
}

std::wstring left_as_it_was() { return L" " + kvs::text(kvs::kTextLeftAsItWas) + L"\n"; }

ProjectLook look_at_project_file(const std::wstring& name) {
  ProjectFile file;
  read_project_file(name, file);
  ProjectLook look;
  look.state = file.state;
  look.why = file.why;
  look.readable = file.readable;
  if (look.readable) look.text.swap(file.decoded.text);
  return look;
}
