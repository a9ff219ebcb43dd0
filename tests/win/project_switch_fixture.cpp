#include "project_switch_fixture.h"

#include "acadhost/host_api.h"
#include "frame/KVS_switchApp.h"

using namespace testing_support;

namespace switch_fixture {

const wchar_t kAddonKey[] = L"SOFTWARE\\Korvanta";

namespace {

// 2001-01-01, long before any test runs.
FILETIME pastTime() {
  SYSTEMTIME st = {2001, 1, 1, 1, 0, 0, 0, 0};
  FILETIME ft;
  SystemTimeToFileTime(&st, &ft);
  return ft;
}

const std::wstring kProjectText =
    L"+[1]C:\\Libs\\IEC2\\;\r\n+[2]ACE_IEC_MENU.DAT\r\n+[3]C:\\Libs\\panel\\;\r\n+[11]Test\r\n"
    L"+[20]wd.env\r\n?[SCALE]1.0\r\n*[1]Проект\r\n";

}  // namespace

WriteLock::WriteLock(const std::wstring& path)
    : h_(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr)) {
  EXPECT_NE(h_, INVALID_HANDLE_VALUE);
}

WriteLock::~WriteLock() {
  if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
}

void ProjectSwitch::SetUp() {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kAddonKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
  acadhost::setEcho(false);
  acadhost::SessionOptions options;
  ASSERT_TRUE(acadhost::startSession(options));
  acadhost::interceptMessageBoxes(GetModuleHandleW(nullptr));
  version = L"2015";
  full_version_english = acadhost::productKey();
  full_version_russian = full_version_english.substr(0, full_version_english.size() - 3) + L"419";
  acadhost::clearTranscript();
  acadhost::clearMessageBoxes();
  acadhost::clearEvents();
}

void ProjectSwitch::TearDown() {
  acadhost::setActiveProject(L"");
  acadhost::endSession();
  acadhost::setEcho(true);
  version.clear();
  full_version_english.clear();
  full_version_russian.clear();
}

std::wstring ProjectSwitch::makeProject(const std::wstring& relative) {
  std::wstring path = dir_.path() + relative;
  std::size_t slash = path.find_last_of(L'\\');
  makeFolders(path.substr(0, slash));
  writeBytes(path, toAnsi(kProjectText));
  HANDLE f = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(f, INVALID_HANDLE_VALUE);
  FILETIME past = pastTime();
  SetFileTime(f, nullptr, nullptr, &past);
  CloseHandle(f);
  return path;
}

bool ProjectSwitch::rewritten(const std::wstring& path) const {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return false;
  FILETIME past = pastTime();
  return CompareFileTime(&data.ftLastWriteTime, &past) > 0;
}

std::wstring ProjectSwitch::record20(const std::wstring& path) const {
  std::wstring text = fromAnsi(readBytes(path));
  std::size_t at = text.find(L"+[20]");
  if (at == std::wstring::npos) return L"";
  at += 5;
  return text.substr(at, text.find_first_of(L"\r\n", at) - at);
}

void ProjectSwitch::setList(const std::wstring& text, DWORD type) {
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kAddonKey, 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
  RegSetValueExW(key, L"Projects", 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

bool ProjectSwitch::list(std::wstring& text, DWORD* type) const {
  text.clear();
  wchar_t buffer[4096] = {};
  DWORD size = sizeof buffer - sizeof(wchar_t);
  DWORD found = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, kAddonKey, L"Projects", RRF_RT_ANY | RRF_NOEXPAND, &found, buffer, &size) !=
      ERROR_SUCCESS)
    return false;
  if (type) *type = found;
  text = buffer;
  return true;
}

std::wstring ProjectSwitch::list() const {
  std::wstring text;
  return list(text) ? text : L"<missing>";
}

std::wstring ProjectSwitch::transcript() const { return acadhost::transcript(); }

}  // namespace switch_fixture
