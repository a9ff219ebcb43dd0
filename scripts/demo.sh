#!/usr/bin/env bash
# The main job: installs what is missing, builds, and runs a simulated ACADE 2015 session
# with the add-on loaded, on the built-in demo environment (a Wine prefix of its own).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh" >/dev/null
export KVS_STATE_DIR="$root/build/win/wine"
export WINEPREFIX="$root/build/demo-prefix"
transcript="$root/build/demo-transcript.txt"
# The add-on's installed files, where the plug-in looks for them.
(. "$root/tools/wine-env.sh" && kvs_wine_ready)
install -D -m 644 "$root/build/win/data/Korvanta.cuix" "$WINEPREFIX/drive_c/Program Files/Korvanta/Support/Korvanta.cuix"
"$root/tools/install-addon"
"$root/tools/acade-sim" --load "$root/build/win/bin/KVS_switch_2015.arx" "$root/data/demo/demo.scr" | tee "$transcript"
# update.exe puts the user's PLC database back ten seconds after the unload: let it finish.
timeout 60 wineserver -w 2>/dev/null || wineserver -k 2>/dev/null || true
for plc in "$WINEPREFIX"/drive_c/users/*/Documents/"Acade 2015"/AeData/*/Plc; do
  [ -d "$plc" ] || continue
  if [ -e "$plc/ace_plc_old.mdb" ]; then
    echo "PLC database: still swapped, the user's own is ace_plc_old.mdb in $plc"
  else
    echo "PLC database: the user's own ace_plc.mdb is back in place in $plc"
  fi
done
echo "Session transcript: $transcript"
