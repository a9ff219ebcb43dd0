// What the benchmarks measure a switch against, and the calls a job costs on the simulated share.
#pragma once

#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>

#include "support/simulated_share.h"
#include "win32/file_read.h"
#include "win32/file_replace.h"

namespace bench {

// The crash-safe copy: read whole, written beside, flushed and put in the original's place,
// by the same replace that a switch writes its file with.
inline void copyInPlace(const std::wstring& original) {
  std::string bytes;
  if (!kvs::read_whole_file(original, bytes) || !kvs::replace_file_content(original, bytes, FILE_ATTRIBUTE_NORMAL))
    std::printf("copy failed\n");
}

// The calls the share serves for `job`, less those the look at the count costs itself.
inline long callsOf(const std::function<void()>& job) {
  testing_support::shareCalls();
  testing_support::shareCalls();
  const long look = testing_support::shareCalls()["total"];
  job();
  return testing_support::shareCalls()["total"] - look;
}

inline const char* verdict(double ratio, double bound) { return ratio <= bound ? "within" : "OVER"; }

}  // namespace bench
