# Sourced by the Wine wrappers. Sets up a Russian locale (ANSI code page 1251, Cyrillic
# file names) and a Wine prefix that belongs to the caller, never the user's default one.
#   KVS_STATE_DIR  folder that holds the generated locale and the default prefix
#   WINEPREFIX     honoured when the caller sets it
kvs_state_dir=${KVS_STATE_DIR:?KVS_STATE_DIR must name a folder}
mkdir -p "$kvs_state_dir"
for kvs_locale in ru_RU en_US; do
  if [ ! -d "$kvs_state_dir/locale/$kvs_locale.UTF-8" ]; then
    mkdir -p "$kvs_state_dir/locale"
    localedef -i $kvs_locale -f UTF-8 "$kvs_state_dir/locale/$kvs_locale.UTF-8" 2>/dev/null ||
      [ -d "$kvs_state_dir/locale/$kvs_locale.UTF-8" ] ||
      { echo "wine-env: cannot generate the $kvs_locale.UTF-8 locale" >&2; exit 1; }
  fi
done
export LOCPATH="$kvs_state_dir/locale"
# Code page 1251 always; the display language is Russian unless KVS_LC_MESSAGES names another
# (en_US.UTF-8: an English user on a Russian code page). Wine reads both at each process's start.
unset LC_ALL
export LANG=ru_RU.UTF-8 LC_CTYPE=ru_RU.UTF-8 LC_MESSAGES="${KVS_LC_MESSAGES:-ru_RU.UTF-8}" 2>/dev/null
export WINEPREFIX="${WINEPREFIX:-$kvs_state_dir/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
unset DISPLAY

kvs_wine_ready() {
  # A fresh prefix takes a while; make it once, quietly.
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1 </dev/null || true
    wineserver -w
    # Wine links the user's Documents and other shell folders to $HOME, which every prefix
    # on the machine would then share; a new prefix gets folders of its own.
    local link
    for link in "$WINEPREFIX"/drive_c/users/*/{Desktop,Documents,Downloads,Music,Pictures,Videos}; do
      if [ -L "$link" ]; then rm -f "$link" && mkdir -p "$link"; fi
    done
  fi
}
