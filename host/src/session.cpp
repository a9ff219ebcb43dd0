// The command line and the module loader of the simulated session.
#include <cwctype>

#include "host.h"
#include "win32/system_message.h"

namespace acadhost {

bool equalNoCase(const std::wstring& a, const std::wstring& b) { return _wcsicmp(a.c_str(), b.c_str()) == 0; }

HMODULE moduleOf(const void* address) {
  HMODULE module = nullptr;
  if (!address || !GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                      static_cast<LPCWSTR>(address), &module))
    return nullptr;
  return module;
}

Host::Host() {
  builtins[L"ARXLOAD"] = [this](const std::vector<std::wstring>& args) {
    if (args.empty()) { print(L"ARXLOAD needs the file name of an ObjectARX application.\n"); return; }
    loadModule(args[0]);
  };
  builtins[L"ARXUNLOAD"] = [this](const std::vector<std::wstring>& args) {
    if (args.empty()) { print(L"ARXUNLOAD needs the name of a loaded application.\n"); return; }
    unloadModule(args[0]);
  };
  auto quitCommand = [this](const std::vector<std::wstring>&) {
    editorQuit();
    quit = true;
  };
  builtins[L"QUIT"] = quitCommand;
  // SHELL runs the rest of the line with the command interpreter, as AutoCAD's SHELL does.
  auto shellCommand = [this](const std::vector<std::wstring>&) { runShell(lineRest); };
  builtins[L"SHELL"] = shellCommand;
  builtins[L"SH"] = shellCommand;
  builtins[L"EXIT"] = quitCommand;
  addAcadeCommands(*this);
  addMenuCommands(*this);
}

Host& Host::get() {
  static Host* host = new Host;
  static bool runtimeReady = false;
  if (!runtimeReady) {
    runtimeReady = true;
    registerRuntime();
  }
  return *host;
}

std::vector<std::wstring> splitCommandLine(const std::wstring& line) {
  std::vector<std::wstring> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && std::iswspace(line[i])) ++i;
    if (i == line.size()) break;
    std::wstring word;
    if (line[i] == L'"') {
      ++i;
      while (i < line.size() && line[i] != L'"') word += line[i++];
      if (i < line.size()) ++i;
    } else {
      while (i < line.size() && !std::iswspace(line[i])) word += line[i++];
    }
    words.push_back(word);
  }
  return words;
}

Command* Host::findCommand(const std::wstring& name, bool globalOnly) {
  for (auto& c : commandStack)
    if (equalNoCase(c.globalName, name)) return &c;
  if (!globalOnly)
    for (auto& c : commandStack)
      if (equalNoCase(c.localName, name)) return &c;
  return nullptr;
}

void Host::runLine(const std::wstring& rawLine) {
  std::wstring line = rawLine;
  while (!line.empty() && (line.back() == L'\r' || line.back() == L' ' || line.back() == L'\t')) line.pop_back();
  ensureNewLine();
  print(L"Command: " + line + L"\n");
  if (line.empty()) return;
  if (line[0] == L'(') {
    evaluateLisp(line);
    return;
  }
  std::vector<std::wstring> words = splitCommandLine(line);
  if (words.empty()) return;
  std::wstring name = words[0];
  words.erase(words.begin());
  std::size_t rest = line.find_first_not_of(L" \t", line.find_first_of(L" \t", line.find_first_not_of(L" \t")));
  lineRest = rest == std::wstring::npos ? L"" : line.substr(rest);
  execute(name, words);
}

void Host::execute(const std::wstring& typed, const std::vector<std::wstring>& args) {
  // "_" asks for the global (English) name, "." for the built-in command.
  std::wstring name = typed;
  bool globalOnly = false, builtinOnly = false;
  while (!name.empty() && (name[0] == L'_' || name[0] == L'.')) {
    (name[0] == L'_' ? globalOnly : builtinOnly) = true;
    name.erase(0, 1);
  }
  auto builtin = builtins.find(name);
  if (builtin != builtins.end() && options.plainAutocad && acadeBuiltins.count(name)) builtin = builtins.end();
  Command* command = builtin == builtins.end() && !builtinOnly ? findCommand(name, globalOnly) : nullptr;
  if (builtin == builtins.end() && !command) {
    print(L"Unknown command \"" + typed + L"\".  Press F1 for help.\n");
    return;
  }
  // The document is locked for every command; a reactor that vetoes the lock stops the command
  // and nothing is printed for it.
  std::wstring globalName = command ? command->globalName : builtin->first;
  if (!lockDocumentFor(globalName)) return;
  editorCommandWillStart(globalName);
  if (builtin != builtins.end()) {
    Builtin run = builtin->second;
    run(args);
    return;
  }
  // Looked up again: a reactor may have changed the command stack while it was notified.
  if (Command* again = findCommand(name, globalOnly)) {
    AcRxFunctionPtr handler = again->func;
    handler();
  }
}

