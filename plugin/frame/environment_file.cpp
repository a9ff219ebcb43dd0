#include "frame/environment_file.h"

#include "frame/host_interface.h"

#include "common/texts.h"
#include "win32/file_read.h"
#include "win32/file_replace.h"
#include "win32/long_path.h"
#include "win32/system_message.h"
#include "win32/text_codec.h"
#include "frame/environment_text.h"
#include "switching/project_look.h"

void createAddonEnvironment(const std::wstring& docsFolder) {
  const std::wstring folder = docsFolder + L"AeData\\";
  const std::wstring source = folder + L"wd.env";
  const std::wstring target = kvs::extended_path(folder + L"kvdata.env");

  CFile existing;
  if (existing.Open(target.c_str(), CFile::modeRead)) {
    existing.Close();
    return;
  }

  std::string bytes;
  if (!kvs::read_whole_file(kvs::extended_path(source), bytes)) {
    const DWORD error = GetLastError();
    // Without a wd.env there is nothing to make kvdata.env from.
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
      acutPrintf(L"%ls\n", kvs::text(kvs::kTextCannotReadEnvironment, source, kvs::system_message(error)).c_str());
    return;
  }

  // kvdata.env keeps wd.env's encoding and byte-order mark.
  const kvs::DecodedText decoded = kvs::decode_text_file(bytes);
  if (decoded.failure != kvs::DecodeFailure::None) {
    const std::wstring why = decoded.failure == kvs::DecodeFailure::ZeroByte
                                 ? kvs::text(kvs::kTextZeroByte)
                                 : kvs::text(kvs::kTextNotValidText, encoding_name(decoded.encoding));
    acutPrintf(L"%ls\n", kvs::text(kvs::kTextCannotMakeEnvironment, source, why).c_str());
    return;
  }
  std::string converted;
  if (!kvs::encode_text_file(kvs::addon_environment_text(decoded.text), decoded.encoding, converted) ||
      !kvs::replace_file_content(target, converted, FILE_ATTRIBUTE_NORMAL))
    acutPrintf(L"%ls\n",
               kvs::text(kvs::kTextCannotWriteEnvironment, folder + L"kvdata.env", kvs::system_message(GetLastError())).c_str());
}
