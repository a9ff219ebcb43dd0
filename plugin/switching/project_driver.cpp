#include "switching/project_driver.h"

#include <windows.h>

#include <new>
#include <vector>

#include "win32/file_read.h"
#include "win32/file_replace.h"
#include "win32/file_seam.h"
#include "win32/handles.h"
#include "win32/long_path.h"
#include "win32/system_message.h"
#include "win32/text_codec.h"
#include "common/text_util.h"
#include "switching/kept_versions.h"

namespace seam = kvs::file_seam;

namespace {

const wchar_t kLeftAsItWas[] = L" The file is left as it was.\n";

// "Can not <what> project file <file>: <the system's text>".
void sayFailed(kvs::SwitchReport& report, const wchar_t* what, const std::wstring& file, DWORD error) {
  report.say(L"Can not " + std::wstring(what) + L" project file " + file + L": " + kvs::system_message(error) + L"\n");
}

// The rewritten file as parts to write one after the other. Where the encoding gives each
// character a fixed number of bytes, the parts kept from the file are its own bytes, so they
// stay byte for byte and are not copied; the new parts (and, in other encodings, the whole
// text) are encoded into `encoded`.
bool encodeText(const kvs::TextPieces& text, const kvs::DecodedText& source, const std::string& bytes,
                std::string& encoded, std::vector<kvs::ByteSpan>& parts) {
  parts.clear();
  const std::size_t unit = kvs::bytes_per_character(source.encoding);
  if (unit == 0) {
    if (!kvs::encode_text_file(text.joined(source.text), source.encoding, encoded)) return false;
    const kvs::ByteSpan whole = {encoded.data(), encoded.size()};
    parts.push_back(whole);
    return true;
  }
  encoded = kvs::byte_order_mark(source.encoding);
  const std::size_t mark = encoded.size();
  // Encoded parts are placed by offset until `encoded` has stopped growing.
  const std::size_t kOwnBytes = static_cast<std::size_t>(-1);
  std::vector<std::size_t> at(1, 0);
  const kvs::ByteSpan markPart = {nullptr, mark};
  parts.push_back(markPart);
  for (const kvs::TextPieces::Piece& piece : text.pieces()) {
    kvs::ByteSpan part = {bytes.data() + mark + unit * piece.begin, unit * piece.size};
    at.push_back(piece.from_source ? kOwnBytes : encoded.size());
    if (!piece.from_source) {
      if (!kvs::append_encoded(text.new_text(piece), piece.size, source.encoding, encoded)) return false;
      part.size = encoded.size() - at.back();
    }
    parts.push_back(part);
  }
  for (std::size_t i = 0; i < parts.size(); ++i)
    if (at[i] != kOwnBytes) parts[i].data = encoded.data() + at[i];
  return true;
}

bool isGone(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

SwitchResult openFailure(const std::wstring& name, const std::wstring& path, DWORD error, kvs::SwitchReport& report) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    report.say(L"Can not open project file " + name + L": it is a folder, not a file.\n");
    return SwitchResult::FileUnusable;
  }
  sayFailed(report, L"open", name, error);
  return isGone(error) ? SwitchResult::FileGone : SwitchResult::FileUnusable;
}

void sayNotText(const std::wstring& name, const kvs::DecodedText& decoded, kvs::SwitchReport& report) {
  const std::wstring why = decoded.failure == kvs::DecodeFailure::ZeroByte
                               ? L"it holds a zero byte, so it is not a text file."
                               : L"it is not valid " + kvs::encoding_name(decoded.encoding) + L" text.";
  report.say(L"Can not switch project file " + name + L": " + why + kLeftAsItWas);
}

// The own icon menu remembered for the project, for a switch back. False once a failure is said.
bool readRememberedMenu(const std::wstring& name, kvs::RecordValues& values, kvs::SwitchReport& report) {
  std::wstring file;
  if (remembered_own_menu(name, values.remembered_menu, file)) return true;
  const DWORD error = GetLastError();
  report.say(L"Can not read the own icon menu remembered for project file " + name + L" in " + file + L": " +
             kvs::system_message(error) + L"." + kLeftAsItWas);
  return false;
}