void Host::drainQueue() {
  while (!pending.empty() && !quit) {
    std::wstring next = pending.front();
    pending.pop_front();
    runLine(next);
  }
}

Module* Host::moduleByAppId(void* appId) {
  for (auto& m : modules)
    if (m.get() == appId) return m.get();
  return nullptr;
}

static std::wstring fileNameOf(const std::wstring& path) {
  std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

static std::wstring systemMessage(DWORD code) {
  std::wstring text;
  return kvs::system_text(code, 0, text) ? text : L"error " + std::to_wstring(code);
}

bool Host::loadModule(const std::wstring& path) {
  std::wstring name = fileNameOf(path);
  for (auto& m : modules) {
    if (equalNoCase(m->name, name)) {
      print(L"\"" + name + L"\" is already loaded.\n");
      return true;
    }
  }
  HMODULE handle = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (!handle) {
    print(L"Unable to load " + path + L" file: " + systemMessage(GetLastError()) + L"\n");
    return false;
  }
  interceptMessageBoxes(handle);
  auto entry = reinterpret_cast<AcRx::AppRetCode (*)(AcRx::AppMsgCode, void*)>(
      reinterpret_cast<void*>(GetProcAddress(handle, "acrxEntryPoint")));
  auto apiVersion = reinterpret_cast<int (*)()>(reinterpret_cast<void*>(GetProcAddress(handle, "acrxGetApiVersion")));
  if (!entry || !apiVersion) {
    print(L"Unable to load " + path + L" file: not an ObjectARX application.\n");
    FreeLibrary(handle);
    return false;
  }
  int version = apiVersion();
  int needed = release ? release->apiMajor : 20;
  if ((version >> 16) != needed) {
    print(L"Unable to load " + path + L" file: incompatible version of ObjectARX application (API " +
          std::to_wstring(version >> 16) + L"." + std::to_wstring(version & 0xFFFF) + L", this AutoCAD needs " +
          std::to_wstring(needed) + L".x).\n");
    FreeLibrary(handle);
    return false;
  }
  auto module = std::make_unique<Module>();
  module->path = path;
  module->name = name;
  module->handle = handle;
  module->entry = entry;
  Module* appId = module.get();
  modules.push_back(std::move(module));
  appId->entry(AcRx::kInitAppMsg, appId);
  return true;
}

bool Host::unloadModule(const std::wstring& nameOrPath) {
  for (auto it = modules.begin(); it != modules.end(); ++it) {
    Module* m = it->get();
    if (!equalNoCase(m->name, nameOrPath) && !equalNoCase(m->path, nameOrPath) &&
        !equalNoCase(m->name, fileNameOf(nameOrPath)))
      continue;
    if (!m->unlocked) {
      print(L"Unable to unload " + m->name + L": the application is locked.\n");
      return false;
    }
    m->entry(AcRx::kUnloadAppMsg, m);
    reportLeftovers(*m);
    HMODULE handle = m->handle;
    std::wstring name = m->name;
    modules.erase(it);
    FreeLibrary(handle);
    print(name + L" successfully unloaded.\n");
    return true;
  }
  print(L"\"" + nameOrPath + L"\" is not loaded.\n");
  return false;
}

void Host::reportLeftovers(const Module& module) {
  // Whatever a module leaves registered would call into freed code: report it and drop it.
  std::vector<std::wstring> leftovers;
  for (auto it = commandStack.begin(); it != commandStack.end();) {
    if (moduleOf(reinterpret_cast<const void*>(it->func)) == module.handle) {
      leftovers.push_back(L"command " + it->group + L" " + it->globalName);
      it = commandStack.erase(it);
    } else {
      ++it;
    }
  }
  forgetModuleClasses(module.handle, leftovers);
  forgetModuleReactors(module.handle, leftovers);
  for (auto& what : leftovers) {
    ensureNewLine();
    print(L"acade-sim: error: " + module.name + L" was freed with its " + what + L" still registered.\n");
  }
}

void Host::endSession() {
  while (!modules.empty()) {
    Module* m = modules.back().get();
    m->unlocked = true;  // AutoCAD unloads every application when it ends
    unloadModule(m->name);
  }
}

bool loadModule(const std::wstring& path) {
  bool ok = Host::get().loadModule(path);
  Host::get().drainQueue();
  return ok;
}
bool unloadModule(const std::wstring& nameOrPath) { return Host::get().unloadModule(nameOrPath); }
void runLine(const std::wstring& line) {
  Host::get().runLine(line);
  Host::get().drainQueue();
}
bool quitRequested() { return Host::get().quit; }
void endSession() { Host::get().endSession(); }

std::vector<CommandInfo> commands() {
  std::vector<CommandInfo> out;
  for (auto& c : Host::get().commandStack) out.push_back({c.group, c.globalName, c.localName, c.flags});
  return out;
}

void setSysVar(const std::wstring& name, const std::wstring& value) { Host::get().sysvars[name] = value; }

}  // namespace acadhost
