// Partial menus: CUILOAD, CUIUNLOAD, MENUGROUPS and acedIsMenuGroupLoaded. A CUIx file is a
// ZIP package (read with MiniZip) of customization parts (XML, read with XmlLite) and the
// images they name: MenuGroup.cui holds the group and its macros, ToolbarRoot.cui the
// toolbars and RibbonRoot.cui the ribbon's tabs and panels; a part may also hold the roots of
// the others, as a single-part package does. Loaded groups are kept in the profile, so the
// next session has them too.
#include <shlwapi.h>
#include <xmllite.h>

#include <cctype>
#include <map>

#include "aced.h"
#include "host.h"
#include "win32/handles.h"
#include "win32/registry.h"
#include "xml_reader.h"
#include "unzip.h"
// after unzip.h, which brings the zlib and ioapi declarations it uses
#include "iowin32.h"

namespace acadhost {

namespace {

const char kCustomizationPart[] = "MenuGroup.cui";
// The parts read after MenuGroup.cui when the package has them.
const char* const kRootParts[] = {"ToolbarRoot.cui", "RibbonRoot.cui"};

struct ZipFile {
  unzFile z = nullptr;
  ~ZipFile() {
    if (z) unzClose(z);
  }
};

std::wstring profileKey(const wchar_t* sub) {
  return profileRoot() + L"\\" + sub;
}

std::string lowered(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Every part of a ZIP package by its name in lower case (package names ignore letter case),
// each checked against its CRC; empty why on success.
std::map<std::string, std::string> readParts(const std::wstring& path, std::wstring& why) {
  zlib_filefunc64_def io;
  fill_win32_filefunc64W(&io);
  ZipFile zip;
  zip.z = unzOpen2_64(path.c_str(), &io);
  std::map<std::string, std::string> parts;
  if (!zip.z) {
    why = L"it is not a CUIx package";
    return parts;
  }
  for (int rc = unzGoToFirstFile(zip.z); rc == UNZ_OK; rc = unzGoToNextFile(zip.z)) {
    char name[512] = {};
    unz_file_info64 info;
    if (unzGetCurrentFileInfo64(zip.z, &info, name, sizeof name - 1, nullptr, 0, nullptr, 0) != UNZ_OK ||
        unzOpenCurrentFile(zip.z) != UNZ_OK) {
      why = L"the package is damaged";
      return {};
    }
    std::string bytes;
    char chunk[16384];
    int got = 0;
    while ((got = unzReadCurrentFile(zip.z, chunk, sizeof chunk)) > 0) bytes.append(chunk, static_cast<std::size_t>(got));
    // Closing the entry is what compares the CRC.
    if (unzCloseCurrentFile(zip.z) != UNZ_OK || got < 0) {
      why = L"the package is damaged";
      return {};
    }
    parts[lowered(name)] = bytes;
  }
  if (!parts.count(lowered(kCustomizationPart))) why = L"it is not a CUIx package";
  return parts;
}

// What the parts say, gathered before the buttons are put together: macros and panels by
// UID, toolbars and tabs in their order.
struct Macro {
  std::wstring name, command, help, smallImage, largeImage;
};
struct ButtonRef {
  std::wstring macroId, label;
};
struct Customization {
  std::map<std::wstring, Macro> macros;
  std::vector<std::pair<std::wstring, std::vector<ButtonRef>>> toolbars;  // name, buttons
  std::map<std::wstring, std::pair<std::wstring, std::vector<ButtonRef>>> panels;  // UID: text, buttons
  std::vector<std::pair<std::wstring, std::vector<std::wstring>>> tabs;  // text, panel UIDs
  bool sawGroup = false;
};

// One customization part into `c`: MenuGroup@Name, each MenuMacro's Macro (Name, Command,
// HelpString, SmallImage@Name, LargeImage@Name), each Toolbar of ToolbarRoot with its Name
// and ToolbarButtons, each RibbonPanelSource with the RibbonCommandButtons anywhere in its
// rows, and each RibbonTabSource with its RibbonPanelSourceReferences.
bool parsePart(const std::string& xml, Customization& c, MenuGroupInfo& group) {
  ComPtr<IStream> stream;
  stream.p = SHCreateMemStream(reinterpret_cast<const BYTE*>(xml.data()), static_cast<UINT>(xml.size()));
  ComPtr<IXmlReader> reader;
  if (!openXmlReader(stream.p, reader)) return false;
  auto attribute = [&](const wchar_t* name) { return xmlAttribute(reader.p, name); };

  std::vector<std::wstring> path;  // open elements
  std::wstring macroId, panelId, text;
  ButtonRef* toolbarButton = nullptr;
  XmlNodeType type;
  HRESULT hr;
  while ((hr = reader->Read(&type)) == S_OK) {
    if (type == XmlNodeType_Element) {
      std::wstring name = xmlLocalName(reader.p);
      std::wstring parent = path.empty() ? L"" : path.back();
      if (name == L"MenuGroup" && !c.sawGroup) {
        c.sawGroup = true;
        group.name = attribute(L"Name");
      } else if (name == L"MenuMacro") {
        macroId = attribute(L"UID");
      } else if ((name == L"SmallImage" || name == L"LargeImage") && parent == L"Macro" && !macroId.empty()) {
        (name == L"SmallImage" ? c.macros[macroId].smallImage : c.macros[macroId].largeImage) = attribute(L"Name");
      } else if (name == L"Toolbar" && parent == L"ToolbarRoot") {
        c.toolbars.push_back({});
      } else if (name == L"ToolbarButton" && !c.toolbars.empty()) {
        c.toolbars.back().second.push_back({attribute(L"MenuMacroID"), L""});
        toolbarButton = &c.toolbars.back().second.back();
      } else if (name == L"RibbonPanelSource") {
        panelId = attribute(L"UID");
        c.panels[panelId].first = attribute(L"Text");
      } else if (name == L"RibbonCommandButton" && !panelId.empty()) {
        c.panels[panelId].second.push_back({attribute(L"MenuMacroID"), attribute(L"Text")});
      } else if (name == L"RibbonTabSource") {
        c.tabs.push_back({attribute(L"Text"), {}});
      } else if (name == L"RibbonPanelSourceReference" && !c.tabs.empty()) {
        c.tabs.back().second.push_back(attribute(L"PanelId"));
      }
      text.clear();
      BOOL empty = reader->IsEmptyElement();
      if (!empty) path.push_back(name);
    } else if (type == XmlNodeType_Text || type == XmlNodeType_CDATA) {
      const wchar_t* value = nullptr;
      if (SUCCEEDED(reader->GetValue(&value, nullptr)) && value) text += value;
    } else if (type == XmlNodeType_EndElement && !path.empty()) {
      std::wstring name = path.back();
      path.pop_back();
      std::wstring parent = path.empty() ? L"" : path.back();
      if (name == L"Name" && parent == L"Toolbar" && !c.toolbars.empty()) c.toolbars.back().first = text;
      if (name == L"Name" && parent == L"ToolbarButton" && toolbarButton) toolbarButton->label = text;
      if (parent == L"Macro" && !macroId.empty()) {
        Macro& macro = c.macros[macroId];
        if (name == L"Name") macro.name = text;
        if (name == L"Command") macro.command = text;
        if (name == L"HelpString") macro.help = text;
      }
      if (name == L"ToolbarButton") toolbarButton = nullptr;
      if (name == L"RibbonPanelSource") panelId.clear();
      text.clear();
    }
  }
  return SUCCEEDED(hr);
}

// A button as AutoCAD shows it, from its macro; an image counts as found when the package has
// a part of that name.
MenuButton button(const Customization& c, const ButtonRef& ref, const std::map<std::string, std::string>& parts) {
  MenuButton b;
  auto macro = c.macros.find(ref.macroId);
  if (macro == c.macros.end()) return b;
  b.command = macro->second.command;
  b.label = ref.label.empty() ? macro->second.name : ref.label;
  b.tooltip = macro->second.help;
  b.smallImage = macro->second.smallImage;
  b.largeImage = macro->second.largeImage;
  auto found = [&](const std::wstring& image) { return !image.empty() && parts.count(lowered(wideToUtf8(image))) > 0; };
  b.smallImageFound = found(b.smallImage);
  b.largeImageFound = found(b.largeImage);
  return b;
}

// The menu group of a package's customization parts. Only panels that a tab refers to reach
// the ribbon. On failure `why` says what is wrong.
bool parseCustomization(const std::map<std::string, std::string>& parts, MenuGroupInfo& group, std::wstring& why) {
  why = L"its customization XML cannot be read";
  Customization c;
  if (!parsePart(parts.at(lowered(kCustomizationPart)), c, group)) return false;
  for (const char* root : kRootParts) {
    auto part = parts.find(lowered(root));
    if (part != parts.end() && !parsePart(part->second, c, group)) return false;
  }
  if (!c.sawGroup || group.name.empty()) {
    why = L"it defines no menu group";
    return false;
  }
  for (const auto& t : c.toolbars) {
    group.toolbars.push_back({t.first, {}});
    for (const auto& ref : t.second) group.toolbars.back().buttons.push_back(button(c, ref, parts));
  }
  for (const auto& tab : c.tabs)
    for (const auto& id : tab.second) {
      auto panel = c.panels.find(id);
      if (panel == c.panels.end()) continue;
      group.panels.push_back({tab.first, panel->second.first, {}});
      for (const auto& ref : panel->second.second) group.panels.back().buttons.push_back(button(c, ref, parts));
    }
  why.clear();
  return true;
}

// Reads a CUIx file; on failure says why in AutoCAD's words.
bool readMenuFile(const std::wstring& path, MenuGroupInfo& group) {
  Host& host = Host::get();
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    host.print(L"Customization file not found: " + path + L"\n");
    return false;
  }
  std::wstring why;
  std::map<std::string, std::string> parts = readParts(path, why);
  group = MenuGroupInfo{};
  group.file = path;
  if (why.empty() && parseCustomization(parts, group, why)) return true;
  host.print(L"Unable to load customization file " + path + L": " + why + L".\n");
  return false;
}

MenuGroupInfo* findGroup(const std::wstring& name) {
  for (auto& g : Host::get().loadedMenus)
    if (equalNoCase(g.name, name)) return &g;
  return nullptr;
}

void rememberGroup(const MenuGroupInfo& group) {
  kvs::RegKey key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, profileKey(L"Menus").c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(),
                      nullptr) != ERROR_SUCCESS)
    return;
  kvs::write_string_value(key.get(), group.name.c_str(), group.file);
}

