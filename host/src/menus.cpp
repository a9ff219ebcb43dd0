// Partial menus: CUILOAD, CUIUNLOAD, MENUGROUPS and acedIsMenuGroupLoaded. A CUIx file is a
// ZIP package (read with MiniZip) whose part MenuGroup.cui holds the customization XML (read
// with XmlLite). Loaded groups are kept in the profile, so the next session has them too.
#include <shlwapi.h>
#include <xmllite.h>

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

struct ZipFile {
  unzFile z = nullptr;
  ~ZipFile() {
    if (z) unzClose(z);
  }
};

std::wstring profileKey(const wchar_t* sub) {
  return profileRoot() + L"\\" + sub;
}

// The named part of a ZIP package, checked against its CRC; empty why on success.
std::string readPart(const std::wstring& path, const char* part, std::wstring& why) {
  zlib_filefunc64_def io;
  fill_win32_filefunc64W(&io);
  ZipFile zip;
  zip.z = unzOpen2_64(path.c_str(), &io);
  if (!zip.z) {
    why = L"it is not a CUIx package";
    return {};
  }
  if (unzLocateFile(zip.z, part, 2 /* any letter case */) != UNZ_OK) {
    why = L"it is not a CUIx package";
    return {};
  }
  std::string bytes;
  if (unzOpenCurrentFile(zip.z) != UNZ_OK) {
    why = L"the package is damaged";
    return {};
  }
  char chunk[16384];
  int got = 0;
  while ((got = unzReadCurrentFile(zip.z, chunk, sizeof chunk)) > 0) bytes.append(chunk, static_cast<std::size_t>(got));
  // Closing the entry is what compares the CRC.
  if (unzCloseCurrentFile(zip.z) != UNZ_OK || got < 0) {
    why = L"the package is damaged";
    return {};
  }
  return bytes;
}

// The menu group of a customization XML: MenuGroup@Name, each Toolbar's Name, and each
// ToolbarButton's macro (found through MenuMacroID among the MenuMacro/Macro/Command texts).
// On failure `why` says what is wrong.
bool parseCustomization(const std::string& xml, MenuGroupInfo& group, std::wstring& why) {
  why = L"its customization XML cannot be read";
  ComPtr<IStream> stream;
  stream.p = SHCreateMemStream(reinterpret_cast<const BYTE*>(xml.data()), static_cast<UINT>(xml.size()));
  ComPtr<IXmlReader> reader;
  if (!openXmlReader(stream.p, reader)) return false;
  auto attribute = [&](const wchar_t* name) { return xmlAttribute(reader.p, name); };

  std::vector<std::wstring> path;  // open elements
  std::map<std::wstring, std::wstring> macros;
  std::vector<std::vector<std::wstring>> buttonIds;
  std::wstring macroId, text;
  bool sawGroup = false;
  XmlNodeType type;
  HRESULT hr;
  while ((hr = reader->Read(&type)) == S_OK) {
    if (type == XmlNodeType_Element) {
      std::wstring name = xmlLocalName(reader.p);
      std::wstring parent = path.empty() ? L"" : path.back();
      if (name == L"MenuGroup" && !sawGroup) {
        sawGroup = true;
        group.name = attribute(L"Name");
      } else if (name == L"MenuMacro") {
        macroId = attribute(L"UID");
      } else if (name == L"Toolbar" && parent == L"ToolbarRoot") {
        group.toolbars.push_back({});
        buttonIds.push_back({});
      } else if (name == L"ToolbarButton" && !buttonIds.empty()) {
        buttonIds.back().push_back(attribute(L"MenuMacroID"));
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
      if (name == L"Name" && parent == L"Toolbar" && !group.toolbars.empty()) group.toolbars.back().name = text;
      if (name == L"Command" && parent == L"Macro" && !macroId.empty()) macros[macroId] = text;
      text.clear();
    }
  }
  if (FAILED(hr)) return false;
  for (std::size_t t = 0; t < group.toolbars.size(); ++t)
    for (const auto& id : buttonIds[t]) {
      auto macro = macros.find(id);
      group.toolbars[t].buttons.push_back(macro == macros.end() ? L"" : macro->second);
    }
  if (!sawGroup || group.name.empty()) {
    why = L"it defines no menu group";
    return false;
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
  std::string xml = readPart(path, kCustomizationPart, why);
  group = MenuGroupInfo{};
  group.file = path;
  if (why.empty() && parseCustomization(xml, group, why)) return true;
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
      std::wstring line = L"  Toolbar " + t.name + L" [" + (state.empty() ? L"no saved state" : state) + L"]:";
      for (const auto& b : t.buttons) line += L" " + b;
      host.print(line + L"\n");
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
