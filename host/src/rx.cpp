// The runtime-class system and the system registry with its dynamic linker and command stack.
#include <cstdarg>
#include <cwchar>

#include "host.h"

using acadhost::Host;

struct AcRxClass::Impl {
  std::wstring name;
  std::wstring parentName;
  AcRxClass* parent = nullptr;
  AcRxObject* (*pseudoConstructor)() = nullptr;
  HMODULE owner = nullptr;
};

namespace {

// A plain name-to-object dictionary; the system registry and the class dictionary are two.
class Dictionary : public AcRxDictionary {
 public:
  AcRxObject* at(const ACHAR* key) const override {
    auto it = entries_.find(key ? key : L"");
    return it == entries_.end() ? nullptr : it->second;
  }
  AcRxObject* atPut(const ACHAR* key, AcRxObject* object) override {
    AcRxObject*& slot = entries_[key];
    AcRxObject* previous = slot;
    slot = object;
    return previous;
  }
  AcRxObject* remove(const ACHAR* key) override {
    auto it = entries_.find(key ? key : L"");
    if (it == entries_.end()) return nullptr;
    AcRxObject* previous = it->second;
    entries_.erase(it);
    return previous;
  }
  bool has(const ACHAR* key) const override { return entries_.count(key ? key : L"") != 0; }
  Adesk::UInt32 numEntries() const override { return static_cast<Adesk::UInt32>(entries_.size()); }
  const std::map<std::wstring, AcRxObject*>& entries() const { return entries_; }

 private:
  std::map<std::wstring, AcRxObject*> entries_;
};

Dictionary& systemRegistry() {
  static Dictionary* registry = new Dictionary;
  return *registry;
}

Dictionary& classDictionary() {
  static Dictionary* classes = new Dictionary;
  return *classes;
}

AcRxClass* makeClass(const std::wstring& name, const std::wstring& parent, AcRxObject* (*ctor)(), HMODULE owner) {
  auto* impl = new AcRxClass::Impl;
  impl->name = name;
  impl->parentName = parent;
  impl->pseudoConstructor = ctor;
  impl->owner = owner;
  auto* cls = new AcRxClass(impl);
  classDictionary().atPut(name.c_str(), cls);
  return cls;
}

void linkParents() {
  for (auto& [name, object] : classDictionary().entries()) {
    auto* cls = static_cast<AcRxClass*>(object);
    if (!cls->impl()->parentName.empty())
      cls->impl()->parent = static_cast<AcRxClass*>(classDictionary().at(cls->impl()->parentName.c_str()));
  }
}

AcRxClass* hostClass(const wchar_t* name, const wchar_t* parent) {
  auto* cls = static_cast<AcRxClass*>(classDictionary().at(name));
  if (!cls) {
    cls = makeClass(name, parent ? parent : L"", nullptr, nullptr);
    linkParents();
  }
  return cls;
}

class DynamicLinker : public AcRxDynamicLinker {
 public:
  bool loadModule(const ACHAR* fileName, bool, bool) override { return Host::get().loadModule(fileName); }
  bool unloadModule(const ACHAR* fileName, bool) override { return Host::get().unloadModule(fileName); }
  bool unlockApplication(void* appId) const override {
    Host::get().event(L"unlockApplication");
    auto* m = Host::get().moduleByAppId(appId);
    if (!m) return false;
    m->unlocked = true;
    return true;
  }
  bool lockApplication(void* appId) const override {
    auto* m = Host::get().moduleByAppId(appId);
    if (!m) return false;
    m->unlocked = false;
    return true;
  }
  bool isApplicationLocked(const ACHAR* name) const override {
    for (auto& m : Host::get().modules)
      if (acadhost::equalNoCase(m->name, name) || acadhost::equalNoCase(m->path, name)) return !m->unlocked;
    return false;
  }
  bool registerAppMDIAware(void* appId) const override {
    Host::get().event(L"registerAppMDIAware");
    auto* m = Host::get().moduleByAppId(appId);
    if (!m) return false;
    m->mdiAware = true;
    return true;
  }
  bool registerAppNotMDIAware(void* appId) const override {
    auto* m = Host::get().moduleByAppId(appId);
    if (!m) return false;
    m->mdiAware = false;
    return true;
  }
};

class CommandEntry : public AcEdCommand {
 public:
  explicit CommandEntry(const acadhost::Command& c) : c_(c) {}
  AcRxFunctionPtr functionAddr() const override { return c_.func; }
  Adesk::Int32 commandFlags() const override { return c_.flags; }
  const ACHAR* globalName() const override { return c_.globalName.c_str(); }
  const ACHAR* localName() const override { return c_.localName.c_str(); }
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wignored-qualifiers"
  const HINSTANCE resourceHandle() const override { return nullptr; }
#pragma GCC diagnostic pop

