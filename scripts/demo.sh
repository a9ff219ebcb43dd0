#!/usr/bin/env bash
# The main job: installs what is missing, builds, installs the add-on silently into a demo
# Wine prefix, and runs a simulated ACADE 2015 session on the demo project: kvs_on, then
# kvs_off, then kvs_undo and QUIT, asking kvs_status and kvs_list on the way. Shows the
# project's records before and after the switch.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
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

echo "== Installing the add-on: KorvantaSetup.exe /S"
wine "$root/build/win/bin/KorvantaSetup.exe" /S

profile=$(wine cmd /c echo %USERPROFILE% 2>/dev/null | tr -d '\r')
project="$profile\\Documents\\Acade 2015\\AeData\\Proj\\Demo\\Demo.wdp"
snapshots=$(winepath -w "$demo")
cat >"$demo/session.scr" <<SCR
SHELL copy "$project" "$snapshots\\before.wdp"
kvs_status
kvs_on
kvs_status
kvs_list
SHELL copy "$project" "$snapshots\\gost.wdp"
SHELL reg query "HKCU\\SOFTWARE\\Korvanta" /v Projects
SHELL reg query "HKCU\\Software\\Autodesk\\AutoCAD\\R20.0\\ACAD-E007:409\\Profiles\\<<ACADE>>\\General" /v ACAD
kvs_off
SHELL copy "$project" "$snapshots\\after.wdp"
SHELL reg query "HKCU\\SOFTWARE\\Korvanta" /v Projects
SHELL reg query "HKCU\\Software\\Autodesk\\AutoCAD\\R20.0\\ACAD-E007:409\\Profiles\\<<ACADE>>\\General" /v ACAD
kvs_undo
kvs_list
QUIT
SCR

echo "== ACADE 2015 session on $project"
transcript=$demo/transcript.txt
"$root/tools/acade-sim" --project "$project" "$demo/session.scr" | tee "$transcript"

records() { iconv -f cp1251 -t utf-8 "$1" | tr -d '\r' | grep -E '^\+\['; }
others() { iconv -f cp1251 -t utf-8 "$1" | tr -d '\r' | grep -vE '^\+\['; }
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
if cmp -s <(records "$demo/before.wdp") <(records "$demo/after.wdp"); then
  echo "== After kvs_off the project holds the same stock records as before kvs_on."
else
  echo "== After kvs_off the records differ from before:"
  diff -u <(records "$demo/before.wdp") <(records "$demo/after.wdp") | tail -n +3 || true
fi
echo "== Waiting for update.exe to put the user's PLC database back"
wineserver -w
echo "Session transcript: $transcript"