void forgetGroup(const std::wstring& name) {
  kvs::RegKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, profileKey(L"Menus").c_str(), 0, KEY_SET_VALUE, key.put()) == ERROR_SUCCESS)
    RegDeleteValueW(key.get(), name.c_str());
}

// The state the profile keeps for a toolbar ("show left 0 0"), or empty.
std::wstring toolbarState(const std::wstring& group, const std::wstring& toolbar) {
  kvs::RegKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, profileKey(L"Toolbars").c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
    return {};
  wchar_t value[256] = {};
  DWORD size = sizeof value - sizeof(wchar_t);
  DWORD type = 0;
  if (RegQueryValueExW(key.get(), (group + L"." + toolbar).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value),
                       &size) != ERROR_SUCCESS ||
      type != REG_SZ)
    return {};
  return value;
}

void cuiLoad(const std::vector<std::wstring>& args) {
  Host& host = Host::get();
  if (args.empty()) {
    host.print(L"CUILOAD needs the name of a customization file.\n");
    return;
  }
  MenuGroupInfo group;
  if (!readMenuFile(args[0], group)) return;
  if (findGroup(group.name)) {
    host.print(L"Customization group " + group.name + L" is already loaded.\n");
    return;
  }
  host.loadedMenus.push_back(group);
  rememberGroup(group);
  host.print(L"Customization file loaded successfully. Customization Group: " + group.name + L"\n");
}

