// The simulated ACADE host's own interface (not part of the SDK): what acade-sim's main
// program and the tests use to drive a session and to see what a user would see.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "acadhost/port.h"

namespace acadhost {

struct ReleaseInfo {
  int year;                  // 2015
  const wchar_t* vernum;     // _VERNUM text, e.g. "J.51.0.0 (UNICODE)"
  const wchar_t* rkey;       // "R20.0"
  const wchar_t* productId;  // "ACAD-E007"
  int apiMajor;              // ObjectARX API version this AutoCAD accepts
};

// The supported simulated releases, 2010 to 2026; null for any other year.
ACHOST_PORT const ReleaseInfo* findRelease(int year);
// By year ("2024") or release key ("R24.3", any case); null when none matches.
ACHOST_PORT const ReleaseInfo* findRelease(const std::wstring& yearOrKey);

struct SessionOptions {
  int release = 2015;
  bool russian = false;       // the Russian build (":419") instead of the English one (":409")
  bool plainAutocad = false;  // AutoCAD without the Electrical toolset: product id "...01", no ACADE profile
  std::wstring vernum;        // _VERNUM verbatim when not empty
  std::wstring project;       // ACADE's active project file
  std::vector<std::wstring> loads;
};

// acade-sim's whole program: options, session, script or standard input. Returns the exit status.
ACHOST_PORT int runSimulator(int argc, wchar_t** argv);

// Starts a session: the release's system variables, the product key and, on the first start
// of that build, its per-user profile. Returns false (and prints why) for an unknown release.
ACHOST_PORT bool startSession(const SessionOptions& options);
// "R20.0\ACAD-E007:409" or ":419" for the running session; "ACAD-E001" for plain AutoCAD.
ACHOST_PORT std::wstring productKey();
ACHOST_PORT const SessionOptions& sessionOptions();

// ARXLOAD / ARXUNLOAD. Failures are printed; the result tells whether it worked.
ACHOST_PORT bool loadModule(const std::wstring& path);
ACHOST_PORT bool unloadModule(const std::wstring& nameOrPath);
// Runs one command line as if typed, then whatever it queued. Echoes "Command: ...".
ACHOST_PORT void runLine(const std::wstring& line);
ACHOST_PORT bool quitRequested();
// Ends the session: every module gets kUnloadAppMsg and is freed, last loaded first.
ACHOST_PORT void endSession();

// What a user would see.
ACHOST_PORT std::wstring transcript();
ACHOST_PORT void clearTranscript();
ACHOST_PORT void setEcho(bool toStdout);  // transcript also written to standard output (default on)

struct MessageBoxRecord {
  std::wstring caption;
  std::wstring text;
  unsigned type;
};
ACHOST_PORT std::vector<MessageBoxRecord> messageBoxes();
ACHOST_PORT void clearMessageBoxes();

// Host calls made by modules, in order ("addCommand KVS_switch kvs_on kvs_on 1", ...).
ACHOST_PORT std::vector<std::wstring> events();
ACHOST_PORT void clearEvents();

struct CommandInfo {
  std::wstring group, globalName, localName;
  int flags;
};
ACHOST_PORT std::vector<CommandInfo> commands();

// Routes a module's calls of user32!MessageBoxW to the host's transcript. Done for every
// module the host loads; tests call it for programs that link plug-in code directly.
ACHOST_PORT void interceptMessageBoxes(HMODULE module);

ACHOST_PORT void setSysVar(const std::wstring& name, const std::wstring& value);

// Takes the editor out of the system registry, or acDocManagerPtr() to null, as a host without
// them would be; registered reactors stay registered. Every new session has both again.
ACHOST_PORT void setEditorAvailable(bool available);
ACHOST_PORT void setDocManagerAvailable(bool available);
// ACADE's active project file, as "ace_getactiveproject" reports it; empty for none.
ACHOST_PORT void setActiveProject(const std::wstring& path);
// Text queued with ads_queueexpr that the host has not run yet, oldest first; runPending()
// runs it as the host does once it is ready for a command.
ACHOST_PORT std::vector<std::wstring> pendingInput();
ACHOST_PORT void runPending();

// A button of a toolbar or a ribbon panel, as AutoCAD shows it: its macro's command, its label
// (the button's own name or text, else the macro's name), the macro's help string as its
// tooltip, and the names of the macro's images with whether the package holds them.
struct MenuButton {
  std::wstring command;  // e.g. "^C^C_kvs_on"
  std::wstring label;
  std::wstring tooltip;
  std::wstring smallImage, largeImage;  // empty when the macro names none
  bool smallImageFound = false, largeImageFound = false;
};
struct ToolbarInfo {
  std::wstring name;
  std::vector<MenuButton> buttons;
};
// A panel as a ribbon tab shows it: the tab's text, the panel's text and its buttons, row by row.
struct RibbonPanelInfo {
  std::wstring tab;
  std::wstring name;
  std::vector<MenuButton> buttons;
};
struct MenuGroupInfo {
  std::wstring name;  // as the customization file spells it
  std::wstring file;  // as CUILOAD was given it
  std::vector<ToolbarInfo> toolbars;
  std::vector<RibbonPanelInfo> panels;  // in the order of the tabs and their panel references
};
// The menu groups loaded with CUILOAD, in load order. They are kept in the build's profile
// (Profiles\<<ACADE>>\Menus) and loaded again when the next session starts.
ACHOST_PORT std::vector<MenuGroupInfo> menuGroups();
// Automation faults for tests: the raw accessor named (L"get_SupportPath", L"put_TemplateDwgPath",
// L"get_Files", ...) returns `hr` from now on; or the application gives no dispatch interface.
ACHOST_PORT void failAutomation(const std::wstring& accessor, HRESULT hr);
ACHOST_PORT void setAutomationMissing(bool missing);
ACHOST_PORT void clearAutomationFailures();
// References to the automation objects that callers still hold.
ACHOST_PORT long automationReferences();

}  // namespace acadhost
