// The simulated releases and the per-user profile AutoCAD creates at a build's first start.
#include <shlobj.h>

#include "host.h"
#include "win32/handles.h"
#include "win32/registry.h"
#include "win32/text_codec.h"

namespace acadhost {

namespace {

const ReleaseInfo kReleases[] = {
    {2010, L"D.215.0.0 (UNICODE)", L"R18.0", L"ACAD-8007", 18},
    {2011, L"E.55.0.0 (UNICODE)", L"R18.1", L"ACAD-9007", 18},
    {2012, L"F.107.0.0 (UNICODE)", L"R18.2", L"ACAD-A007", 18},
    {2013, L"G.114.0.0 (UNICODE)", L"R19.0", L"ACAD-B007", 19},
    {2014, L"I.18.0.0 (UNICODE)", L"R19.1", L"ACAD-D007", 19},
    {2015, L"J.51.0.0 (UNICODE)", L"R20.0", L"ACAD-E007", 20},
    {2016, L"M.49.0.0 (UNICODE)", L"R20.1", L"ACAD-F007", 20},
    {2017, L"N.43.0.0 (UNICODE)", L"R21.0", L"ACAD-0007", 21},
    {2018, L"O.49.0.0 (UNICODE)", L"R22.0", L"ACAD-1007", 22},
    {2019, L"P.46.0.0 (UNICODE)", L"R23.0", L"ACAD-2007", 23},
    {2020, L"Q.47.0.0 (UNICODE)", L"R23.1", L"ACAD-3007", 23},
    {2021, L"R.47.0.0 (UNICODE)", L"R24.0", L"ACAD-4107", 24},
    {2022, L"S.51.0.0 (UNICODE)", L"R24.1", L"ACAD-5107", 24},
    {2023, L"T.53.0.0 (UNICODE)", L"R24.2", L"ACAD-6107", 24},
    {2024, L"U.152.0.0 (UNICODE)", L"R24.3", L"ACAD-7107", 24},
    {2025, L"V.154.0.0 (UNICODE)", L"R25.0", L"ACAD-8107", 25},
    {2026, L"W.61.0.0 (UNICODE)", L"R25.1", L"ACAD-9107", 25},
    {2027, L"X.57.0.0 (UNICODE)", L"R26.0", L"ACAD-A107", 26},
};

// From 2016 on ACADE writes its environment and project files as UTF-16 LE text.
constexpr int kFirstUnicodeRelease = 2016;

std::wstring shellFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path))) return L"C:";
  return path;
}

void writeBytes(const std::wstring& path, const std::string& bytes) {
  kvs::FileHandle f(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f.valid()) return;
  DWORD written = 0;
  WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

// ACADE's own text files: in the ANSI code page up to 2015, UTF-16 LE after its byte-order
// mark since.
void writeAcadeText(const ReleaseInfo& release, const std::wstring& path, const std::wstring& text) {
  std::string bytes;
  kvs::encode_text_file(text,
                        release.year >= kFirstUnicodeRelease ? kvs::TextEncoding::Utf16LE : kvs::TextEncoding::Ansi,
                        bytes);
  writeBytes(path, bytes);
}

void makeFolders(const std::wstring& path) { SHCreateDirectoryExW(nullptr, path.c_str(), nullptr); }

std::wstring wdEnv() {
  return L"*******************************************************************************\r\n"
         L"* ACADE environment file (wd.env)\r\n"
         L"* Lines: CODE,value,description. Lines starting with * are comments.\r\n"
         L"*******************************************************************************\r\n"
         L"WD_PROJ,%WD_DIR%/proj/,Default folder for new projects\r\n"
         L"WD_CATALOG,%WD_DIR%/catalogs/default_cat.mdb,Catalog lookup database\r\n"
         L"WD_FOOTPRINT,%WD_DIR%/catalogs/footprint_lookup.mdb,Panel footprint lookup database\r\n"
         L"WD_PLCDB,%WD_DIR%/catalogs/ace_plc.mdb,PLC I/O module database\r\n"
         L"WD_WDATA,%WD_DIR%/catalogs/wd_data.xls,Wire data table\r\n"
         L"*WD_PICKPRTCAT,%WD_DIR%/catalogs/,Pick list catalog folder (не используется)\r\n"
         L"WD_MENU,ACE_IEC_MENU.DAT,Icon menu file\r\n";
}

std::wstring demoProject(const std::wstring& publicDocs, int year) {
  std::wstring libs = publicDocs + L"\\Autodesk\\Acade " + std::to_wstring(year) + L"\\Libs\\";
  // Laid out as ACADE writes it: description lines first (a "+" typed in one), then the
  // settings, the properties and the drawing list; the office's own symbol folder on its share
  // comes before the stock ones.
  return L"*[1]Демонстрационный проект\r\n"
         L"*[2]Цех 3, щит управления насосами (+24В)\r\n"
         L"*[3]Demo project\r\n"
         L"+[1]\\\\srv\\ACADE\\Офис_УГО\\;" + libs + L"IEC2\\;" + libs + L"IEC2\\1-\\;" + libs +
         L"pneu_iso125\\;" + libs + L"hyd_iso125\\;" + libs + L"pid\\;\r\n"
         L"+[2]ACE_IEC_MENU.DAT\r\n"
         L"+[3]" + libs + L"panel\\;\r\n"
         L"+[4]1\r\n"
         L"+[5]0\r\n"
         L"+[6]ACE_IEC_PANEL_MENU.DAT\r\n"
         L"+[7]0\r\n"
         L"+[8]IEC\r\n"
         L"+[11]Demo\r\n"
         L"+[20]wd.env\r\n"
         L"+[31]0\r\n"
         L"?[SCALE]1.0\r\n"
         L"=====\r\n"
         L"Demo01.dwg\r\n"
         L"Demo02.dwg\r\n";
}

}  // namespace

