#!/usr/bin/env bash
# Holds what ships (plugin/, win32/, update/, kvs-switch/, installer/) to the C++ that Visual C++ 2012 compiles, the
# oldest family's toolset: each unit the Windows build compiles goes through g++ as
# -std=c++11 -pedantic-errors and through clang-query (tools/dialect-check). Prints each
# finding as file:line: feature and exits non-zero while there is any.
# Usage: scripts/check-dialect.sh [BUILD_DIR]   (default build/win, as scripts/build.sh makes it)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
exec "$root/tools/dialect-check" "${1:-$root/build/win}"
