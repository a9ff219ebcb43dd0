// Plug-in bundles: at start-up AutoCAD scans its ApplicationPlugins folders, reads each
// bundle's PackageContents.xml and loads the ObjectARX components marked for start-up whose
// runtime requirements fit the running product.
#include <objbase.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <xmllite.h>

#include <cwchar>
#include <cwctype>
#include <utility>

#include "host.h"
#include "xml_reader.h"

namespace acadhost {

namespace {

struct Requirements {
  std::wstring os, platform, seriesMin, seriesMax;
};

struct Component {
  std::wstring module;
  std::wstring appType;
  bool loadOnStartup = false;
  Requirements requirements;
};

struct Package {
  std::vector<Component> components;
};

// "R24.3" -> {24, 3}, compared as integers; "R24" is R24.0. False when it is not a series text.
bool parseSeries(const std::wstring& series, std::pair<int, int>& out) {
  if (series.size() < 2 || (series[0] != L'R' && series[0] != L'r')) return false;
  int major = 0, minor = 0;
  std::size_t i = 1;
  auto number = [&](int& n) {
    std::size_t start = i;
    while (i < series.size() && series[i] >= L'0' && series[i] <= L'9' && i - start < 4) n = n * 10 + (series[i++] - L'0');
    return i > start;
  };
  if (!number(major)) return false;
  if (i < series.size() && series[i] == L'.') {
    ++i;
    if (!number(minor)) return false;
  }
  if (i != series.size()) return false;
  out = {major, minor};
  return true;
}

bool listHas(const std::wstring& list, const std::wstring& wanted) {
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t bar = list.find(L'|', start);
    std::wstring item = list.substr(start, bar == std::wstring::npos ? std::wstring::npos : bar - start);
    if (equalNoCase(item, wanted) || equalNoCase(item, L"AutoCAD*")) return true;
    if (bar == std::wstring::npos) break;
    start = bar + 1;
  }
  return false;
}

// Why the requirements do not fit the running product, or the empty text when they do.
std::wstring mismatch(const Requirements& r, const ReleaseInfo& release) {
  if (!r.os.empty() && !listHas(r.os, L"Win64")) return L"OS " + r.os + L" is not Win64";
  const wchar_t* platform = Host::get().options.plainAutocad ? L"AutoCAD" : L"ACADE";
  if (!r.platform.empty() && !listHas(r.platform, platform)) return L"Platform " + r.platform + L" is not " + platform;
  std::pair<int, int> running{}, bound{};
  parseSeries(release.rkey, running);
  if (!r.seriesMin.empty()) {
    if (!parseSeries(r.seriesMin, bound)) return L"SeriesMin " + r.seriesMin + L" is not a series";
    if (running < bound) return L"SeriesMin " + r.seriesMin + L" is above this AutoCAD's " + release.rkey;
  }
  if (!r.seriesMax.empty()) {
    if (!parseSeries(r.seriesMax, bound)) return L"SeriesMax " + r.seriesMax + L" is not a series";
    if (running > bound) return L"SeriesMax " + r.seriesMax + L" is below this AutoCAD's " + release.rkey;
  }
  return {};
}

Requirements readRequirements(IXmlReader* reader) {
  return {xmlAttribute(reader, L"OS"), xmlAttribute(reader, L"Platform"), xmlAttribute(reader, L"SeriesMin"),
          xmlAttribute(reader, L"SeriesMax")};
}

// Parses the manifest with the system's XML reader. Returns the error text, empty on success.
std::wstring parseManifest(const std::wstring& path, Package& package) {
  ComPtr<IStream> stream;
  if (FAILED(SHCreateStreamOnFileW(path.c_str(), STGM_READ | STGM_SHARE_DENY_WRITE, &stream.p)))
    return L"cannot be opened";
  ComPtr<IXmlReader> reader;
  if (!openXmlReader(stream.p, reader)) return L"cannot be read";

  bool sawPackage = false;
  std::vector<std::wstring> open;  // element names from the root down
  Requirements groupRequirements;
  XmlNodeType type;
  HRESULT hr;
  while ((hr = reader->Read(&type)) == S_OK) {
    if (type == XmlNodeType_EndElement) {
      if (!open.empty()) {
        if (open.back() == L"Components") groupRequirements = {};
        open.pop_back();
      }
      continue;
    }
    if (type != XmlNodeType_Element) continue;
    std::wstring name = xmlLocalName(reader.p);
    bool empty = reader->IsEmptyElement();
    std::wstring parent = open.empty() ? L"" : open.back();
    if (open.empty()) {
      if (name != L"ApplicationPackage") return L"the root element is " + name + L", not ApplicationPackage";
      sawPackage = true;
    } else if (name == L"RuntimeRequirements" && parent == L"Components") {
      groupRequirements = readRequirements(reader.p);
    } else if (name == L"RuntimeRequirements" && parent == L"ComponentEntry" && !package.components.empty()) {
      package.components.back().requirements = readRequirements(reader.p);
    } else if (name == L"ComponentEntry" && parent == L"Components") {
      Component c;
      c.module = xmlAttribute(reader.p, L"ModuleName");
      c.appType = xmlAttribute(reader.p, L"AppType");
      c.loadOnStartup = equalNoCase(xmlAttribute(reader.p, L"LoadOnAutoCADStartup"), L"True");
      c.requirements = groupRequirements;
      package.components.push_back(c);
    }
    if (!empty) open.push_back(name);
  }
  if (FAILED(hr)) {
    UINT line = 0;
    reader->GetLineNumber(&line);
    wchar_t code[16];
    swprintf(code, 16, L"0x%08lX", static_cast<unsigned long>(hr));
    return L"malformed XML at line " + std::to_wstring(line) + L" (" + code + L")";
  }
  if (!sawPackage) return L"no ApplicationPackage element";
  return {};
}

bool isArx(const Component& c) {
  if (!c.appType.empty()) return equalNoCase(c.appType, L"Arx");
  return c.module.size() > 4 && equalNoCase(c.module.substr(c.module.size() - 4), L".arx");
}

std::wstring folder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  return std::wstring(path) + L"\\Autodesk\\ApplicationPlugins\\";
}

}  // namespace

