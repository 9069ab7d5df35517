#!/usr/bin/env bash
# Keeps the dependencies one way. Every quoted include of a source file names
# a folder of the tree; the table says which folders each folder may use.
# Run by CTest as "layers"; prints every include that climbs, and fails.
set -uo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root" || exit 2

# folder -> the folders its sources may include (besides itself).
declare -A allowed=(
  [platform]=""
  [common]="platform"
  [regex]="platform"
  [hook]="common platform"
  # The page windows are drawn with ui/'s skinned controls; ui/ never
  # includes pages/, so the arrow still runs one way.
  [pages]="ui common platform"
  [ui]="common platform"
  [addon]="ui pages common platform"
  [app]="pages ui regex hook common platform"
  [ctrl]="common platform"
)

failed=0
checked=0
while IFS= read -r file; do
  layer=${file%%/*}
  [ -n "${allowed[$layer]+set}" ] || continue
  checked=$((checked + 1))
  while IFS= read -r line; do
    target=$(sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]+"([^/"]+)\/.*/\1/p' <<<"${line#*:}")
    [ -n "$target" ] || continue
    [ "$target" = "$layer" ] && continue
    # hook/ offers the program above it only its interface header and the
    # table of watched programs, which both sides must read alike.
    if [ "$target" = hook ] && ! grep -qE '"hook/(Wendle|ProcessKind)\.h"' <<<"$line"; then
      echo "$file:${line%%:*}: includes the inside of the hook library"; failed=1; continue
    fi
    case " ${allowed[$layer]} " in
      *" $target "*) ;;
      *) echo "$file:${line%%:*}: $layer/ may not include $target/: ${line#*:}"; failed=1 ;;
    esac
  done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]+"' "$file")
done < <(git ls-files '*.h' '*.hpp' '*.c' '*.cc' '*.cpp' '*.rc')

echo "layers: $checked files checked"
exit $failed
