// Document-manager reactors' base behaviour.
#include "acdocman.h"
#include "host.h"

AcRxClass* AcApDocManagerReactor::desc() { return AcRxClass::cast(acrxClassDictionary->at(L"AcApDocManagerReactor")); }
AcRxClass* AcApDocManagerReactor::isA() const { return AcApDocManagerReactor::desc(); }

void AcApDocManagerReactor::documentCreateStarted(AcApDocument*) {}
void AcApDocManagerReactor::documentCreated(AcApDocument*) {}
void AcApDocManagerReactor::documentToBeDestroyed(AcApDocument*) {}
void AcApDocManagerReactor::documentLockModeWillChange(AcApDocument*, AcAp::DocLockMode, AcAp::DocLockMode,
                                                       AcAp::DocLockMode, const ACHAR*) {}
void AcApDocManagerReactor::documentLockModeChangeVetoed(AcApDocument*, const ACHAR*) {}
void AcApDocManagerReactor::documentLockModeChanged(AcApDocument*, AcAp::DocLockMode, AcAp::DocLockMode,
                                                    AcAp::DocLockMode, const ACHAR* pGlobalCmdName) {
  acadhost::Host::get().event(std::wstring(L"documentLockModeChanged base ") + (pGlobalCmdName ? pGlobalCmdName : L""));
}
void AcApDocManagerReactor::documentBecameCurrent(AcApDocument*) {}
void AcApDocManagerReactor::documentActivated(AcApDocument*) {}

Acad::ErrorStatus AcApDocManagerReactor::veto() {
  acadhost::Host::get().event(L"veto");
  acadhost::Host::get().lockVetoed = true;
  return Acad::eOk;
}
