#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"

status=0
echo "== the shipped sources in the C++ of Visual C++ 2012"
"$root/scripts/check-dialect.sh" || status=1
echo "== native tests"
ctest --test-dir "$root/build/native" --output-on-failure -j"$(nproc)" || status=1
echo "== Windows tests under Wine"
ctest --test-dir "$root/build/win" --output-on-failure || status=1
KVS_STATE_DIR="$root/build/win/wine" "$root/tools/wine-session" stop
echo "== fuzzing the project-text rewrite"
"$root/scripts/fuzz.sh" 45 || status=1
exit $status