void cuiUnload(const std::vector<std::wstring>& args) {
  Host& host = Host::get();
  if (args.empty()) {
    host.print(L"CUIUNLOAD needs the name of a customization group.\n");
    return;
  }
  auto& menus = host.loadedMenus;
  for (auto it = menus.begin(); it != menus.end(); ++it) {
    if (!equalNoCase(it->name, args[0])) continue;
    std::wstring name = it->name;
    menus.erase(it);
    forgetGroup(name);
    host.print(L"Customization group " + name + L" unloaded.\n");
    return;
  }
  host.print(L"Customization group \"" + args[0] + L"\" is not loaded.\n");
}

// A button on a line of its own: command, label in quotes, then the small and the large image.
std::wstring buttonLine(const MenuButton& b) {
  auto image = [](const std::wstring& name, bool found) {
    return name.empty() ? std::wstring(L"(no image)") : name + (found ? L"" : L" (not in the package)");
  };
  return L"    " + b.command + L"  \"" + b.label + L"\"  " + image(b.smallImage, b.smallImageFound) + L"  " +
         image(b.largeImage, b.largeImageFound) + L"\n";
}

void listGroups(const std::vector<std::wstring>&) {
  Host& host = Host::get();
  if (host.loadedMenus.empty()) {
    host.print(L"No customization groups loaded.\n");
    return;
  }
  for (const auto& g : host.loadedMenus) {
    host.print(g.name + L"  " + g.file + L"\n");
    for (const auto& t : g.toolbars) {
      std::wstring state = toolbarState(g.name, t.name);
      host.print(L"  Toolbar " + t.name + L" [" + (state.empty() ? L"no saved state" : state) + L"]:\n");
      for (const auto& b : t.buttons) host.print(buttonLine(b));
    }
    for (const auto& p : g.panels) {
      host.print(L"  Ribbon tab " + p.tab + L", panel " + p.name + L":\n");
      for (const auto& b : p.buttons) host.print(buttonLine(b));
    }
  }
}

}  // namespace

