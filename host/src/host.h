// Internal state of the simulated host. One instance per process.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "acadhost/host_api.h"
#include "accmd.h"
#include "rxclass.h"
#include "rxdict.h"
#include "rxdlinkr.h"
#include "rxboiler.h"
#include "rxclass.h"

namespace acadhost {

struct NoCaseLess {
  bool operator()(const std::wstring& a, const std::wstring& b) const { return _wcsicmp(a.c_str(), b.c_str()) < 0; }
};
bool equalNoCase(const std::wstring& a, const std::wstring& b);

struct Module {
  std::wstring path;
  std::wstring name;  // file name
  HMODULE handle = nullptr;
  AcRx::AppRetCode (*entry)(AcRx::AppMsgCode, void*) = nullptr;
  bool unlocked = false;
  bool mdiAware = false;
};

struct Command {
  std::wstring group, globalName, localName;
  Adesk::Int32 flags = 0;
  AcRxFunctionPtr func = nullptr;
};

using Builtin = std::function<void(const std::vector<std::wstring>& args)>;

class Host {
 public:
  static Host& get();

  // Output
  void print(const std::wstring& text);
  void ensureNewLine();
  int showMessageBox(const std::wstring& caption, const std::wstring& text, unsigned type);
  void event(const std::wstring& text) { events.push_back(text); }

  // Commands
  void runLine(const std::wstring& line);
  void execute(const std::wstring& name, const std::vector<std::wstring>& args);
  void queueString(const std::wstring& text) { pending.push_back(text); }
  void drainQueue();
  Command* findCommand(const std::wstring& name, bool globalOnly);
  void addBuiltin(const std::wstring& name, Builtin fn) { builtins[name] = std::move(fn); }

  // Modules
  bool loadModule(const std::wstring& path);
  bool unloadModule(const std::wstring& nameOrPath);
  void endSession();
  Module* moduleByAppId(void* appId);

  // State
  SessionOptions options;
  const ReleaseInfo* release = nullptr;
  std::wstring transcriptText;
  bool echo = true;
  std::vector<MessageBoxRecord> boxes;
  std::vector<std::wstring> events;
  std::map<std::wstring, std::wstring, NoCaseLess> sysvars;
  std::vector<Command> commandStack;
  std::map<std::wstring, Builtin, NoCaseLess> builtins;
  std::set<std::wstring, NoCaseLess> acadeBuiltins;  // commands plain AutoCAD does not have
  std::vector<std::unique_ptr<Module>> modules;
  std::deque<std::wstring> pending;
  bool quit = false;
  std::wstring lineRest;  // the typed line after the command name, unparsed
  bool lockVetoed = false;  // set by a document-manager reactor's veto() during a lock change
  std::map<std::wstring, int> lispFunctions;
  int funCode = -1;
  std::vector<MenuGroupInfo> loadedMenus;

  void runShell(const std::wstring& commandLine);

 private:
  Host();
  void reportLeftovers(const Module& module);
};

// Which loaded module holds this code address (null for the host's own).
HMODULE moduleOf(const void* address);

void registerRuntime();    // system registry, class dictionary, dynamic linker, command stack
void forgetModuleClasses(HMODULE module, std::vector<std::wstring>& leftovers);
std::wstring productId();          // "ACAD-7107", or "ACAD-7101" for plain AutoCAD
std::wstring productRoot();        // HKCU "Software\Autodesk\AutoCAD\R24.3\ACAD-7107:409"
std::wstring profileRoot();        // productRoot()'s "\Profiles\<<ACADE>>" (or plain AutoCAD's profile)
std::wstring productFolderName(int year);  // "AutoCAD Electrical 2024" or "AutoCAD 2024"
void ensureProfile(const ReleaseInfo& release, bool russian);
void loadFileSettings(const ReleaseInfo& release, bool russian);  // support, template, plot-log paths
// Loads the start-up components of the plug-in bundles that fit the running release.
void loadBundles();
std::wstring utf8ToWide(const std::string& bytes);
std::string wideToUtf8(const std::wstring& text);
std::vector<std::wstring> splitCommandLine(const std::wstring& line);
void addAcadeCommands(Host& host);  // ACADE's own commands, e.g. ACTIVEPROJECT

// The editor and the document manager (editor.cpp).
void registerEditor();
// Reports the lock change for a command to every document-manager reactor; false when one vetoed it.
bool lockDocumentFor(const std::wstring& globalName);
void editorCommandWillStart(const std::wstring& globalName);
void editorQuit();  // beginQuit, then quitWillStart
void forgetModuleReactors(HMODULE module, std::vector<std::wstring>& leftovers);
void evaluateLisp(const std::wstring& text);
void addMenuCommands(Host& host);  // CUILOAD, CUIUNLOAD, MENUGROUPS
void restoreMenuGroups();          // the profile's menu groups, at the start of a session

}  // namespace acadhost
