#!/usr/bin/env bash
# Builds the project text fuzzer with clang (build/fuzz) and runs it for SECONDS
# (default 60) on a scratch copy of the seed corpus. Exits non-zero on a finding;
# the reproducer is left in build/fuzz/run/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
if ! [[ $seconds =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: $0 [SECONDS]" >&2
  exit 2
fi

build=$root/build/fuzz
cmake -S "$root" -B "$build" -DKVS_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" --target project_text_fuzzer -j"$(nproc)"

run=$build/run
rm -rf "$run"
mkdir -p "$run/corpus"
cp "$root"/fuzz/corpus/* "$run/corpus/"

status=0
"$build/fuzz/project_text_fuzzer" -max_total_time="$seconds" -max_len=8192 \
  -artifact_prefix="$run/" "$run/corpus" 2>"$run/fuzz.log" || status=$?
if ((status == 0)); then
  tail -n 1 "$run/fuzz.log"
  echo "fuzz: no finding in ${seconds} s ($(ls "$run/corpus" | wc -l) corpus entries)"
else
  grep -E "property violated|ERROR:|SUMMARY:|^artifact_prefix|Test unit written" "$run/fuzz.log" >&2 || tail -n 20 "$run/fuzz.log" >&2
  echo "fuzz: finding, exit status $status; log and reproducer in $run" >&2
fi
exit $status
