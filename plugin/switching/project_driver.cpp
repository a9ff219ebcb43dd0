#include "switching/project_driver.h"

#include <algorithm>
#include <climits>
#include <new>
#include <utility>

#include "common/text_util.h"
#include "frame/host_interface.h"
#include "common/system_message.h"
#include "switching/change_env.h"
#include "switching/file_seam.h"

namespace seam = kvs::file_seam;

namespace {

// `format` holds the file, then the cause.
void report(const wchar_t* format, const std::wstring& file, DWORD error) {
  acutPrintf(format, file.c_str(), kvs::system_message(error).c_str());
}

const wchar_t kCannotRead[] = L"Can not read project file %ls: %ls\n";
const wchar_t kCannotWrite[] = L"Can not write project file %ls: %ls\n";

// The whole file, up to its first zero byte (a project file holds none).
std::string readWhole(CFile& file, const std::wstring& path) {
  const ULONGLONG size = seam::length(file, path);
  if (size > static_cast<ULONGLONG>(INT_MAX)) CFileException::ThrowOsError(ERROR_FILE_TOO_LARGE, path.c_str());
  std::string bytes(static_cast<std::size_t>(size), '\0');
  std::size_t got = 0;
  while (got < bytes.size()) {
    UINT n = seam::read(file, path, &bytes[got], static_cast<UINT>(bytes.size() - got));
    if (n == 0) break;
    got += n;
  }
  bytes.resize(std::min(got, bytes.find('\0')));
  return bytes;
}

bool widen(const std::string& bytes, std::wstring& text) {
  text.clear();
  if (bytes.empty()) return true;
  // No ANSI code page gives more than one UTF-16 unit per byte, so one call does.
  text.resize(bytes.size());
  const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), &text[0],
                                    static_cast<int>(text.size()));
  text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return n > 0;
}

// Composition can only change text that holds combining marks; Latin and Cyrillic letters
// without them convert the same either way, and the check is costly.
bool mayHoldCombiningMarks(std::wstring_view text) {
  return std::any_of(text.begin(), text.end(), [](wchar_t c) {
    return c >= 0x300 && !(c >= 0x400 && c <= 0x482) && !(c >= 0x48A && c <= 0x4FF);
  });
}

// Sized from the converted length itself, so two-byte code pages fit as well as one-byte ones.
bool narrow(std::wstring_view text, std::string& bytes) {
  bytes.clear();
  if (text.empty()) return true;
  if (text.size() > static_cast<std::size_t>(INT_MAX)) {
    SetLastError(ERROR_ARITHMETIC_OVERFLOW);
    return false;
  }
  // Those two code pages take no flags.
  const UINT acp = GetACP();
  const DWORD flags = (acp == CP_UTF8 || acp == 54936 || !mayHoldCombiningMarks(text)) ? 0 : WC_COMPOSITECHECK;
  const int size = static_cast<int>(text.size());
  int n = WideCharToMultiByte(CP_ACP, flags, text.data(), size, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return false;
  bytes.resize(static_cast<std::size_t>(n));
  return WideCharToMultiByte(CP_ACP, flags, text.data(), size, &bytes[0], n, nullptr, nullptr) == n;
}

// A file beside the project that is deleted unless it has taken the project's place.
struct TempFile {
  ~TempFile() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    if (!name.empty()) DeleteFileW(name.c_str());
  }
  std::wstring name;
  HANDLE handle = INVALID_HANDLE_VALUE;
};

// The project holds either its old bytes or all the new ones, never anything in between.
bool replaceContent(const std::wstring& path, const std::string& bytes, DWORD attributes) {
  const std::size_t slash = path.find_last_of(L"\\/");
  const std::wstring folder = slash == std::wstring::npos ? L"." : path.substr(0, slash + 1);
  TempFile temp;
  const auto fail = [&path] {
    report(kCannotWrite, path, GetLastError());
    return false;
  };
  if (!seam::temp_file_name(folder, temp.name)) return fail();
  temp.handle = seam::open_for_writing(temp.name);
  if (temp.handle == INVALID_HANDLE_VALUE) return fail();
  if (!bytes.empty() && !seam::write(temp.handle, bytes.data(), static_cast<DWORD>(bytes.size()))) return fail();
  if (!seam::flush(temp.handle)) return fail();
  if (!seam::close(std::exchange(temp.handle, INVALID_HANDLE_VALUE))) return fail();
  if (!seam::set_attributes(temp.name, attributes)) return fail();
  if (!seam::replace(temp.name, path)) return fail();
  temp.name.clear();
  return true;
}

DriverFailure lastFailure = DriverFailure::None;

}  // namespace

DriverFailure last_driver_failure() { return lastFailure; }

bool do_change(std::wstring fl_name, int tip) {
  lastFailure = DriverFailure::ProjectFile;
  try {
    std::string bytes;
    {
      CFile file;
      if (!seam::open_for_reading(file, fl_name)) return false;
      bytes = readWhole(file, fl_name);
    }
    std::wstring text;
    if (!widen(bytes, text)) {
      report(L"Can not convert project file %ls from the ANSI code page: %ls\n", fl_name, GetLastError());
      return false;
    }
    text = change_env(std::move(text), tip);
    if (kvs::contains(text, L"Error")) {
      acutPrintf(L"%ls", text.c_str());
      lastFailure = (text == L"Error. Installation folder not found." || text == L"Error. Couldn't access system information!")
                        ? DriverFailure::Installation
                        : DriverFailure::Other;
      return false;
    }
    if (!narrow(kvs::trim_view(text), bytes)) {
      report(L"Can not convert project file %ls to the ANSI code page: %ls\n", fl_name, GetLastError());
      return false;
    }
    // Checked here because a replace by rename would not refuse a read-only file.
    const DWORD attributes = seam::attributes(fl_name);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
      report(kCannotWrite, fl_name, GetLastError());
      return false;
    }
    if (attributes & FILE_ATTRIBUTE_READONLY) {
      acutPrintf(L"Can not find environment file..\n");
      return false;
    }
    if (!replaceContent(fl_name, bytes, attributes)) return false;
    lastFailure = DriverFailure::None;
    return true;
  } catch (const std::bad_alloc&) {
    lastFailure = DriverFailure::Other;
    acutPrintf(L"Can not switch project file %ls: not enough memory.\n", fl_name.c_str());
  } catch (CFileException* e) {
    report(kCannotRead, fl_name, static_cast<DWORD>(e->m_lOsError));
    e->Delete();
  } catch (CException* e) {
    acutPrintf(L"Can not switch project file %ls.\n", fl_name.c_str());
    e->Delete();
  }
  return false;
}
