#include "switching/project_driver.h"

#include <climits>
#include <new>
#include <utility>

#include "common/file_replace.h"
#include "common/file_seam.h"
#include "common/long_path.h"
#include "common/system_message.h"
#include "common/text_codec.h"
#include "common/text_util.h"
#include "frame/host_interface.h"
#include "switching/change_env.h"
#include "switching/kept_versions.h"

namespace seam = kvs::file_seam;

namespace {

const wchar_t kCannotOpen[] = L"Can not open project file %ls: %ls\n";
const wchar_t kCannotRead[] = L"Can not read project file %ls: %ls\n";
const wchar_t kCannotWrite[] = L"Can not write project file %ls: %ls\n";
const wchar_t kLeftAsItWas[] = L" The file is left as it was.\n";

// `format` holds the file, then the cause.
void report(const wchar_t* format, const std::wstring& file, DWORD error) {
  acutPrintf(format, file.c_str(), kvs::system_message(error).c_str());
}

bool isGone(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

std::string readWhole(CFile& file, const std::wstring& path) {
  const ULONGLONG size = seam::length(file, path);
  if (size > static_cast<ULONGLONG>(INT_MAX)) CFileException::ThrowOsError(ERROR_FILE_TOO_LARGE, path.c_str());
  std::string bytes(static_cast<std::size_t>(size), '\0');
  std::size_t got = 0;
  while (got < bytes.size()) {
    UINT n = seam::read(file, path, &bytes[got], static_cast<UINT>(bytes.size() - got));
    if (n == 0) break;
    got += n;
  }
  bytes.resize(got);
  return bytes;
}

SwitchResult openFailure(const std::wstring& name, const std::wstring& path, DWORD error) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    acutPrintf(L"Can not open project file %ls: it is a folder, not a file.\n", name.c_str());
    return SwitchResult::FileUnusable;
  }
  report(kCannotOpen, name, error);
  return isGone(error) ? SwitchResult::FileGone : SwitchResult::FileUnusable;
}

void reportNotText(const std::wstring& name, const kvs::DecodedText& decoded) {
  const std::wstring why = decoded.failure == kvs::DecodeFailure::ZeroByte
                               ? L"it holds a zero byte, so it is not a text file."
                               : L"it is not valid " + kvs::encoding_name(decoded.encoding) + L" text.";
  acutPrintf(L"Can not switch project file %ls: %ls%ls", name.c_str(), why.c_str(), kLeftAsItWas);
}

SwitchResult switchFile(const std::wstring& name, int tip) {
  const std::wstring path = kvs::extended_path(name);
  std::string bytes;
  {
    CFile file;
    DWORD error = ERROR_SUCCESS;
    if (!seam::open_for_reading(file, path, error)) return openFailure(name, path, error);
    bytes = readWhole(file, path);
  }
  kvs::DecodedText decoded = kvs::decode_text_file(bytes);
  if (decoded.failure != kvs::DecodeFailure::None) {
    reportNotText(name, decoded);
    return SwitchResult::FileUnusable;
  }
  EnvChange change = switch_text(std::move(decoded.text), tip);
  if (!change.rewritten) {
    acutPrintf(L"%ls", change.text.c_str());
    return SwitchResult::Installation;
  }
  // The text is stored without white space at its end.
  std::string rewritten;
  if (!kvs::encode_text_file(kvs::trim_right_view(change.text), decoded.encoding, rewritten)) {
    acutPrintf(L"Can not convert project file %ls to %ls: %ls\n", name.c_str(),
               kvs::encoding_name(decoded.encoding).c_str(), kvs::system_message(GetLastError()).c_str());
    return SwitchResult::FileUnusable;
  }
  // Checked here because a replace by rename would not refuse a read-only file.
  const DWORD attributes = seam::attributes(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    report(kCannotWrite, name, error);
    return isGone(error) ? SwitchResult::FileGone : SwitchResult::FileUnusable;
  }
  if (attributes & FILE_ATTRIBUTE_READONLY) {
    acutPrintf(L"Can not find environment file..\n");
    return SwitchResult::FileUnusable;
  }
  if (!keep_project_version(name, bytes)) return SwitchResult::NotKept;
  if (!kvs::replace_file_content(path, rewritten, attributes)) {
    report(kCannotWrite, name, GetLastError());
    return SwitchResult::FileUnusable;
  }
  return SwitchResult::Switched;
}

}  // namespace

SwitchResult switch_project_file(const std::wstring& path, int tip) {
  try {
    return switchFile(path, tip);
  } catch (const std::bad_alloc&) {
    acutPrintf(L"Can not switch project file %ls: not enough memory.\n", path.c_str());
  } catch (CFileException* e) {
    report(kCannotRead, path, static_cast<DWORD>(e->m_lOsError));
    e->Delete();
    return SwitchResult::FileUnusable;
  } catch (CException* e) {
    acutPrintf(L"Can not switch project file %ls.\n", path.c_str());
    e->Delete();
  }
  return SwitchResult::Other;
}

bool do_change(std::wstring fl_name, int tip) { return switch_project_file(fl_name, tip) == SwitchResult::Switched; }
