// The editor and the document manager: their reactors, the one document, lock changes before
// each command, and strings queued to run as if typed.
#include <algorithm>

#include "aced.h"
#include "acdocman.h"
#include "host.h"

using acadhost::Host;

namespace {

// Reactors in registration order. Notifications walk a copy and skip whatever a reactor
// removed meanwhile, so a reactor may detach itself (or another) while being notified.
template <typename Reactor>
class ReactorList {
 public:
  void add(Reactor* r) {
    if (r && std::find(items_.begin(), items_.end(), r) == items_.end()) items_.push_back(r);
  }
  void remove(Reactor* r) { items_.erase(std::remove(items_.begin(), items_.end(), r), items_.end()); }
  bool has(Reactor* r) const { return std::find(items_.begin(), items_.end(), r) != items_.end(); }
  template <typename Fn>
  void notify(Fn fn) {
    std::vector<Reactor*> snapshot = items_;
    for (Reactor* r : snapshot)
      if (has(r)) fn(r);
  }
  // Drops the reactors whose code lies in `module` and names them in `leftovers`.
  void forget(HMODULE module, const wchar_t* what, std::vector<std::wstring>& leftovers) {
    for (auto it = items_.begin(); it != items_.end();) {
      const void* vtable = *reinterpret_cast<void* const*>(*it);
      if (acadhost::moduleOf(vtable) == module) {
        leftovers.push_back(what);
        it = items_.erase(it);
      } else {
        ++it;
      }
    }
  }

 private:
  std::vector<Reactor*> items_;
};

class Editor : public AcEditor {
 public:
  void addReactor(AcRxEventReactor* r) override {
    Host::get().event(L"editor addReactor");
    reactors.add(r);
  }
  void removeReactor(AcRxEventReactor* r) override {
    Host::get().event(L"editor removeReactor");
    reactors.remove(r);
  }
  template <typename Fn>
  void notify(Fn fn) {
    reactors.notify([&](AcRxEventReactor* r) {
      if (auto* editorReactor = AcEditorReactor::cast(r)) fn(editorReactor);
    });
  }
  ReactorList<AcRxEventReactor> reactors;
};

class Document : public AcApDocument {
 public:
  const ACHAR* fileName() const override { return L"Drawing1.dwg"; }
  const ACHAR* docTitle() const override { return L"Drawing1"; }
  AcAp::DocLockMode myLockMode() const override { return mode; }
  AcAp::DocLockMode mode = AcAp::kNotLocked;
};

class DocManager : public AcApDocManager {
 public:
  AcApDocument* curDocument() const override { return &document(); }
  AcApDocument* mdiActiveDocument() const override { return &document(); }
  int documentCount() const override { return 1; }
  void addReactor(AcApDocManagerReactor* r) override {
    Host::get().event(L"docManager addReactor");
    reactors.add(r);
  }
  void removeReactor(AcApDocManagerReactor* r) override {
    Host::get().event(L"docManager removeReactor");
    reactors.remove(r);
  }
  Acad::ErrorStatus sendStringToExecute(AcApDocument* doc, const ACHAR* text, bool, bool, bool) override {
    // One document, always active: the activation flags change nothing, and every queued line
    // is echoed as the command line echoes what is typed.
    if (!text) return Acad::eNullPtr;
    if (doc != &document()) return Acad::eInvalidInput;
    Host::get().event(std::wstring(L"sendStringToExecute ") + text);
    Host::get().queueString(text);
    return Acad::eOk;
  }
  static Document& document() {
    static Document* doc = new Document;
    return *doc;
  }
  ReactorList<AcApDocManagerReactor> reactors;
};

Editor& editor() {
  static Editor* e = new Editor;
  return *e;
}

DocManager& docManager() {
  static DocManager* d = new DocManager;
  return *d;
}

bool docManagerAvailable = true;

}  // namespace

AcRxClass* AcRxEventReactor::desc() { return AcRxClass::cast(acrxClassDictionary->at(L"AcRxEventReactor")); }
AcRxClass* AcRxEventReactor::isA() const { return AcRxEventReactor::desc(); }
AcRxClass* AcRxEvent::desc() { return AcRxClass::cast(acrxClassDictionary->at(L"AcRxEvent")); }
AcRxClass* AcRxEvent::isA() const { return AcRxEvent::desc(); }
AcRxClass* AcEditor::desc() { return AcRxClass::cast(acrxClassDictionary->at(L"AcEditor")); }
AcRxClass* AcEditor::isA() const { return AcEditor::desc(); }
AcRxClass* AcEditorReactor::desc() { return AcRxClass::cast(acrxClassDictionary->at(L"AcEditorReactor")); }
AcRxClass* AcEditorReactor::isA() const { return AcEditorReactor::desc(); }
AcRxClass* AcApDocument::desc() { return AcRxClass::cast(acrxClassDictionary->at(L"AcApDocument")); }
AcRxClass* AcApDocument::isA() const { return AcApDocument::desc(); }
AcRxClass* AcApDocManager::desc() { return AcRxClass::cast(acrxClassDictionary->at(L"AcApDocManager")); }
AcRxClass* AcApDocManager::isA() const { return AcApDocManager::desc(); }