const ReleaseInfo* findRelease(int year) {
  for (const auto& r : kReleases)
    if (r.year == year) return &r;
  return nullptr;
}

const ReleaseInfo* findRelease(const std::wstring& yearOrKey) {
  for (const auto& r : kReleases)
    if (equalNoCase(yearOrKey, r.rkey) || yearOrKey == std::to_wstring(r.year)) return &r;
  return nullptr;
}

std::wstring productId() {
  const Host& host = Host::get();
  if (!host.release) return L"";
  std::wstring id = host.release->productId;
  // Plain AutoCAD's ids end in "01" where the Electrical toolset's end in "07".
  if (host.options.plainAutocad) id.replace(id.size() - 2, 2, L"01");
  return id;
}

std::wstring productKey() {
  const Host& host = Host::get();
  if (!host.release) return L"";
  return std::wstring(host.release->rkey) + L"\\" + productId() + (host.options.russian ? L":419" : L":409");
}

std::wstring productRoot() { return L"Software\\Autodesk\\AutoCAD\\" + productKey(); }

std::wstring profileRoot() {
  return productRoot() + (Host::get().options.plainAutocad ? L"\\Profiles\\<<Unnamed Profile>>" : L"\\Profiles\\<<ACADE>>");
}

std::wstring productFolderName(int year) {
  return (Host::get().options.plainAutocad ? L"AutoCAD " : L"AutoCAD Electrical ") + std::to_wstring(year);
}

const SessionOptions& sessionOptions() { return Host::get().options; }

void ensureProfile(const ReleaseInfo& release, bool russian) {
  const bool acade = !Host::get().options.plainAutocad;
  // The value the product writes last at its first start; plain AutoCAD has no ACADE folders.
  const wchar_t* marker = acade ? L"RoamingUserMyDocsAcadeFolder" : L"RoamableRootFolder";
  std::wstring keyPath = productRoot();
  {
    kvs::RegKey existing;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_QUERY_VALUE, existing.put()) == ERROR_SUCCESS &&
        RegQueryValueExW(existing.get(), marker, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
      return;
  }
  std::wstring year = std::to_wstring(release.year);
  std::wstring docs = shellFolder(CSIDL_PERSONAL) + L"\\Acade " + year + L"\\";
  std::wstring roaming = shellFolder(CSIDL_APPDATA) + L"\\Autodesk\\" + productFolderName(release.year) + L"\\" +
                         release.rkey + (russian ? L"\\rus\\" : L"\\enu\\");
  std::wstring publicDocs = shellFolder(CSIDL_COMMON_DOCUMENTS);

  kvs::RegKey product;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, product.put(), nullptr) !=
      ERROR_SUCCESS)
    return;
  kvs::write_string_value(product.get(), L"RoamableRootFolder", roaming);
  kvs::RegKey toolbars;
  RegCreateKeyExW(HKEY_CURRENT_USER, (profileRoot() + L"\\Toolbars").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                  toolbars.put(), nullptr);
  makeFolders(roaming + L"support");
  if (!acade) {
    Host::get().print(L"acade-sim: created the user profile of " + productKey() + L".\n");
    return;
  }
  kvs::write_string_value(product.get(), L"RoamingUserMyDocsAcadeFolder", docs);

  makeFolders(docs + L"AeData");
  writeAcadeText(release, docs + L"AeData\\wd.env", wdEnv());
  // 2014 and later keep the PLC database in a language folder named by culture code.
  std::wstring plc = docs + L"AeData\\" + (release.year >= 2014 ? (russian ? L"ru-RU\\" : L"en-US\\") : L"") + L"Plc";
  makeFolders(plc);
  writeBytes(plc + L"\\ace_plc.mdb", "Standard Jet DB: user's PLC database (simulated)\r\n");
  for (const wchar_t* lib : {L"iec2\\1-", L"panel", L"pneu_iso125", L"hyd_iso125", L"pid"})
    makeFolders(publicDocs + L"\\Autodesk\\Acade " + year + L"\\Libs\\" + lib);
  makeFolders(docs + L"AeData\\Proj\\Demo");
  writeAcadeText(release, docs + L"AeData\\Proj\\Demo\\Demo.wdp", demoProject(publicDocs, release.year));

  Host::get().print(L"acade-sim: created the user profile of " + productKey() + L" (documents " + docs + L").\n");
}

bool startSession(const SessionOptions& options) {
  Host& host = Host::get();
  host.options = options;
  host.release = findRelease(options.release);
  if (!host.release) {
    host.print(L"acade-sim: release " + std::to_wstring(options.release) + L" is not simulated (2010 to 2027).\n");
    return false;
  }
  host.sysvars[L"VERNUM"] = options.vernum.empty() ? host.release->vernum : options.vernum;
  host.sysvars[L"ACADVER"] = std::wstring(host.release->rkey + 1) + L"s (LMS Tech)";
  // The Electrical toolset runs inside AutoCAD and reports the same product.
  host.sysvars[L"PRODUCT"] = L"AutoCAD";
  ensureProfile(*host.release, options.russian);
  host.quit = false;
  host.pending.clear();
  setEditorAvailable(true);
  setDocManagerAvailable(true);
  restoreMenuGroups();
  loadFileSettings(*host.release, options.russian);
  return true;
}

}  // namespace acadhost
