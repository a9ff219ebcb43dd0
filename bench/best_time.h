// Timing shared by the benchmarks.
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>

namespace bench {

// Best time in seconds of one run of `job`, over `runs` runs; a run repeats the job until it
// lasts at least `min_seconds`, so that short jobs are not lost in the clock's resolution.
inline double best_seconds(int runs, const std::function<void()>& job, double min_seconds = 0.02) {
  double best = 1e300;
  for (int r = 0; r < runs; ++r) {
    int reps = 0;
    const auto start = std::chrono::steady_clock::now();
    std::chrono::duration<double> elapsed{};
    do {
      job();
      ++reps;
      elapsed = std::chrono::steady_clock::now() - start;
    } while (elapsed.count() < min_seconds);
    best = std::min(best, elapsed.count() / reps);
  }
  return best;
}

}  // namespace bench