 private:
  acadhost::Command c_;
};

class CommandStack : public AcEdCommandStack {
 public:
  Acad::ErrorStatus addCommand(const ACHAR* group, const ACHAR* globalName, const ACHAR* localName,
                               Adesk::Int32 flags, AcRxFunctionPtr func, AcEdUIContext*, int, HINSTANCE,
                               AcEdCommand** ret) override {
    if (ret) *ret = nullptr;
    if (!group || !globalName || !func) return Acad::eInvalidInput;
    std::wstring local = localName ? localName : globalName;
    Host::get().event(std::wstring(L"addCommand ") + group + L" " + globalName + L" " + local + L" " +
                      std::to_wstring(flags));
    for (auto& c : Host::get().commandStack)
      if (acadhost::equalNoCase(c.group, group) && acadhost::equalNoCase(c.globalName, globalName))
        return Acad::eDuplicateKey;
    Host::get().commandStack.push_back({group, globalName, local, flags, func});
    return Acad::eOk;
  }
  AcEdCommand* lookupGlobalCmd(const ACHAR* name) override { return lookupCmd(name, true); }
  AcEdCommand* lookupLocalCmd(const ACHAR* name) override { return lookupCmd(name, false); }
  AcEdCommand* lookupCmd(const ACHAR* name, bool globalFlag) override {
    auto* c = Host::get().findCommand(name ? name : L"", globalFlag);
    if (!c) return nullptr;
    lookedUp_.reset(new CommandEntry(*c));
    return lookedUp_.get();
  }
  Acad::ErrorStatus removeCmd(const ACHAR* group, const ACHAR* globalName) override {
    Host::get().event(std::wstring(L"removeCmd ") + (group ? group : L"") + L" " + (globalName ? globalName : L""));
    auto& stack = Host::get().commandStack;
    for (auto it = stack.begin(); it != stack.end(); ++it) {
      if (acadhost::equalNoCase(it->group, group ? group : L"") &&
          acadhost::equalNoCase(it->globalName, globalName ? globalName : L"")) {
        stack.erase(it);
        return Acad::eOk;
      }
    }
    return Acad::eKeyNotFound;
  }
  Acad::ErrorStatus removeGroup(const ACHAR* group) override {
    auto& stack = Host::get().commandStack;
    std::size_t before = stack.size();
    for (auto it = stack.begin(); it != stack.end();)
      it = acadhost::equalNoCase(it->group, group ? group : L"") ? stack.erase(it) : it + 1;
    return before == stack.size() ? Acad::eKeyNotFound : Acad::eOk;
  }

 private:
  std::unique_ptr<CommandEntry> lookedUp_;
};

}  // namespace

// AcRxObject and AcRxClass

AcRxObject::~AcRxObject() = default;
AcRxClass* AcRxObject::desc() { return hostClass(L"AcRxObject", nullptr); }
AcRxClass* AcRxObject::isA() const { return AcRxObject::desc(); }
bool AcRxObject::isKindOf(const AcRxClass* aClass) const {
  for (AcRxClass* c = isA(); c; c = c->myParent())
    if (c == aClass) return true;
  return false;
}

AcRxClass::AcRxClass(Impl* impl) : impl_(impl) {}
AcRxClass::~AcRxClass() { delete impl_; }
AcRxClass* AcRxClass::desc() { return hostClass(L"AcRxClass", L"AcRxObject"); }
AcRxClass* AcRxClass::isA() const { return AcRxClass::desc(); }
const ACHAR* AcRxClass::name() const { return impl_->name.c_str(); }
AcRxClass* AcRxClass::myParent() const { return impl_->parent; }
AcRxObject* AcRxClass::create() { return impl_->pseudoConstructor ? impl_->pseudoConstructor() : nullptr; }
bool AcRxClass::isDerivedFrom(const AcRxClass* other) const {
  for (const AcRxClass* c = this; c; c = c->myParent())
    if (c == other) return true;
  return false;
}

