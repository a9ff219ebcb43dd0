#include "frame/environment_file.h"

#include "frame/host_interface.h"

#include "win32/file_replace.h"
#include "win32/long_path.h"
#include "win32/text_codec.h"
#include "frame/environment_text.h"

namespace {

// The whole file; false (after printing why) when reading fails part way.
bool readWhole(CFile& file, const std::wstring& path, std::string& bytes) {
  try {
    ULONGLONG length = file.GetLength();
    bytes.reserve(static_cast<std::size_t>(length));
    char chunk[65536];
    for (UINT got; (got = file.Read(chunk, sizeof chunk)) != 0;) bytes.append(chunk, got);
    return true;
  } catch (CFileException* e) {
    wchar_t reason[512] = L"";
    e->GetErrorMessage(reason, 512);
    e->Delete();
    acutPrintf(L"%ls", (L"Can not read environment file " + path + L": " + reason + L"\n").c_str());
    return false;
  }
}

}  // namespace

void createAddonEnvironment(const std::wstring& docsFolder) {
  const std::wstring folder = docsFolder + L"AeData\\";
  const std::wstring source = folder + L"wd.env";
  const std::wstring target = kvs::extended_path(folder + L"kvdata.env");

  CFile existing;
  if (existing.Open(target.c_str(), CFile::modeRead)) {
    existing.Close();
    return;
  }

  CFile wdEnv;
  if (!wdEnv.Open(kvs::extended_path(source).c_str(), CFile::modeRead)) return;
  std::string bytes;
  bool read = readWhole(wdEnv, source, bytes);
  wdEnv.Close();
  if (!read) return;

  // kvdata.env keeps wd.env's encoding and byte-order mark.
  const kvs::DecodedText decoded = kvs::decode_text_file(bytes);
  if (decoded.failure != kvs::DecodeFailure::None) {
    const std::wstring why = decoded.failure == kvs::DecodeFailure::ZeroByte
                                 ? L"it holds a zero byte, so it is not a text file"
                                 : L"it is not valid " + kvs::encoding_name(decoded.encoding) + L" text";
    acutPrintf(L"Can not make kvdata.env from %ls: %ls.\n", source.c_str(), why.c_str());
    return;
  }
  std::string converted;
  if (!kvs::encode_text_file(kvs::addon_environment_text(decoded.text), decoded.encoding, converted) ||
      !kvs::replace_file_content(target, converted, FILE_ATTRIBUTE_NORMAL))
    acutPrintf(L"%ls", L"Can not find environment file..\n");
}
