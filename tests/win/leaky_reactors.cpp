// A module that leaves an editor reactor and a document-manager reactor registered when it
// is unloaded, for the host's report of leftovers.
#include "aced.h"
#include "acdocman.h"
#include "rxdlinkr.h"

namespace {

class EditorWatcher : public AcEditorReactor {
 public:
  void commandWillStart(const ACHAR*) override { ++calls; }
  int calls = 0;
};

class DocumentWatcher : public AcApDocManagerReactor {
 public:
  void documentLockModeChanged(AcApDocument*, AcAp::DocLockMode, AcAp::DocLockMode, AcAp::DocLockMode,
                               const ACHAR*) override {
    ++calls;
  }
  int calls = 0;
};

}  // namespace

extern "C" AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* appId) {
  if (msg == AcRx::kInitAppMsg) {
    acrxDynamicLinker->unlockApplication(appId);
    acedEditor->addReactor(new EditorWatcher);
    acDocManagerPtr()->addReactor(new DocumentWatcher);
  }
  return AcRx::kRetOK;
}
