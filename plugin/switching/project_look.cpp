#include "switching/project_look.h"

#include <windows.h>

#include "win32/long_path.h"
#include "win32/system_message.h"
#include "win32/text_codec.h"
#include "win32/file_read.h"
#include "win32/handles.h"

namespace {

ProjectLook looked(ProjectFileState state, const std::wstring& why) {
  ProjectLook look;
  look.state = state;
  look.why = why;
  return look;
}

// The same, of a file that reads as `text`.
ProjectLook looked(ProjectFileState state, const std::wstring& why, std::wstring& text) {
  ProjectLook look = looked(state, why);
  look.readable = true;
  look.text.swap(text);
  return look;
}

}  // namespace

ProjectLook look_at_project_file(const std::wstring& name) {
  const std::wstring path = kvs::extended_path(name);
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    const bool gone = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    return looked(gone ? ProjectFileState::Gone : ProjectFileState::Unusable, kvs::system_message(error));
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return looked(ProjectFileState::Unusable, L"it is a folder, not a file");
  std::string bytes;
  if (!kvs::read_whole_file(path, bytes)) return looked(ProjectFileState::Unusable, kvs::system_message(GetLastError()));
  kvs::DecodedText decoded = kvs::decode_text_file(bytes);
  if (decoded.failure != kvs::DecodeFailure::None) return looked(ProjectFileState::Unusable, L"it is not a text file");
  if (attributes & FILE_ATTRIBUTE_READONLY)
    return looked(ProjectFileState::Unusable, L"it is read-only", decoded.text);
  // Replacing the file takes the right to delete it, which a program holding it open without
  // sharing deletion withholds.
  kvs::FileHandle probe(CreateFileW(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!probe.valid())
    return looked(ProjectFileState::Unusable, kvs::system_message(GetLastError()), decoded.text);
  return looked(ProjectFileState::Switchable, L"", decoded.text);
}
