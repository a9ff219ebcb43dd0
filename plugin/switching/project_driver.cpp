#include "switching/project_driver.h"

#include "frame/host_interface.h"

#include <climits>
#include <memory>
#include <new>
#include <string_view>
#include <vector>
#include <utility>

#include "win32/file_replace.h"
#include "win32/file_seam.h"
#include "win32/handles.h"
#include "win32/long_path.h"
#include "win32/system_message.h"
#include "win32/text_codec.h"
#include "common/text_util.h"
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

// The rewritten text's bytes, as parts: where the encoding gives each character a fixed number
// of bytes the kept parts are the file's own bytes, so they stay byte for byte; the new parts
// (and, in other encodings, the whole text) are encoded into `store`.
bool encodeParts(const kvs::TextPieces& text, kvs::TextEncoding encoding, std::string_view source,
                 std::wstring_view sourceText, std::vector<std::string_view>& parts, std::string& store) {
  const std::size_t unit = kvs::bytes_per_character(encoding);
  if (unit == 0) {
    if (!kvs::encode_text_file(text.joined(sourceText), encoding, store)) return false;
    parts.push_back(store);
    return true;
  }
  // The new text goes into `store` first, so that the views into it stay valid.
  std::vector<std::size_t> ends;
  for (const kvs::TextPieces::Piece& piece : text.pieces()) {
    if (piece.from_source) continue;
    if (!kvs::append_encoded(text.new_text(piece), encoding, store)) return false;
    ends.push_back(store.size());
  }
  const std::string_view mark = kvs::byte_order_mark(encoding);
  parts.push_back(mark);
  std::size_t next = 0, begin = 0;
  for (const kvs::TextPieces::Piece& piece : text.pieces()) {
    if (piece.from_source) {
      parts.push_back(source.substr(mark.size() + unit * piece.begin, unit * piece.size));
    } else {
      parts.push_back(std::string_view(store).substr(begin, ends[next] - begin));
      begin = ends[next++];
    }
  }
  return true;
}

bool isGone(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

// The whole file, in a buffer that is not cleared first: the read fills it.
struct FileBytes {
  std::unique_ptr<char[]> data;
  std::size_t size = 0;
  operator std::string_view() const { return {data.get(), size}; }
};

// False with the system's error set.
bool readWhole(HANDLE file, FileBytes& bytes) {
  ULONGLONG size = 0;
  if (!seam::length(file, size)) return false;
  if (size > static_cast<ULONGLONG>(INT_MAX)) {
    SetLastError(ERROR_FILE_TOO_LARGE);
    return false;
  }
  bytes.data.reset(new char[static_cast<std::size_t>(size) + 1]);
  // A page of the buffer is touched before the read: the system fills pages in use faster than
  // fresh ones (a quarter less time for a large file).
  for (std::size_t page = 0; page < size; page += 4096) bytes.data[page] = 0;
  bytes.size = 0;
  while (bytes.size < size) {
    DWORD got = 0;
    if (!seam::read(file, bytes.data.get() + bytes.size, static_cast<DWORD>(size - bytes.size), got)) return false;
    if (got == 0) break;
    bytes.size += got;
  }
  return true;
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
    kvs::FileHandle file(seam::open_for_reading(path));
    if (!file.valid()) return openFailure(name, path, GetLastError());
    if (!readWhole(file.get(), bytes)) {
      report(kCannotRead, name, GetLastError());
      return SwitchResult::FileUnusable;
    }
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
  if (!encodeParts(text, encoding, bytes, decoded.text, written, store)) {
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
  if (!keep_project_version(name, bytes)) return SwitchResult::NotKept;
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
  }
  return SwitchResult::Other;
}

bool do_change(std::wstring fl_name, int tip) { return switch_project_file(fl_name, tip) == SwitchResult::Switched; }
