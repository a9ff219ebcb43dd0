#include "switching/project_driver.h"

#include "frame/host_interface.h"

#include <climits>
#include <memory>
#include <new>
#include <string_view>
#include <vector>
#include <utility>

#include "common/file_replace.h"
#include "common/file_seam.h"
#include "common/long_path.h"
#include "common/system_message.h"
#include "common/text_codec.h"
#include "common/text_util.h"
#include "switching/change_env.h"

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

// The whole file, in a buffer that is not cleared first: the read fills it.
struct FileBytes {
  std::unique_ptr<char[]> data;
  std::size_t size = 0;
  operator std::string_view() const { return {data.get(), size}; }
};

FileBytes readWhole(CFile& file, const std::wstring& path) {
  const ULONGLONG size = seam::length(file, path);
  if (size > static_cast<ULONGLONG>(INT_MAX)) CFileException::ThrowOsError(ERROR_FILE_TOO_LARGE, path.c_str());
  FileBytes bytes{std::unique_ptr<char[]>(new char[static_cast<std::size_t>(size) + 1]), 0};
  while (bytes.size < size) {
    UINT n = seam::read(file, path, bytes.data.get() + bytes.size, static_cast<UINT>(size - bytes.size));
    if (n == 0) break;
    bytes.size += n;
  }
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
  FileBytes bytes;
  {
    CFile file;
    DWORD error = ERROR_SUCCESS;
    if (!seam::open_for_reading(file, path, error)) return openFailure(name, path, error);
    bytes = readWhole(file, path);
  }
  // UTF-16 and a one-byte ANSI code page are read in place; other encodings are decoded.
  const kvs::TextEncoding encoding = kvs::encoding_of(bytes);
  const bool utf16 = encoding == kvs::TextEncoding::Utf16LE || encoding == kvs::TextEncoding::Utf16BE;
  kvs::ProjectBytes inPlace;
  inPlace.code_page = encoding == kvs::TextEncoding::Ansi ? kvs::single_byte_code_page() : nullptr;
  inPlace.big_endian = encoding == kvs::TextEncoding::Utf16BE;
  inPlace.bytes = std::string_view(bytes).substr(utf16 ? 2 : 0);
  const bool readInPlace = utf16 || inPlace.code_page;
  kvs::DecodedText decoded;
  decoded.encoding = encoding;
  if (inPlace.code_page) decoded.failure = kvs::check_single_byte_text(bytes);
  else if (utf16) decoded.failure = kvs::check_utf16_text(inPlace.bytes, inPlace.big_endian);
  else decoded = kvs::decode_text_file(bytes);
  if (decoded.failure != kvs::DecodeFailure::None) {
    reportNotText(name, decoded);
    return SwitchResult::FileUnusable;
  }
  kvs::RecordValues values;
  std::wstring message;
  if (!library_values(tip, values, message)) {
    acutPrintf(L"%ls", message.c_str());
    return SwitchResult::Installation;
  }
  kvs::TextPieces text = readInPlace ? kvs::rewrite_project_pieces(inPlace, values)
                                     : kvs::rewrite_project_pieces(decoded.text, values);
  // The text is stored without white space at its end.
  if (readInPlace) text.trim_end([&](std::size_t i) { return kvs::is_space(inPlace.at(i)); });
  else text.trim_end([&](std::size_t i) { return kvs::is_space(decoded.text[i]); });
  std::vector<std::string_view> written;
  std::string store;
  if (!kvs::encode_text_file(text, encoding, bytes, decoded.text, written, store)) {
    acutPrintf(L"Can not convert project file %ls to %ls: %ls\n", name.c_str(),
               kvs::encoding_name(encoding).c_str(), kvs::system_message(GetLastError()).c_str());
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
  if (!kvs::replace_file_content(path, written, attributes)) {
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
