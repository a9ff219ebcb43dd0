#include "xml_reader.h"

namespace acadhost {

bool openXmlReader(IStream* stream, ComPtr<IXmlReader>& reader) {
  using CreateFn = HRESULT(WINAPI*)(REFIID, void**, IMalloc*);
  // Loaded at run time and kept: MinGW has no import library for it.
  static HMODULE xmllite = LoadLibraryW(L"xmllite.dll");
  static auto create =
      xmllite ? reinterpret_cast<CreateFn>(reinterpret_cast<void*>(GetProcAddress(xmllite, "CreateXmlReader")))
              : nullptr;
  return create && stream && SUCCEEDED(create(__uuidof(IXmlReader), reinterpret_cast<void**>(&reader.p), nullptr)) &&
         SUCCEEDED(reader->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Prohibit)) &&
         SUCCEEDED(reader->SetInput(stream));
}

std::wstring xmlAttribute(IXmlReader* reader, const wchar_t* name) {
  std::wstring value;
  const wchar_t* text = nullptr;
  if (reader->MoveToAttributeByName(name, nullptr) == S_OK && SUCCEEDED(reader->GetValue(&text, nullptr)) && text)
    value = text;
  reader->MoveToElement();
  return value;
}

std::wstring xmlLocalName(IXmlReader* reader) {
  const wchar_t* name = nullptr;
  reader->GetLocalName(&name, nullptr);
  return name ? name : L"";
}

}  // namespace acadhost
