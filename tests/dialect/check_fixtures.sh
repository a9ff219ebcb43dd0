#!/usr/bin/env bash
# The dialect check against its fixtures: violations.cpp must give exactly the findings its
# `// dialect:` marks name, line by line, and allowed.cpp none.
# Usage: check_fixtures.sh BUILD_DIR   (the Windows build, for its compilation database)
set -uo pipefail
build=$(cd "${1:?usage: check_fixtures.sh BUILD_DIR}" && pwd) || exit 1
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root" || exit 1
out=$(mktemp)
trap 'rm -f "$out"' EXIT

status=0
for fixture in tests/dialect/violations.cpp tests/dialect/allowed.cpp; do
  "$root/tools/dialect-check" "$build" "$fixture" >"$out" 2>/dev/null
  rc=$?
  # The compiler's own words follow "C++11 compile error"; the mark names only the finding.
  actual=$(sed 's/\(: C++11 compile error\):.*/\1/' "$out" | sort)
  expected=$(awk -v f="$fixture" 'match($0, /\/\/ dialect: /) {
      n = split(substr($0, RSTART + RLENGTH), marks, "; ")
      for (i = 1; i <= n; i++) print f ":" FNR ": " marks[i] }' "$fixture" | sort)
  want_rc=0
  [ -n "$expected" ] && want_rc=1
  if [ "$rc" -ne "$want_rc" ] || [ "$actual" != "$expected" ]; then
    echo "FAIL $fixture: exit status $rc (expected $want_rc); findings expected (-) and reported (+):"
    diff <(printf '%s\n' "$expected") <(printf '%s\n' "$actual") | grep '^[<>]' | sed 's/^</-/; s/^>/+/'
    [ "$rc" -eq 2 ] && "$root/tools/dialect-check" "$build" "$fixture" 2>&1 >/dev/null | tail -3
    status=1
  else
    echo "ok   $fixture: $(printf '%s' "$expected" | grep -c .) findings as marked"
  fi
done
exit $status
