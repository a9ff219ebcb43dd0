// What the user sees: the command-line transcript and message boxes, and the interception of
// MessageBoxW in loaded modules (no display is needed).
#include <cstring>

#include "host.h"

namespace acadhost {

std::wstring utf8ToWide(const std::string& bytes) {
  if (bytes.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  UINT cp = CP_UTF8;
  DWORD flags = MB_ERR_INVALID_CHARS;
  if (n <= 0) {  // not UTF-8: a script saved in the ANSI code page
    cp = CP_ACP;
    flags = 0;
    n = MultiByteToWideChar(cp, flags, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  }
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(cp, flags, bytes.data(), static_cast<int>(bytes.size()), &out[0], n);
  return out;
}

std::string wideToUtf8(const std::wstring& text) {
  if (text.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
  return out;
}

void Host::print(const std::wstring& text) {
  transcriptText += text;
  if (!echo || text.empty()) return;
  // wprintf to a pipe drops Cyrillic under Wine; write UTF-8 bytes ourselves.
  std::string bytes = wideToUtf8(text);
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void Host::ensureNewLine() {
  if (!transcriptText.empty() && transcriptText.back() != L'\n') print(L"\n");
}

int Host::showMessageBox(const std::wstring& caption, const std::wstring& text, unsigned type) {
  boxes.push_back({caption, text, type});
  int answer = IDOK;
  const wchar_t* button = L"OK";
  switch (type & MB_TYPEMASK) {
    case MB_YESNO: case MB_YESNOCANCEL: answer = IDYES; button = L"Yes"; break;
    case MB_RETRYCANCEL: answer = IDRETRY; button = L"Retry"; break;
    case MB_ABORTRETRYIGNORE: answer = IDABORT; button = L"Abort"; break;
    default: break;
  }
  ensureNewLine();
  print(L"+---- Message box [" + caption + L"] ----\n");
  std::wstring body = text;
  std::size_t start = 0;
  while (true) {
    std::size_t nl = body.find(L'\n', start);
    std::wstring line = body.substr(start, nl == std::wstring::npos ? std::wstring::npos : nl - start);
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    print(L"| " + line + L"\n");
    if (nl == std::wstring::npos) break;
    start = nl + 1;
  }
  print(std::wstring(L"+---- [") + button + L"] ----\n");
  return answer;
}

namespace {

int WINAPI hostMessageBoxW(HWND, LPCWSTR text, LPCWSTR caption, UINT type) {
  return Host::get().showMessageBox(caption ? caption : L"Error", text ? text : L"", type);
}

void patchImport(HMODULE module, const char* dll, const char* function, void* replacement) {
  auto* base = reinterpret_cast<BYTE*>(module);
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (!dir.VirtualAddress) return;
  for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name; ++imp) {
    if (_stricmp(reinterpret_cast<char*>(base + imp->Name), dll) != 0) continue;
    auto* thunk = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(
        base + (imp->OriginalFirstThunk ? imp->OriginalFirstThunk : imp->FirstThunk));
    for (; names->u1.AddressOfData; ++names, ++thunk) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<char*>(byName->Name), function) != 0) continue;
      DWORD old = 0;
      VirtualProtect(&thunk->u1.Function, sizeof(thunk->u1.Function), PAGE_READWRITE, &old);
      thunk->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
      VirtualProtect(&thunk->u1.Function, sizeof(thunk->u1.Function), old, &old);
    }
  }
}

}  // namespace

void interceptMessageBoxes(HMODULE module) {
  if (module) patchImport(module, "user32.dll", "MessageBoxW", reinterpret_cast<void*>(&hostMessageBoxW));
}

std::wstring transcript() { return Host::get().transcriptText; }
void clearTranscript() { Host::get().transcriptText.clear(); }
void setEcho(bool toStdout) { Host::get().echo = toStdout; }
std::vector<MessageBoxRecord> messageBoxes() { return Host::get().boxes; }
void clearMessageBoxes() { Host::get().boxes.clear(); }
std::vector<std::wstring> events() { return Host::get().events; }
void clearEvents() { Host::get().events.clear(); }

}  // namespace acadhost
