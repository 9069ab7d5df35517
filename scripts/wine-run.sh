#!/usr/bin/env bash
# Runs one Windows test program under Wine, isolated:
#   wine-run.sh --name NAME --program-dir DIR --exe FILE.exe [--timeout S] [--setup SCRIPT]
#               [--plain-permissions] -- [ARGS...]
# The test gets its own Xvfb display and wineserver, a fresh copy of the
# program folder (TARNELIX_PROGRAM_DIR, as a Windows path), a scratch folder
# (TARNELIX_TEST_DIR) and a clean HKCU\Software\Corvantine. Everything it
# started is ended by pid, also when the test fails or is interrupted.
# SCRIPT, when given, runs once the prefix is ready, with the run folder as
# its argument and WINEPREFIX set, to plant what Windows code cannot make.
# --plain-permissions runs the test without root's right to write where the
# file permissions say no (CAP_DAC_OVERRIDE), so that a read-only folder is
# read-only to the programs also when the tests run as root, as in CI.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"

name="" program_dir="" exe="" timeout_s=110 setup="" plain=""
while [ $# -gt 0 ]; do
  case "$1" in
    --name) name=$2; shift 2 ;;
    --program-dir) program_dir=$2; shift 2 ;;
    --exe) exe=$2; shift 2 ;;
    --timeout) timeout_s=$2; shift 2 ;;
    --setup) setup=$2; shift 2 ;;
    --plain-permissions) plain=1; shift ;;
    --) shift; break ;;
    *) echo "wine-run: unknown option $1" >&2; exit 2 ;;
  esac
done
[ -n "$name" ] && [ -n "$exe" ] || { echo "usage: wine-run.sh --name N --program-dir D --exe E -- ARGS" >&2; exit 2; }
[ -f "$exe" ] || { echo "wine-run: $exe not built (build the win64 preset first)" >&2; exit 1; }

run_dir="$TARNELIX_WINE_ROOT/runs/$name"
test_pid=""
cleanup() {
  local rc=$?
  [ -n "$test_pid" ] && kill "$test_pid" 2>/dev/null
  wine_env_stop
  exit $rc
}
trap cleanup EXIT
trap 'exit 143' TERM INT HUP

# A set-up may have left read-only folders, which a user who is not root
# could not delete.
[ -d "$run_dir" ] && chmod -R u+w "$run_dir" 2>/dev/null
rm -rf "$run_dir"
mkdir -p "$run_dir/program" "$run_dir/scratch" "$run_dir/xdg"
if [ -n "$program_dir" ] && [ -d "$program_dir" ]; then
  cp -a "$program_dir/." "$run_dir/program/"
fi
export TARNELIX_PROGRAM_DIR="$(wine_path "$run_dir/program")\\"
export TARNELIX_TEST_DIR="$(wine_path "$run_dir/scratch")\\"
export TARNELIX_TOOLS_DIR="$(wine_path "$(dirname "$exe")")\\"
# Wine's recycle bin is the XDG trash: keep it inside the test's folder.
export XDG_DATA_HOME="$run_dir/xdg"

# Wine's server opens the files, so it runs without the override too.
as_plain=()
if [ -n "$plain" ] && [ "$(id -u)" = 0 ]; then
  as_plain=(setpriv --inh-caps=-dac_override,-dac_read_search --bounding-set=-dac_override,-dac_read_search --)
  # A container without the right to change the bounding set runs the test
  # as it is; the test then finds its read-only folder writable and says so.
  "${as_plain[@]}" true 2>/dev/null || { echo "wine-run: setpriv refused; running with root's override" >&2; as_plain=(); }
fi
WINE_SERVER_WRAP=("${as_plain[@]}")

wine_env_start || exit 1
wine reg delete 'HKCU\Software\Corvantine' /f >/dev/null 2>&1 || true
if [ -n "$setup" ]; then
  bash "$setup" "$run_dir" || { echo "wine-run: set-up $setup failed" >&2; exit 1; }
fi

cd "$run_dir/scratch"
# timeout(1) keeps a hung Windows program from outliving the test's budget.
timeout --kill-after=5 "$timeout_s" "${as_plain[@]}" wine "$exe" "$@" &
test_pid=$!
wait "$test_pid"
rc=$?
test_pid=""
[ $rc = 124 ] && echo "wine-run: $name timed out after ${timeout_s}s" >&2
# Screenshots the test saved as BMP are kept as PNG in the build tree.
if [ -d "$run_dir/scratch/screenshots" ]; then
  shots="$TARNELIX_WINE_ROOT/../screenshots/$name"
  mkdir -p "$shots"
  for bmp in "$run_dir/scratch/screenshots"/*.bmp; do
    [ -f "$bmp" ] || continue
    /usr/bin/convert "$bmp" "$shots/$(basename "${bmp%.bmp}").png" 2>/dev/null || true
  done
  echo "wine-run: screenshots in $(realpath "$shots")"
fi
exit $rc
