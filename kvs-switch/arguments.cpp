#include "arguments.h"

#include "common/texts.h"
#include "frame/release_table.h"

namespace kvs_switch {

std::wstring usage() { return kvs::text(kvs::kTextBatchUsage); }

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
    error = kvs::text(kvs::kTextBatchNoCommand);
    return false;
  }
  if (args[0] == L"status") parsed.command = Command::Status;
  else if (args[0] == L"gost") parsed.command = Command::Gost;
  else if (args[0] == L"stock") parsed.command = Command::Stock;
  else {
    error = kvs::text(kvs::kTextBatchUnknownCommand, L"\"" + args[0] + L"\"");
    return false;
  }
  bool options = true;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::wstring& arg = args[i];
    if (options && arg == L"--") {
      options = false;
    } else if (options && (arg == L"--release" || arg == L"--report")) {
      if (i + 1 == args.size()) {
        error = kvs::text(kvs::kTextBatchNeedsValue, arg);
        return false;
      }
      (arg == L"--release" ? parsed.release : parsed.report) = args[++i];
      if (arg == L"--release" && !kvs::is_known_release(parsed.release)) {
        error = kvs::text(kvs::kTextBatchBadRelease, L"\"" + parsed.release + L"\"");
        return false;
      }
    } else if (options && arg == L"--dry-run") {
      parsed.dry_run = true;
    } else if (options && arg.size() > 1 && arg[0] == L'-') {
      error = kvs::text(kvs::kTextBatchUnknownOption, L"\"" + arg + L"\"");
      return false;
    } else if (!arg.empty() && arg[arg.size() - 1] == L'"') {
      // "C:\Projects\" reaches a program as C:\Projects": the last backslash escapes the quote.
      parsed.paths.push_back(arg.substr(0, arg.size() - 1) + L"\\");
    } else {
      parsed.paths.push_back(arg);
    }
  }
  if (parsed.paths.empty()) {
    error = kvs::text(kvs::kTextBatchNoPath);
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
