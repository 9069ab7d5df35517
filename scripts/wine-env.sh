# Wine environment for tests and the demo. Source this file, then call
#   wine_env_start    start Xvfb and a wineserver of our own, make the prefix
#   wine_env_stop     end both again, by their own process ids
# Every process this file starts is recorded by pid and ended by pid; the
# caller is expected to run wine_env_stop from an EXIT trap.

TARNELIX_SOURCE_DIR=${TARNELIX_SOURCE_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
TARNELIX_WINE_ROOT=${TARNELIX_WINE_ROOT:-$TARNELIX_SOURCE_DIR/build/wine}
export WINEPREFIX="$TARNELIX_WINE_ROOT/prefix"
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installer dialogs, and no sound driver: Xvfb has no sound
# device, and the tests check what is played through the sound log instead.
# No menu entries of the host for shortcuts the installer test makes.
export WINEDLLOVERRIDES="mscoree,mshtml=;winealsa.drv,winepulse.drv,wineoss.drv=;winemenubuilder.exe=d"

XVFB_PID=""
WINESERVER_PID=""

# Returns the Windows form (Z:\...) of a Unix path; Wine maps Z: to /.
wine_path() {
  local p
  p=$(realpath -m "$1")
  printf 'Z:%s' "${p//\//\\}"
}

wine_start_xvfb() {
  local fdfile="$TARNELIX_WINE_ROOT/.display.$$"
  rm -f "$fdfile"
  # -displayfd lets Xvfb pick a free display number itself, so parallel
  # runs never race for the same one.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$fdfile" >/dev/null 2>&1 &
  XVFB_PID=$!
  local i
  for i in $(seq 1 100); do
    if [ -s "$fdfile" ]; then break; fi
    kill -0 "$XVFB_PID" 2>/dev/null || { echo "wine-env: Xvfb did not start" >&2; return 1; }
    sleep 0.05
  done
  export DISPLAY=":$(tr -dc '0-9' <"$fdfile")"
  rm -f "$fdfile"
  for i in $(seq 1 100); do
    if xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; then return 0; fi
    sleep 0.05
  done
  echo "wine-env: display $DISPLAY does not answer" >&2
  return 1
}

# WINE_SERVER_WRAP, an array, may hold a command that the server runs
# under (wine-run.sh --plain-permissions): Wine's server, not the program,
# opens and creates the files.
[ -n "${WINE_SERVER_WRAP+set}" ] || WINE_SERVER_WRAP=()
wine_start_server() {
  mkdir -p "$WINEPREFIX"
  "${WINE_SERVER_WRAP[@]}" wineserver -f -p >/dev/null 2>&1 &
  WINESERVER_PID=$!
  sleep 0.2
  if ! kill -0 "$WINESERVER_PID" 2>/dev/null; then
    # A server left behind for this private prefix by an interrupted run
    # holds its socket; ask it to finish, then start our own.
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    "${WINE_SERVER_WRAP[@]}" wineserver -f -p >/dev/null 2>&1 &
    WINESERVER_PID=$!
    sleep 0.2
    kill -0 "$WINESERVER_PID" 2>/dev/null || { echo "wine-env: wineserver did not start" >&2; return 1; }
  fi
}

# The prefix is made once by wineboot and reused by every later run. The
# stamp file holds the version of the set-up below; a prefix made by an
# older version is brought up to date at its next run.
TARNELIX_PREFIX_VERSION=2

wine_ensure_prefix() {
  local stamp="$WINEPREFIX/.tarnelix-ready"
  [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$TARNELIX_PREFIX_VERSION" ] && return 0
  if [ ! -f "$stamp" ]; then
    echo "wine-env: creating the Wine prefix (once)" >&2
    wineboot -i >/dev/null 2>&1 || true
    wine_prefix_settings
  fi
  wine_prefix_fonts
  echo "$TARNELIX_PREFIX_VERSION" >"$stamp"
}

wine_prefix_settings() {
  local reg="$TARNELIX_WINE_ROOT/prefix-settings.reg"
  cat >"$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1024x768"

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Decorated"="N"
"Managed"="N"
REG
  wine regedit /S "$(wine_path "$reg")" >/dev/null 2>&1
}

# Debian's Wine 8 looks for its own fonts in /usr/share/fonts (its data
# folder + "/../fonts"), while the fonts-wine package installs them into
# /usr/share/wine/fonts. Without them every face falls back to DejaVu Sans:
# "MS Sans Serif" 8 then gives 7 pixels per 4 dialog units instead of
# Windows' 6 (dialog base units 6 x 13), and Marlett is missing, so the
# caption buttons show the letters "0 1 r". Linked into the prefix's Fonts
# folder they load as on Windows: "MS Sans Serif" is the bitmap font
# sserife.fon, "MS Shell Dlg" stands for Tahoma.
wine_prefix_fonts() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts" font
  mkdir -p "$fonts"
  for font in /usr/share/wine/fonts/*; do
    if [ -f "$font" ]; then ln -sf "$font" "$fonts/"; fi
  done
}

wine_env_start() {
  mkdir -p "$TARNELIX_WINE_ROOT"
  wine_start_xvfb || return 1
  # One prefix serves every run, and one wineserver serves a prefix: a run
  # holds the prefix's lock until it ends, so that two runs (two CTest
  # invocations, the demo beside the tests) never share a server or end each
  # other's programs.
  exec 8>"$TARNELIX_WINE_ROOT/prefix.lock"
  flock 8
  wine_start_server || return 1
  wine_ensure_prefix
}

wine_env_stop() {
  if [ -n "$WINESERVER_PID" ] && kill -0 "$WINESERVER_PID" 2>/dev/null; then
    # Ask our own server to end its Wine processes and itself. A plain
    # SIGTERM to the server would orphan clients such as winedevice.exe,
    # which then hang around for good.
    wineserver -k >/dev/null 2>&1 || kill "$WINESERVER_PID" 2>/dev/null
    local i
    for i in $(seq 1 50); do kill -0 "$WINESERVER_PID" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$WINESERVER_PID" 2>/dev/null || true
    wait "$WINESERVER_PID" 2>/dev/null || true
  fi
  WINESERVER_PID=""
  if [ -n "$XVFB_PID" ] && kill -0 "$XVFB_PID" 2>/dev/null; then
    kill "$XVFB_PID" 2>/dev/null
    wait "$XVFB_PID" 2>/dev/null || true
  fi
  XVFB_PID=""
  # Let the next run have the prefix.
  exec 8>&-
}