AcRxClass* AcRxDictionary::desc() { return hostClass(L"AcRxDictionary", L"AcRxObject"); }
AcRxClass* AcRxDictionary::isA() const { return AcRxDictionary::desc(); }
AcRxClass* AcRxDynamicLinker::desc() { return hostClass(L"AcRxDynamicLinker", L"AcRxObject"); }
AcRxClass* AcRxDynamicLinker::isA() const { return AcRxDynamicLinker::desc(); }
AcRxClass* AcEdCommand::desc() { return hostClass(L"AcEdCommand", L"AcRxObject"); }
AcRxClass* AcEdCommand::isA() const { return AcEdCommand::desc(); }
AcRxClass* AcEdCommandStack::desc() { return hostClass(L"AcEdCommandStack", L"AcRxObject"); }
AcRxClass* AcEdCommandStack::isA() const { return AcEdCommandStack::desc(); }

AcRxDictionary* acrxSysRegistry() { return &systemRegistry(); }

AcRxClass* newAcRxClass(const ACHAR* className, const ACHAR* parentClassName, int proxyFlags,
                        AcRxObject* (*pseudoConstructor)(), const ACHAR* dxfName, const ACHAR* appName) {
  (void)proxyFlags, (void)dxfName, (void)appName;
  std::wstring name = className ? className : L"";
  Host::get().event(L"newAcRxClass " + name + L" " + (parentClassName ? parentClassName : L""));
  if (auto* existing = static_cast<AcRxClass*>(classDictionary().at(name.c_str()))) return existing;
  return makeClass(name, parentClassName ? parentClassName : L"", pseudoConstructor,
                   acadhost::moduleOf(reinterpret_cast<const void*>(pseudoConstructor)));
}

void deleteAcRxClass(AcRxClass* cls) {
  if (!cls) return;
  Host::get().event(std::wstring(L"deleteAcRxClass ") + cls->name());
  classDictionary().remove(cls->name());
  for (auto& [name, object] : classDictionary().entries()) {
    auto* other = static_cast<AcRxClass*>(object);
    if (other->impl()->parent == cls) other->impl()->parent = nullptr;
  }
  delete cls;
}

void acrxBuildClassHierarchy() {
  Host::get().event(L"acrxBuildClassHierarchy");
  linkParents();
}

void acrx_abort(const ACHAR* format, ...) {
  wchar_t text[1024];
  va_list ap;
  va_start(ap, format);
  vswprintf(text, 1024, format, ap);
  va_end(ap);
  Host::get().ensureNewLine();
  Host::get().print(std::wstring(L"FATAL ERROR: ") + text + L"\n");
  ExitProcess(3);
}

namespace acadhost {

void registerRuntime() {
  // Classes the host itself provides, so that desc() of each resolves and parents link.
  hostClass(L"AcRxObject", nullptr);
  hostClass(L"AcRxClass", L"AcRxObject");
  hostClass(L"AcRxDictionary", L"AcRxObject");
  hostClass(L"AcRxDynamicLinker", L"AcRxObject");
  hostClass(L"AcEdCommand", L"AcRxObject");
  hostClass(L"AcEdCommandStack", L"AcRxObject");
  hostClass(L"AcRxEventReactor", L"AcRxObject");
  hostClass(L"AcEditorReactor", L"AcRxEventReactor");
  hostClass(L"AcApDocManagerReactor", L"AcRxObject");
  hostClass(L"AcRxEvent", L"AcRxObject");
  hostClass(L"AcEditor", L"AcRxEvent");
  hostClass(L"AcApDocument", L"AcRxObject");
  hostClass(L"AcApDocManager", L"AcRxObject");
  systemRegistry().atPut(ACRX_CLASS_DICTIONARY, &classDictionary());
  systemRegistry().atPut(ACRX_DYNAMIC_LINKER, new DynamicLinker);
  systemRegistry().atPut(ACRX_COMMAND_DOCK, new CommandStack);
  registerEditor();
}

void forgetModuleClasses(HMODULE module, std::vector<std::wstring>& leftovers) {
  std::vector<AcRxClass*> owned;
  for (auto& [name, object] : classDictionary().entries()) {
    auto* cls = static_cast<AcRxClass*>(object);
    if (cls->impl()->owner == module) owned.push_back(cls);
  }
  for (auto* cls : owned) {
    leftovers.push_back(std::wstring(L"runtime class ") + cls->name());
    classDictionary().remove(cls->name());
    for (auto& [name, object] : classDictionary().entries()) {
      auto* other = static_cast<AcRxClass*>(object);
      if (other->impl()->parent == cls) other->impl()->parent = nullptr;
    }
    delete cls;
  }
}

}  // namespace acadhost
