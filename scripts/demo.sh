#!/usr/bin/env bash
# The demo: starts Tarnelix.exe under Wine on a private display, shows that
# it runs (its main window, a screenshot), and stops it cleanly.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
root="$TARNELIX_SOURCE_DIR"
win64="$root/build/win64"
demo="$root/build/demo"
tarnelix_pid=""

cleanup() {
  local rc=$?
  [ -n "$tarnelix_pid" ] && kill "$tarnelix_pid" 2>/dev/null
  wine_env_stop
  exit $rc
}
trap cleanup EXIT
trap 'exit 143' TERM INT HUP

rm -rf "$demo/program"
mkdir -p "$demo/program"
cp -a "$win64/bin/." "$demo/program/"
winctl() { wine "$win64/tests/WinCtl.exe" "$@"; }

wine_env_start || exit 1
echo "demo: Wine prefix $WINEPREFIX, display $DISPLAY"

wine "$demo/program/Tarnelix.exe" &
tarnelix_pid=$!
if ! hwnd=$(winctl wait "#32770" "Tarnelix 3.0" 20000 | tr -d '\r'); then
  echo "demo: Tarnelix.exe did not show its main window" >&2
  exit 1
fi
echo "demo: Tarnelix.exe is running; main window \"Tarnelix 3.0\" is $hwnd"
# It starts hidden in the tray; "Show Options" (command 32773) brings it up.
winctl post "#32770" "Tarnelix 3.0" 0x0111 32773
sleep 1
if import -display "$DISPLAY" -window root "$demo/tarnelix.png" 2>/dev/null; then
  echo "demo: screenshot in $demo/tarnelix.png"
fi

# Exit as the user does: the exit command, then OK on the question.
winctl post "#32770" "Tarnelix 3.0" 0x0111 1
winctl wait "#32770" "Message Info" 10000 >/dev/null && winctl post "#32770" "Message Info" 0x0111 1
for _ in $(seq 1 100); do kill -0 "$tarnelix_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$tarnelix_pid" 2>/dev/null; then
  echo "demo: Tarnelix.exe did not stop" >&2
  exit 1
fi
wait "$tarnelix_pid"; rc=$?
tarnelix_pid=""
echo "demo: Tarnelix.exe stopped cleanly (exit code $rc)"
exit $rc
