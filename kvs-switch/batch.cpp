#include "batch.h"

#include <windows.h>

#include <algorithm>
#include <unordered_set>

#include "arguments.h"
#include "commands/project_list_text.h"
#include "commands/status_text.h"
#include "common/path_fold.h"
#include "common/text_util.h"
#include "common/texts.h"
#include "frame/release_table.h"
#include "switching/library_lists.h"
#include "switching/project_driver.h"
#include "switching/project_look.h"
#include "win32/file_replace.h"
#include "win32/handles.h"
#include "win32/long_path.h"
#include "win32/path_identity.h"
#include "win32/registry.h"
#include "win32/system_message.h"
#include "win32/text_codec.h"

namespace kvs_switch {

namespace {

const wchar_t kAutoCadKey[] = L"Software\\Autodesk\\AutoCAD";

// What a switch says, kept for the project's line and its row in the report.
class Collected : public kvs::SwitchReport {
 public:
  void say(const std::wstring& text) override { text_ += text; }
  // The lines said, as one line.
  std::wstring line() const {
    std::wstring line = kvs::trim(text_);
    std::replace(line.begin(), line.end(), L'\n', L' ');
    line.erase(std::remove(line.begin(), line.end(), L'\r'), line.end());
    return line;
  }

 private:
  std::wstring text_;
};

// The newest ACADE release whose per-user key this user's registry holds; empty for none.
std::wstring newestRelease() {
  std::wstring newest;
  for (const std::wstring& release : kvs::subkey_names(HKEY_CURRENT_USER, kAutoCadKey)) {
    for (const std::wstring& product : kvs::subkey_names(HKEY_CURRENT_USER, std::wstring(kAutoCadKey) + L"\\" + release)) {
      std::wstring year;
      if (kvs::acade_release_of_product_key(release + L"\\" + product, year) && year > newest) newest = year;
    }
  }
  return newest;
}

bool isProjectFile(const std::wstring& name) {
  return name.size() > 4 && kvs::same_path(name.substr(name.size() - 4), L".wdp");
}

// The project files in `folder` (ending in a separator) and its sub-folders, in name order. A
// folder that cannot be listed is said and counted, not passed over.
void findProjects(const std::wstring& folder, std::vector<std::wstring>& found, const Output& output, int& unlisted) {
  std::vector<std::wstring> files, folders;
  WIN32_FIND_DATAW data;
  {
    const kvs::FindHandle find(FindFirstFileW(kvs::extended_path(folder + L"*").c_str(), &data));
    if (!find.valid()) {
      const DWORD error = GetLastError();
      if (error == ERROR_FILE_NOT_FOUND) return;
      output.out(kvs::text(kvs::kTextBatchCannotList, folder, kvs::system_message(error)) + L"\n");
      ++unlisted;
      return;
    }
    do {
      const std::wstring name = data.cFileName;
      if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        if (isProjectFile(name)) files.push_back(name);
      } else if (name != L"." && name != L".." && !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        // A link into another folder could lead back here.
        folders.push_back(name);
      }
    } while (FindNextFileW(find.get(), &data));
  }
  std::sort(files.begin(), files.end());
  std::sort(folders.begin(), folders.end());
  for (const std::wstring& file : files) found.push_back(folder + file);
  for (const std::wstring& sub : folders) findProjects(folder + sub + L"\\", found, output, unlisted);
}

// The projects a PATH names: the file, or those in the folder and its sub-folders. A path that
// names nothing is a project that is gone, so that it is said.
std::vector<std::wstring> projectsOf(const std::wstring& given, const Output& output, int& unlisted) {
  std::vector<std::wstring> found;
  std::wstring path = kvs::full_path(given);
  const DWORD attributes = GetFileAttributesW(kvs::extended_path(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    found.push_back(path);
    return found;
  }
  if (path[path.size() - 1] != L'\\' && path[path.size() - 1] != L'/') path += L'\\';
  const int unlistedBefore = unlisted;
  findProjects(path, found, output, unlisted);
  if (found.empty() && unlisted == unlistedBefore) output.out(kvs::text(kvs::kTextBatchNoProjects, given) + L"\n");
  return found;
}

std::wstring number(std::size_t n) { return std::to_wstring(static_cast<unsigned long long>(n)); }
std::wstring number(int n) { return std::to_wstring(static_cast<long long>(n)); }

struct Row {
  std::wstring path, before, after, outcome, message;
};

struct Counts {
  Counts() : done(0), unchanged(0), refused(0), gost(0), stock(0), mixed(0), registered(0) {}
  int done, unchanged, refused, gost, stock, mixed, registered;
};

Row statusOf(const std::wstring& path, Counts& counts) {
  const ProjectLook look = look_at_project_file(path);
  if (!look.readable) {
    const Row unreadable = {path, kvs::text(kvs::kTextUnknown), kvs::text(kvs::kTextUnknown), L"unreadable", look.why};
    ++counts.refused;
    return unreadable;
  }
  // One reading of the settings gives both the summary and the count.
  const kvs::LibrarySettings settings = kvs::library_settings(look.text);
  const std::wstring library = kvs::library_summary(settings);
  const Row row = {path, library, library, L"read", look.why};
  switch (kvs::project_library(settings)) {
    case kvs::ProjectLibrary::Gost: ++counts.gost; break;
    case kvs::ProjectLibrary::Stock: ++counts.stock; break;
    case kvs::ProjectLibrary::Mixed: ++counts.mixed; break;
  }
  return row;
}

// The switch, or with --dry-run what it would give: the same libraries, the same rewrite.
Row switchOf(const std::wstring& path, const Arguments& arguments, const LibraryValues& libraries, Counts& counts) {
  const int tip = arguments.command == Command::Gost ? 1 : 2;
  Collected said;
  SwitchedSettings settings;
  const SwitchResult result = arguments.dry_run ? preview_project_switch(path, libraries, said, settings)
                                                : switch_project_file(path, libraries, said, &settings);
  Row row = {path, settings.read ? kvs::library_summary(settings.before) : kvs::text(kvs::kTextUnknown), L"", L"", said.line()};
  if (result == SwitchResult::Switched) {
    row.after = kvs::library_summary(settings.after);
    row.outcome = arguments.dry_run ? L"would switch" : L"switched";
    ++counts.done;
    return row;
  }
  if (result == SwitchResult::Unchanged) {
    row.after = row.before;
    row.outcome = L"unchanged";
    row.message = kvs::text(tip == 1 ? kvs::kTextBatchAlreadyGost : kvs::kTextBatchAlreadyStock);
    ++counts.unchanged;
    return row;
  }
  row.after = row.before;
  row.outcome = L"refused";
  ++counts.refused;
  return row;
}

std::wstring summary(const Arguments& arguments, std::size_t projects, const Counts& counts) {
  std::wstring text = projects == 1 ? kvs::text(kvs::kTextBatchOneProject) : kvs::text(kvs::kTextBatchProjects, number(projects));
  if (arguments.command == Command::Status) {
    text += kvs::text(kvs::kTextBatchStatusCounts, number(counts.gost), number(counts.stock), number(counts.mixed),
                      number(counts.refused));
  } else {
    text += kvs::text(arguments.dry_run ? kvs::kTextBatchWouldSwitch : kvs::kTextBatchSwitched, number(counts.done));
    if (counts.unchanged > 0)
      text += kvs::text(arguments.command == Command::Gost ? kvs::kTextBatchUnchangedGost : kvs::kTextBatchUnchangedStock,
                        number(counts.unchanged));
    text += kvs::text(kvs::kTextBatchRefused, number(counts.refused));
  }
  if (counts.registered > 0) text += kvs::text(kvs::kTextBatchRegisteredCount, number(counts.registered));
  return text + kvs::text(arguments.dry_run ? kvs::kTextBatchEndDryRun : kvs::kTextBatchEnd) + L"\n";
}

void sayReportFailure(const std::wstring& file, const std::wstring& why, const Output& output) {
  output.error(kvs::text(kvs::kTextBatchCannotWriteReport, file, why) + L"\n");
}

// The report's file begun before any project is looked at, so that a report that cannot be
// written stops the run before it switches anything: its temporary file made beside it.
bool beginReport(const std::wstring& file, kvs::BegunReplace& report, const Output& output) {
  const std::wstring path = kvs::extended_path(kvs::full_path(file));
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    sayReportFailure(file, kvs::text(kvs::kTextIsFolder), output);
    return false;
  }
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    sayReportFailure(file, kvs::text(kvs::kTextIsReadOnly), output);
    return false;
  }
  // What a run that was killed left of its report.
  kvs::remove_replace_leftovers(path);
  if (report.begin(path, FILE_ATTRIBUTE_NORMAL)) return true;
  sayReportFailure(file, kvs::system_message(GetLastError()), output);
  return false;
}