void addMenuCommands(Host& host) {
  host.addBuiltin(L"CUILOAD", cuiLoad);
  host.addBuiltin(L"CUIUNLOAD", cuiUnload);
  host.addBuiltin(L"MENUGROUPS", listGroups);
}

void restoreMenuGroups() {
  Host& host = Host::get();
  host.loadedMenus.clear();
  kvs::RegKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, profileKey(L"Menus").c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
    return;
  for (DWORD index = 0;; ++index) {
    wchar_t name[256];
    DWORD nameLength = 256;
    wchar_t file[MAX_PATH * 4] = {};
    DWORD size = sizeof file - sizeof(wchar_t);
    DWORD type = 0;
    LONG rc = RegEnumValueW(key.get(), index, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(file), &size);
    if (rc == ERROR_NO_MORE_ITEMS) break;
    if (rc != ERROR_SUCCESS || type != REG_SZ) continue;
    MenuGroupInfo group;
    // A file gone since the last session leaves its group unloaded; the profile keeps it.
    if (readMenuFile(file, group) && !findGroup(group.name)) host.loadedMenus.push_back(group);
  }
}

std::vector<MenuGroupInfo> menuGroups() { return Host::get().loadedMenus; }

}  // namespace acadhost

Adesk::Boolean acedIsMenuGroupLoaded(const ACHAR* pszGroupName) {
  std::wstring name = pszGroupName ? pszGroupName : L"";
  acadhost::Host::get().event(L"acedIsMenuGroupLoaded " + name);
  for (const auto& g : acadhost::Host::get().loadedMenus)
    if (acadhost::equalNoCase(g.name, name)) return true;
  return false;
}
