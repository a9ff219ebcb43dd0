// kvs-switch's command line and its report's rows. Platform-free.
#pragma once

#include <string>
#include <vector>

namespace kvs_switch {

enum class Command { Status, Gost, Stock };

struct Arguments {
  Arguments() : help(false), command(Command::Status), dry_run(false) {}
  bool help;  // --help, -h or /?: the usage asked for, nothing else done
  Command command;
  std::wstring release;  // the release year --release names; empty for the newest installed
  bool dry_run;
  std::wstring report;  // the CSV file --report names; empty for none
  std::vector<std::wstring> paths;
};

// The usage text, printed when asked for and for bad usage.
std::wstring usage();

// `args` without the program's name. False with what is wrong when they are no valid command
// line: an unknown command or option, an option without its value, an unknown release, no PATH.
// A request for help anywhere before "--" is a valid command line of its own.
bool parse_arguments(const std::vector<std::wstring>& args, Arguments& parsed, std::wstring& error);

// One row of the report: the fields joined by commas, each quoted when it holds a comma, a
// double quote or a line break (its quotes doubled), ended by CR LF.
std::wstring csv_row(const std::vector<std::wstring>& fields);

}  // namespace kvs_switch