// On the way to GOST, the project's own icon menu (setting 2 as it was) is remembered, and
// forgotten when it has the stock one. False once a failure is said.
bool rememberOwnMenu(const std::wstring& name, const kvs::SettingValue& menu, kvs::SwitchReport& report) {
  if (!menu.present) return true;
  switch (kvs::menu_kind(menu.value)) {
    case kvs::MenuKind::Own: return remember_own_menu(name, kvs::trim(menu.value), report);
    case kvs::MenuKind::Stock: return remember_own_menu(name, L"", report);
    case kvs::MenuKind::Addon: break;
  }
  return true;
}

// Without `write`, everything up to the writing. `settings`, when given, learns the library
// settings the file holds and will hold.
SwitchResult switchFile(const std::wstring& name, const LibraryValues& library, kvs::SwitchReport& report, bool write,
                        SwitchedSettings* settings) {
  const std::wstring path = kvs::extended_path(name);
  std::string bytes;
  {
    kvs::FileHandle file(seam::open_for_reading(path));
    if (!file.valid()) return openFailure(name, path, GetLastError(), report);
    if (!kvs::read_whole(file.get(), bytes)) {
      sayFailed(report, L"read", name, GetLastError());
      return SwitchResult::FileUnusable;
    }
  }
  const kvs::DecodedText decoded = kvs::decode_text_file(bytes);
  if (decoded.failure != kvs::DecodeFailure::None) {
    sayNotText(name, decoded, report);
    return SwitchResult::FileUnusable;
  }
  kvs::RecordValues values;
  std::wstring message;
  if (!library(values, message)) {
    report.say(message);
    return SwitchResult::Installation;
  }
  if (values.gives_menu_back && !readRememberedMenu(name, values, report)) return SwitchResult::NotKept;
  kvs::LibrarySettings read;
  kvs::TextPieces text = kvs::rewrite_project_pieces(decoded.text, values, read);
  if (settings) {
    settings->read = true;
    settings->before = read;
    settings->after = kvs::settings_after_switch(read, values);
  }
  // The text is stored without white space at its end.
  text.trim_end(decoded.text);
  std::string encoded;
  std::vector<kvs::ByteSpan> parts;
  if (!encodeText(text, decoded, bytes, encoded, parts)) {
    report.say(L"Can not convert project file " + name + L" to " + kvs::encoding_name(decoded.encoding) + L": " +
               kvs::system_message(GetLastError()) + L"\n");
    return SwitchResult::FileUnusable;
  }
  // Checked here because a replace by rename would not refuse a read-only file.
  const DWORD attributes = seam::attributes(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    sayFailed(report, L"write", name, error);
    return isGone(error) ? SwitchResult::FileGone : SwitchResult::FileUnusable;
  }
  if (attributes & FILE_ATTRIBUTE_READONLY) {
    report.say(L"Can not find environment file..\n");
    return SwitchResult::FileUnusable;
  }
  if (!write) return SwitchResult::Switched;
  if (!values.gives_menu_back && !rememberOwnMenu(name, read[1], report)) return SwitchResult::NotKept;
  if (!keep_project_version(name, bytes, report)) return SwitchResult::NotKept;
  // What a switch of this project left beside it when it was cut short goes first.
  kvs::remove_replace_leftovers(path);
  if (!kvs::replace_file_content(path, parts, attributes)) {
    sayFailed(report, L"write", name, GetLastError());
    return SwitchResult::FileUnusable;
  }
  return SwitchResult::Switched;
}

}  // namespace

namespace {

SwitchResult switchOrPreview(const std::wstring& path, const LibraryValues& library, kvs::SwitchReport& report,
                             bool write, SwitchedSettings* settings) {
  try {
    return switchFile(path, library, report, write, settings);
  } catch (const std::bad_alloc&) {
    report.say(L"Can not switch project file " + path + L": not enough memory.\n");
  }
  return SwitchResult::Other;
}

}  // namespace

SwitchResult switch_project_file(const std::wstring& path, const LibraryValues& library, kvs::SwitchReport& report,
                                 SwitchedSettings* settings) {
  return switchOrPreview(path, library, report, true, settings);
}

SwitchResult preview_project_switch(const std::wstring& path, const LibraryValues& library, kvs::SwitchReport& report,
                                    SwitchedSettings& settings) {
  return switchOrPreview(path, library, report, false, &settings);
}