// The report, UTF-8 after its byte-order mark (as spreadsheets read Cyrillic), put in place in one step.
bool writeReport(const std::wstring& file, kvs::BegunReplace& report, const std::vector<Row>& rows,
                 const Output& output) {
  const std::wstring header[] = {kvs::text(kvs::kTextReportPath), kvs::text(kvs::kTextReportBefore),
                                 kvs::text(kvs::kTextReportAfter), kvs::text(kvs::kTextReportOutcome),
                                 kvs::text(kvs::kTextReportMessage)};
  std::wstring text = csv_row(std::vector<std::wstring>(header, header + 5));
  for (const Row& r : rows) {
    const std::wstring fields[] = {r.path, r.before, r.after, r.outcome, r.message};
    text += csv_row(std::vector<std::wstring>(fields, fields + 5));
  }
  std::string bytes;
  if (kvs::encode_text_file(text, kvs::TextEncoding::Utf8, bytes)) {
    const kvs::ByteSpan whole = {bytes.data(), bytes.size()};
    if (report.finish(std::vector<kvs::ByteSpan>(1, whole))) return true;
  }
  sayReportFailure(file, kvs::system_message(GetLastError()), output);
  return false;
}

}  // namespace

int run(const std::vector<std::wstring>& args, const Output& output) {
  Arguments arguments;
  std::wstring error;
  if (!parse_arguments(args, arguments, error)) {
    output.error(kvs::text(kvs::kTextBatchError, error) + L"\n" + usage());
    return 2;
  }
  if (arguments.help) {
    output.out(usage());
    return 0;
  }
  if (arguments.release.empty() && arguments.command != Command::Status) {
    arguments.release = newestRelease();
    if (arguments.release.empty()) {
      output.error(kvs::text(kvs::kTextBatchNoRelease) + L"\n" + usage());
      return 2;
    }
  }
  kvs::BegunReplace report;
  if (!arguments.report.empty() && !beginReport(arguments.report, report, output)) return 2;
  // Each project once, under the first spelling that reaches it, however many PATHs do.
  std::vector<std::wstring> projects, keys;
  std::unordered_set<std::wstring> seen;
  int unlisted = 0;
  for (const std::wstring& path : arguments.paths) {
    for (const std::wstring& found : projectsOf(path, output, unlisted)) {
      const std::wstring key = kvs::path_identity(found);
      if (!seen.insert(key).second) continue;
      projects.push_back(found);
      keys.push_back(key);
    }
  }
  std::wstring list;
  kvs::RegKey addon;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Korvanta", 0, KEY_QUERY_VALUE, addon.put()) == ERROR_SUCCESS)
    kvs::read_string_value(addon.get(), L"Projects", list);
  const std::unordered_set<std::wstring> registeredKeys = kvs::list_keys(list, kvs::path_identity);

  // The library is listed once for the whole run, when the first project needs it.
  const int tip = arguments.command == Command::Gost ? 1 : 2;
  const std::wstring release = arguments.release;
  const LibraryValues libraries = once_per_pass([tip, release](kvs::RecordValues& values, std::wstring& message) {
    return library_lists(tip, release, values, message);
  });
  Counts counts;
  std::vector<Row> rows;
  for (std::size_t i = 0; i < projects.size(); ++i) {
    if (output.progress) output.progress(L"\r" + std::to_wstring(i + 1) + L"/" + std::to_wstring(projects.size()) + L" ");
    const Row row = arguments.command == Command::Status ? statusOf(projects[i], counts)
                                                          : switchOf(projects[i], arguments, libraries, counts);
    const bool registered = registeredKeys.count(keys[i]) != 0;
    if (registered) ++counts.registered;
    std::wstring line;
    if (row.outcome == L"refused") line = kvs::text(kvs::kTextBatchRowRefused, row.path, row.message);
    else if (row.outcome == L"unreadable") line = kvs::text(kvs::kTextBatchRowUnreadable, row.path, row.message);
    else if (row.outcome == L"unchanged") line = kvs::text(kvs::kTextBatchRowUnchanged, row.path, row.before, row.message);
    else if (arguments.command == Command::Status) line = kvs::text(kvs::kTextBatchRowStatus, row.path, row.before);
    else line = kvs::text(kvs::kTextBatchRowSwitched, row.path, row.before, row.after);
    output.out(line + (registered ? kvs::text(kvs::kTextBatchRegistered) : L"") + L"\n");
    rows.push_back(row);
  }
  if (output.progress && !projects.empty()) output.progress(L"\r" + std::wstring(24, L' ') + L"\r");
  output.out(summary(arguments, projects.size(), counts));
  if (!arguments.report.empty() && !writeReport(arguments.report, report, rows, output)) return 1;
  return counts.refused > 0 || unlisted > 0 || projects.empty() ? 1 : 0;
}

}  // namespace kvs_switch