// The base handlers do nothing but leave a trace, so that a reactor passing a notification on
// can be told from one that swallows it.
static void baseEvent(const wchar_t* what, const ACHAR* name) {
  Host::get().event(std::wstring(L"editor base ") + what + (name ? std::wstring(L" ") + name : std::wstring()));
}
void AcEditorReactor::commandWillStart(const ACHAR* cmdStr) { baseEvent(L"commandWillStart", cmdStr); }
void AcEditorReactor::commandEnded(const ACHAR* cmdStr) { baseEvent(L"commandEnded", cmdStr); }
void AcEditorReactor::commandCancelled(const ACHAR* cmdStr) { baseEvent(L"commandCancelled", cmdStr); }
void AcEditorReactor::commandFailed(const ACHAR* cmdStr) { baseEvent(L"commandFailed", cmdStr); }
void AcEditorReactor::beginDwgOpen(ACHAR* filename) { baseEvent(L"beginDwgOpen", filename); }
void AcEditorReactor::endDwgOpen(const ACHAR* filename, AcDbDatabase*) { baseEvent(L"endDwgOpen", filename); }
void AcEditorReactor::dwgFileOpened(AcDbDatabase*, ACHAR* fileName) { baseEvent(L"dwgFileOpened", fileName); }
void AcEditorReactor::initialDwgFileOpenComplete(AcDbDatabase*) { baseEvent(L"initialDwgFileOpenComplete", nullptr); }
void AcEditorReactor::beginQuit() { baseEvent(L"beginQuit", nullptr); }
void AcEditorReactor::quitAborted() { baseEvent(L"quitAborted", nullptr); }
void AcEditorReactor::quitWillStart() { baseEvent(L"quitWillStart", nullptr); }

AcApDocManager* acDocManagerPtr() { return docManagerAvailable ? &docManager() : nullptr; }

namespace acadhost {

void registerEditor() { acrxSysRegistry()->atPut(ACED_EDITOR_OBJ, &editor()); }

void setEditorAvailable(bool available) {
  if (available)
    registerEditor();
  else
    acrxSysRegistry()->remove(ACED_EDITOR_OBJ);
}

void setDocManagerAvailable(bool available) { docManagerAvailable = available; }

bool lockDocumentFor(const std::wstring& globalName) {
  Host& host = Host::get();
  Document& doc = DocManager::document();
  AcAp::DocLockMode before = doc.mode;
  const ACHAR* name = globalName.c_str();
  docManager().reactors.notify([&](AcApDocManagerReactor* r) {
    r->documentLockModeWillChange(&doc, before, AcAp::kWrite, AcAp::kWrite, name);
  });
  host.lockVetoed = false;
  doc.mode = AcAp::kWrite;
  docManager().reactors.notify([&](AcApDocManagerReactor* r) {
    r->documentLockModeChanged(&doc, before, AcAp::kWrite, AcAp::kWrite, name);
  });
  bool vetoed = host.lockVetoed;
  host.lockVetoed = false;
  doc.mode = before;
  if (vetoed) {
    host.event(L"lock vetoed " + globalName);
    docManager().reactors.notify([&](AcApDocManagerReactor* r) { r->documentLockModeChangeVetoed(&doc, name); });
  }
  return !vetoed;
}

void editorCommandWillStart(const std::wstring& globalName) {
  editor().notify([&](AcEditorReactor* r) { r->commandWillStart(globalName.c_str()); });
}

void editorQuit() {
  editor().notify([](AcEditorReactor* r) { r->beginQuit(); });
  editor().notify([](AcEditorReactor* r) { r->quitWillStart(); });
}

void forgetModuleReactors(HMODULE module, std::vector<std::wstring>& leftovers) {
  editor().reactors.forget(module, L"editor reactor", leftovers);
  docManager().reactors.forget(module, L"document-manager reactor", leftovers);
}

}  // namespace acadhost
