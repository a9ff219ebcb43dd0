#include "arguments.h"

#include "frame/release_table.h"

namespace kvs_switch {

const wchar_t kUsage[] =
    L"usage: kvs-switch status [options] PATH...   the library each project is on\n"
    L"       kvs-switch gost   [options] PATH...   switch each project to the GOST library\n"
    L"       kvs-switch stock  [options] PATH...   switch each project back to the stock library\n"
    L"       kvs-switch --help                     this text (also -h and /?)\n"
    L"PATH is a project file (.wdp) or a folder, searched with its sub-folders for *.wdp; a project\n"
    L"that several PATHs reach is taken once.\n"
    L"options: --release YEAR    the ACADE release whose stock library folders are meant (2010 to 2027;\n"
    L"                           by default the newest ACADE release in the user's registry)\n"
    L"         --dry-run         say what would change, change nothing\n"
    L"         --report FILE     a CSV row a project: path, library before, library after, outcome, message\n";

namespace {

bool asks_for_help(const std::wstring& arg) { return arg == L"--help" || arg == L"-h" || arg == L"/?"; }

}  // namespace

bool parse_arguments(const std::vector<std::wstring>& args, Arguments& parsed, std::wstring& error) {
  parsed = Arguments();
  for (std::size_t i = 0; i < args.size() && args[i] != L"--"; ++i) {
    if (asks_for_help(args[i])) {
      parsed.help = true;
      return true;
    }
  }
  if (args.empty()) {
    error = L"no command given";
    return false;
  }
  if (args[0] == L"status") parsed.command = Command::Status;
  else if (args[0] == L"gost") parsed.command = Command::Gost;
  else if (args[0] == L"stock") parsed.command = Command::Stock;
  else {
    error = L"unknown command \"" + args[0] + L"\"";
    return false;
  }
  bool options = true;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::wstring& arg = args[i];
    if (options && arg == L"--") {
      options = false;
    } else if (options && (arg == L"--release" || arg == L"--report")) {
      if (i + 1 == args.size()) {
        error = arg + L" needs a value";
        return false;
      }
      (arg == L"--release" ? parsed.release : parsed.report) = args[++i];
      if (arg == L"--release" && !kvs::is_known_release(parsed.release)) {
        error = L"--release takes a year from 2010 to 2027, not \"" + parsed.release + L"\"";
        return false;
      }
    } else if (options && arg == L"--dry-run") {
      parsed.dry_run = true;
    } else if (options && arg.size() > 1 && arg[0] == L'-') {
      error = L"unknown option \"" + arg + L"\"";
      return false;
    } else if (!arg.empty() && arg[arg.size() - 1] == L'"') {
      // "C:\Projects\" reaches a program as C:\Projects": the last backslash escapes the quote.
      parsed.paths.push_back(arg.substr(0, arg.size() - 1) + L"\\");
    } else {
      parsed.paths.push_back(arg);
    }
  }
  if (parsed.paths.empty()) {
    error = L"no PATH given";
    return false;
  }
  return true;
}

std::wstring csv_row(const std::vector<std::wstring>& fields) {
  std::wstring row;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) row += L',';
    const std::wstring& field = fields[i];
    if (field.find_first_of(L",\"\r\n") == std::wstring::npos) {
      row += field;
      continue;
    }
    row += L'"';
    for (std::size_t c = 0; c < field.size(); ++c) {
      if (field[c] == L'"') row += L'"';
      row += field[c];
    }
    row += L'"';
  }
  return row + L"\r\n";
}

}  // namespace kvs_switch
