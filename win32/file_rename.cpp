#include "win32/file_rename.h"

#include <cstddef>
#include <cstring>
#include <vector>

namespace kvs {

bool rename_open_file(HANDLE file, const std::wstring& to, bool replace_existing) {
  const std::size_t nameBytes = to.size() * sizeof(wchar_t);
  // The structure ends in the name, NUL included; a buffer of DWORDs keeps it aligned.
  std::vector<DWORD> buffer((sizeof(FILE_RENAME_INFO) + nameBytes + sizeof(DWORD) - 1) / sizeof(DWORD) + 1);
  auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  info->ReplaceIfExists = replace_existing ? TRUE : FALSE;
  info->RootDirectory = nullptr;
  info->FileNameLength = static_cast<DWORD>(nameBytes);
  std::memcpy(info->FileName, to.c_str(), nameBytes + sizeof(wchar_t));
  return SetFileInformationByHandle(file, FileRenameInfo, info, static_cast<DWORD>(buffer.size() * sizeof(DWORD)));
}

}  // namespace kvs
