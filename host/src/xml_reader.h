// The system's XML reader (XmlLite), shared by the host's readers of customization files and
// bundle manifests.
#pragma once

#include <windows.h>

#include <objbase.h>
#include <xmllite.h>

#include <string>

namespace acadhost {

template <class T>
struct ComPtr {
  T* p = nullptr;
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() {
    if (p) p->Release();
  }
  T* operator->() const { return p; }
};

// A reader over `stream`, refusing DTDs; false when the system has no XML reader or the
// reader cannot take the stream.
bool openXmlReader(IStream* stream, ComPtr<IXmlReader>& reader);

// The attribute of the current element, or the empty text; the reader stays on the element.
std::wstring xmlAttribute(IXmlReader* reader, const wchar_t* name);

// The current element's local name.
std::wstring xmlLocalName(IXmlReader* reader);

}  // namespace acadhost
