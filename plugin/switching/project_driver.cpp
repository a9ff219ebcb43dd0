#include "switching/project_driver.h"

#include <windows.h>

#include <memory>
#include <new>
#include <vector>

#include "win32/file_read.h"
#include "win32/file_replace.h"
#include "win32/handles.h"
#include "win32/long_path.h"
#include "win32/system_message.h"
#include "win32/text_codec.h"
#include "common/text_util.h"
#include "common/texts.h"
#include "switching/kept_versions.h"
#include "switching/project_look.h"

namespace {

// "Cannot <what> project file <file>: <the system's text>".
void sayFailed(kvs::SwitchReport& report, kvs::TextId what, const std::wstring& file, DWORD error) {
  report.say(kvs::text(what, file, kvs::system_message(error)) + L"\n");
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

// Whether the parts are the file's bytes: then the switch has nothing to do.
bool sameBytes(const std::vector<kvs::ByteSpan>& parts, const std::string& bytes) {
  std::size_t at = 0;
  for (const kvs::ByteSpan& part : parts) {
    // A part kept from the file at its own place is equal without a look.
    if (part.size > bytes.size() - at ||
        (part.data != bytes.data() + at && bytes.compare(at, part.size, part.data, part.size) != 0))
      return false;
    at += part.size;
  }
  return at == bytes.size();
}

// What is remembered for the switch back goes into the values. False once a failure is said.
bool readRemembered(const std::wstring& name, kvs::RecordValues& values, kvs::SwitchReport& report) {
  std::wstring file;
  if (remembered_switch_back(name, values.remembered, values.remembered_menu, file)) return true;
  const DWORD error = GetLastError();
  report.say(kvs::text(kvs::kTextCannotReadRemembered, name, file, kvs::system_message(error)) + L"." +
             left_as_it_was());
  return false;
}

// Without `write`, everything up to the writing. `settings`, when given, learns the library
// settings the file holds and will hold.
SwitchResult switchFile(const std::wstring& name, const LibraryValues& library, kvs::SwitchReport& report, bool write,
                        SwitchedSettings* settings) {
  ProjectFile file;
  read_project_file(name, file);
  if (file.state != ProjectFileState::Switchable) {
    // A project refused as read-only still tells its settings.
    if (settings && file.readable) {
      settings->read = true;
      settings->before = settings->after = kvs::library_settings(file.decoded.text);
    }
    report.say(refusal_message(name, file));
    return file.state == ProjectFileState::Gone ? SwitchResult::FileGone : SwitchResult::FileUnusable;
  }
  kvs::RecordValues values;
  std::wstring message;
  if (!library(values, message)) {
    report.say(message);
    return SwitchResult::Installation;
  }
  if (values.gives_menu_back && !readRemembered(name, values, report)) return SwitchResult::NotKept;
  kvs::ProjectRewrite rewrite;
  kvs::rewrite_project(file.decoded.text, values, rewrite);
  if (settings) {
    settings->read = true;
    settings->before = rewrite.read;
    settings->after = kvs::settings_after_switch(rewrite.read, values);
  }
  const kvs::ProjectLibrary target = values.gives_menu_back ? kvs::ProjectLibrary::Stock : kvs::ProjectLibrary::Gost;
  if (kvs::project_library(rewrite.read) == target) return SwitchResult::Unchanged;
  std::string encoded;
  std::vector<kvs::ByteSpan> parts;
  if (!encodeText(rewrite.text, file.decoded, file.bytes, encoded, parts)) {
    report.say(kvs::text(kvs::kTextCannotConvertProject, name, encoding_name(file.decoded.encoding),
                         kvs::system_message(GetLastError())) + L"\n");
    return SwitchResult::FileUnusable;
  }
  if (sameBytes(parts, file.bytes)) return SwitchResult::Unchanged;
  if (!write) return SwitchResult::Switched;
  if (!keep_project_version(name, file.bytes, report)) return SwitchResult::NotKept;
  if (!values.gives_menu_back && !remember_replaced_settings(name, rewrite.replaced, report)) return SwitchResult::NotKept;
  const std::wstring path = kvs::extended_path(name);
  if (!kvs::replace_file_content(path, parts, file.attributes)) {
    const DWORD error = GetLastError();
    sayFailed(report, kvs::kTextCannotWriteProject, name, error);
    return isGone(error) ? SwitchResult::FileGone : SwitchResult::FileUnusable;
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
    report.say(kvs::text(kvs::kTextCannotSwitchProject, path, kvs::text(kvs::kTextNotEnoughMemory)) + L".\n");
  }
  return SwitchResult::Other;
}

}  // namespace

namespace {

struct PassValues {
  PassValues() : asked(false), found(false) {}
  bool asked, found;
  kvs::RecordValues values;
  std::wstring message;
};

}  // namespace

LibraryValues once_per_pass(const LibraryValues& library) {
  const std::shared_ptr<PassValues> pass = std::make_shared<PassValues>();
  return [library, pass](kvs::RecordValues& values, std::wstring& message) {
    if (!pass->asked) {
      pass->found = library(pass->values, pass->message);
      pass->asked = true;
    }
    values = pass->values;
    message = pass->message;
    return pass->found;
  };
}

SwitchResult switch_project_file(const std::wstring& path, const LibraryValues& library, kvs::SwitchReport& report,
                                 SwitchedSettings* settings) {
  return switchOrPreview(path, library, report, true, settings);
}

SwitchResult preview_project_switch(const std::wstring& path, const LibraryValues& library, kvs::SwitchReport& report,
                                    SwitchedSettings& settings) {
  return switchOrPreview(path, library, report, false, &settings);
}
