#!/usr/bin/env bash
# Builds the benchmarks and prints every figure with its bound: a switch against the crash-safe
# copy on the local disk (10 KB to 64 MB) and on the simulated share \\srv\projects (1 ms a
# call; the kept versions on the local disk, then on the share too), the start-up pass and
# kvs-switch per project, and the calls the share serves. Numbers only. Where the share cannot
# be mounted (no /dev/fuse), its figures say SKIPPED and why.
#   --built   run what build/win holds, without building (the bench_report target's way)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ "${1:-}" != --built ]; then
  "$root/scripts/setup.sh"
  cmake -S "$root" -B "$root/build/win" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
  cmake --build "$root/build/win" --target bench -j2
fi
export KVS_STATE_DIR=$root/build/win/wine
bin=$root/build/win/bin
"$root/tools/wine-session" start
trap '"$root/tools/wine-session" stop' EXIT
run() { "$root/tools/wine-run" "$@"; }
echo "== a switch on the simulated share, kept versions on the local disk"
run "$bin/do_change_bench.exe" --share
echo "== a switch on the simulated share, kept versions on the share too"
run "$bin/do_change_bench.exe" --share --store-on-share
echo "== a switch on the local disk"
run "$bin/do_change_bench.exe"
echo "== the start-up pass and kvs-switch, on the local disk and on the simulated share"
run "$bin/startup_bench.exe"
