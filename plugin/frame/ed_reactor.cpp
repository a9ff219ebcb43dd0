#include "frame/ed_reactor.h"

CEdReactor::CEdReactor(bool autoInitAndRelease) : mbAutoInitAndRelease(autoInitAndRelease) {
  if (autoInitAndRelease) {
    if (AcEditor* editor = acedEditor)
      editor->addReactor(this);
    else
      mbAutoInitAndRelease = false;
  }
}

CEdReactor::~CEdReactor() { Detach(); }

void CEdReactor::dwgFileOpened(AcDbDatabase* param2, ACHAR* fileName) {
  AcEditorReactor::dwgFileOpened(param2, fileName);
}
void CEdReactor::initialDwgFileOpenComplete(AcDbDatabase* pDwg) { AcEditorReactor::initialDwgFileOpenComplete(pDwg); }
void CEdReactor::commandWillStart(const ACHAR* cmdStr) { AcEditorReactor::commandWillStart(cmdStr); }
void CEdReactor::beginDwgOpen(ACHAR* filename) { AcEditorReactor::beginDwgOpen(filename); }
void CEdReactor::endDwgOpen(const ACHAR* filename, AcDbDatabase* pDb) { AcEditorReactor::endDwgOpen(filename, pDb); }
void CEdReactor::beginQuit() { AcEditorReactor::beginQuit(); }
void CEdReactor::quitWillStart() { AcEditorReactor::quitWillStart(); }

void CEdReactor::Attach() {
  Detach();
  if (!mbAutoInitAndRelease) {
    if (AcEditor* editor = acedEditor) {
      editor->addReactor(this);
      mbAutoInitAndRelease = true;
    }
  }
}

void CEdReactor::Detach() {
  if (mbAutoInitAndRelease) {
    if (AcEditor* editor = acedEditor) {
      editor->removeReactor(this);
      mbAutoInitAndRelease = false;
    }
  }
}

AcEditor* CEdReactor::Subject() const { return acedEditor; }

bool CEdReactor::IsAttached() const { return mbAutoInitAndRelease; }
