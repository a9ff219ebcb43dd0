# Sourced by the Wine wrappers. Sets up a Russian locale (ANSI code page 1251, Cyrillic
# file names) and a Wine prefix that belongs to the caller, never the user's default one.
#   KVS_STATE_DIR         folder that holds the generated locales and the default prefix
#   WINEPREFIX            honoured when the caller sets it
#   KVS_DISPLAY_LANGUAGE  the Windows display language, as a locale: ru_RU.UTF-8 (when unset)
#                         or en_US.UTF-8; the ANSI code page stays 1251 in either
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
# bash itself cannot use these locales; Wine can. Wine takes the display language from
# LC_MESSAGES, the code page from LC_CTYPE, and a program it starts keeps its starter's.
if [ -n "${KVS_DISPLAY_LANGUAGE:-}" ]; then
  unset LC_ALL
  export LANG=ru_RU.UTF-8 LC_CTYPE=ru_RU.UTF-8 LC_MESSAGES="$KVS_DISPLAY_LANGUAGE" 2>/dev/null
else
  export LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8 2>/dev/null
fi
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