void loadBundles() {
  Host& host = Host::get();
  if (!host.release) return;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  for (int csidl : {CSIDL_PROGRAM_FILES, CSIDL_COMMON_APPDATA, CSIDL_APPDATA}) {
    std::wstring plugins = folder(csidl);
    if (plugins.empty()) continue;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((plugins + L"*.bundle").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) continue;
    std::vector<std::wstring> bundles;
    do {
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) bundles.push_back(data.cFileName);
    } while (FindNextFileW(find, &data));
    FindClose(find);

    for (const auto& bundle : bundles) {
      std::wstring root = plugins + bundle + L"\\";
      Package package;
      std::wstring error = parseManifest(root + L"PackageContents.xml", package);
      if (!error.empty()) {
        host.print(L"acade-sim: bundle " + bundle + L" skipped: PackageContents.xml " + error + L".\n");
        continue;
      }
      for (const auto& c : package.components) {
        if (!isArx(c) || !c.loadOnStartup) continue;
        std::wstring why = mismatch(c.requirements, *host.release);
        if (!why.empty()) {
          host.print(L"acade-sim: bundle " + bundle + L": " + c.module + L" skipped: " + why + L".\n");
          continue;
        }
        std::wstring module = c.module;
        if (module.compare(0, 2, L"./") == 0 || module.compare(0, 2, L".\\") == 0) module.erase(0, 2);
        for (auto& ch : module)
          if (ch == L'/') ch = L'\\';
        host.print(L"acade-sim: bundle " + bundle + L": loading " + module + L".\n");
        host.loadModule(root + module);
        host.drainQueue();
      }
    }
  }
}

}  // namespace acadhost
