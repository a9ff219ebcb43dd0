#include "frame/menu_reactor.h"

#include <cwchar>
#include <new>

#include "commands/project_list.h"
#include "common/texts.h"

AcRxClass* CMenuReactor::gpDesc = nullptr;
bool partialCuiUnloaded = false;

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
      acrx_abort(L"%ls", kvs::text(kvs::kTextClassMismatch).c_str());
    }
  }
  gpDesc = newAcRxClass(L"CMenuReactor", L"AcApDocManagerReactor", 1, makeCMenuReactor, nullptr, nullptr);
}

AcRxObject* makeCMenuReactor() { return new (std::nothrow) CMenuReactor(true); }

CMenuReactor::CMenuReactor(bool autoInitAndRelease) : mbAutoInitAndRelease(autoInitAndRelease) {
  if (autoInitAndRelease) {
    if (AcApDocManager* docs = acDocManagerPtr())
      docs->addReactor(this);
    else
      mbAutoInitAndRelease = false;
  }
}

CMenuReactor::~CMenuReactor() { Detach(); }

void CMenuReactor::Attach() {
  Detach();
  if (!mbAutoInitAndRelease) {
    if (AcApDocManager* docs = acDocManagerPtr()) {
      docs->addReactor(this);
      mbAutoInitAndRelease = true;
    }
  }
}

void CMenuReactor::Detach() {
  if (mbAutoInitAndRelease) {
    if (AcApDocManager* docs = acDocManagerPtr()) {
      docs->removeReactor(this);
      mbAutoInitAndRelease = false;
    }
  }
}

AcApDocManager* CMenuReactor::Subject() const { return acDocManagerPtr(); }

bool CMenuReactor::IsAttached() const { return mbAutoInitAndRelease; }

namespace {

// Queued in the current document, to run after this notification as if typed.
void queueInCurrentDocument(const ACHAR* text) {
  if (AcApDocManager* docs = acDocManagerPtr()) docs->sendStringToExecute(docs->curDocument(), text, true, false, true);
}

}  // namespace

void CMenuReactor::documentLockModeChanged(AcApDocument* param2, AcAp::DocLockMode myPreviousMode,
                                           AcAp::DocLockMode myCurrentMode, AcAp::DocLockMode currentMode,
                                           const ACHAR* pGlobalCmdName) {
  if (!partialCuiUnloaded && pGlobalCmdName &&
      (std::wcsstr(pGlobalCmdName, L"QUIT") || std::wcsstr(pGlobalCmdName, L"EXIT"))) {
    veto();
    queueInCurrentDocument(L"(command \"_.cuiunload\" \"korvanta\") ");
    partialCuiUnloaded = true;
    deinit_projects();
    queueInCurrentDocument(L"_.QUIT ");
    return;
  }
  AcApDocManagerReactor::documentLockModeChanged(param2, myPreviousMode, myCurrentMode, currentMode,
                                                 pGlobalCmdName);
}
