#include "frame/menu_reactor.h"

#include <new>

AcRxClass* CMenuReactor::gpDesc = nullptr;

AcRxClass* CMenuReactor::desc() {
  if (gpDesc) return gpDesc;
  gpDesc = AcRxClass::cast(acrxClassDictionary->at(L"CMenuReactor"));
  return gpDesc;
}

AcRxClass* CMenuReactor::isA() const { return CMenuReactor::desc(); }

void CMenuReactor::rxInit() {
  if (gpDesc) {
    AcRxObject* found = acrxClassDictionary->at(L"CMenuReactor");
    if (found) {
      if (found == gpDesc) return;
      acrx_abort(L"Class mismatch");
    }
  }
  gpDesc = newAcRxClass(L"CMenuReactor", L"AcApDocManagerReactor", 1, makeCMenuReactor, nullptr, nullptr);
}

AcRxObject* makeCMenuReactor() { return new (std::nothrow) CMenuReactor(true); }

CMenuReactor::CMenuReactor(bool autoInitAndRelease) : mbAutoInitAndRelease(autoInitAndRelease) {}

CMenuReactor::~CMenuReactor() { Detach(); }

void CMenuReactor::Attach() {}
void CMenuReactor::Detach() {}
AcRxObject* CMenuReactor::Subject() const { return nullptr; }
bool CMenuReactor::IsAttached() const { return mbAutoInitAndRelease; }
