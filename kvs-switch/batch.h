// One run of kvs-switch over the projects its command line names.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace kvs_switch {

// Where the run's texts go: a line per project and the summary; the progress count (empty
// when nobody watches it); usage and failures of the run itself.
struct Output {
  std::function<void(const std::wstring&)> out;
  std::function<void(const std::wstring&)> progress;
  std::function<void(const std::wstring&)> error;
};

// `args` without the program's name. The exit status: 0 when every project ended as asked, 1
// when some were refused or a folder could not be listed (each is named) or none was found, 2
// for bad usage.
int run(const std::vector<std::wstring>& args, const Output& output);

}  // namespace kvs_switch
