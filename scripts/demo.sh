#!/usr/bin/env bash
# The main job: installs what is missing, builds, installs the add-on silently into a demo
# Wine prefix, and runs a simulated ACADE session (2015, or the release --release names) on
# the demo project: kvs_on, then kvs_off, then kvs_undo and QUIT, asking kvs_status and
# kvs_list on the way. Shows the project's records before and after the switch.
#   usage: scripts/demo.sh [--release YEAR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
release=2015
while [ $# -gt 0 ]; do
  case "$1" in
    --release) [ $# -ge 2 ] || { echo "demo.sh: --release needs a year" >&2; exit 2; }; release=$2; shift 2 ;;
    *) echo "usage: scripts/demo.sh [--release YEAR]" >&2; exit 2 ;;
  esac
done
demo=$root/build/demo
mkdir -p "$root/build"
echo "== Building (log: build/build.log)"
if ! "$root/scripts/build.sh" >"$root/build/build.log" 2>&1; then
  tail -n 30 "$root/build/build.log"
  exit 1
fi

export KVS_STATE_DIR="$root/build/win/wine"
"$root/tools/wine-run" cmd /c exit >/dev/null 2>&1  # the build's prepared prefix, made once
rm -rf "$demo"
mkdir -p "$demo"
cp -a "$KVS_STATE_DIR/wineprefix" "$demo/prefix"
export WINEPREFIX="$demo/prefix"
. "$root/tools/wine-env.sh"

# The build's prefix may hold the profiles and documents the tests' sessions made: AutoCAD
# starts here as on a machine it never ran on.
wine reg delete "HKCU\\Software\\Autodesk\\AutoCAD" /f >/dev/null 2>&1 || true
rm -rf "$WINEPREFIX"/drive_c/users/*/Documents/Acade\ *

# AutoCAD's first start, before the add-on is installed, makes the release's profile; its
# banner names the product key.
banner=$("$root/tools/acade-sim" --release "$release" </dev/null | grep -m1 '(simulated)') || {
  echo "demo.sh: acade-sim does not simulate release $release" >&2
  exit 2
}
product=$(sed -E 's/^[^,]*, ([^,]*), .*/\1/' <<<"$banner")
echo "== Installing the add-on: KorvantaSetup.exe /S"
wine "$root/build/win/bin/KorvantaSetup.exe" /S

profile=$(wine cmd /c echo %USERPROFILE% 2>/dev/null | tr -d '\r')
project="$profile\\Documents\\Acade $release\\AeData\\Proj\\Demo\\Demo.wdp"
snapshots=$(winepath -w "$demo")
cat >"$demo/session.scr" <<SCR
SHELL copy "$project" "$snapshots\\before.wdp"
kvs_status
kvs_on
kvs_status
kvs_list
SHELL copy "$project" "$snapshots\\gost.wdp"
SHELL reg query "HKCU\\SOFTWARE\\Korvanta" /v Projects
SHELL reg query "HKCU\\Software\\Autodesk\\AutoCAD\\$product\\Profiles\\<<ACADE>>\\General" /v ACAD
kvs_off
SHELL copy "$project" "$snapshots\\after.wdp"
SHELL reg query "HKCU\\SOFTWARE\\Korvanta" /v Projects
SHELL reg query "HKCU\\Software\\Autodesk\\AutoCAD\\$product\\Profiles\\<<ACADE>>\\General" /v ACAD
kvs_undo
kvs_list
QUIT
SCR

echo "== ACADE $release session on $project"
transcript=$demo/transcript.txt
"$root/tools/acade-sim" --release "$release" --project "$project" "$demo/session.scr" | tee "$transcript"

# Project files are ANSI (code page 1251) up to 2015 and Unicode (UTF-16 with its mark) since.
text() {
  if [ "$(head -c 2 "$1" | od -An -tx1 | tr -d ' ')" = fffe ]; then iconv -f UTF-16 -t utf-8 "$1"
  else iconv -f cp1251 -t utf-8 "$1"; fi | tr -d '\r'
}
records() { text "$1" | grep -E '^\+\['; }
others() { text "$1" | grep -vE '^\+\['; }
echo
echo "== The project's other lines (description, properties, drawings) after kvs_on"
others "$demo/gost.wdp"
if cmp -s <(others "$demo/before.wdp") <(others "$demo/gost.wdp"); then
  echo "   (unchanged and in order)"
else
  diff -u <(others "$demo/before.wdp") <(others "$demo/gost.wdp") | tail -n +3 || true
fi
echo
echo "== The project's records: before kvs_on (-) and after it (+)"
diff -u <(records "$demo/before.wdp") <(records "$demo/gost.wdp") | tail -n +3 | grep -E '^[-+]' || true
echo
echo "== The office's own symbol folder stays first in setting 1, before the GOST list and after kvs_off:"
records "$demo/gost.wdp" | grep -E '^\+\[1\]' | cut -c1-90
records "$demo/after.wdp" | grep -E '^\+\[1\]' | cut -c1-90
echo
if cmp -s <(records "$demo/before.wdp") <(records "$demo/after.wdp"); then
  echo "== After kvs_off the project holds the same stock records as before kvs_on."
else
  echo "== After kvs_off the records differ from before:"
  diff -u <(records "$demo/before.wdp") <(records "$demo/after.wdp") | tail -n +3 || true
fi
echo "== Waiting for update.exe to put the user's PLC database back"
wineserver -w
echo "Session transcript: $transcript"
