#!/usr/bin/env bash
# Checks the import tables of the shipped binaries: no MinGW runtime DLL
# anywhere, and the hook libraries (Wendle.dll, and Wendle32.dll for the
# 32-bit programs), which the system maps into every process, only with
# KERNEL32 and USER32 and at most 64 KiB each.
#   check-binaries.sh PROGRAM_DIR [PROGRAM_DIR_32]
# The second folder, the 32-bit build's, is checked when it holds programs.
set -uo pipefail
bin=${1:?usage: check-binaries.sh PROGRAM_DIR [PROGRAM_DIR_32]}
bin32=${2:-}
# This objdump reads the 32-bit programs as well.
objdump=x86_64-w64-mingw32-objdump
failed=0

imports() { "$objdump" -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr -d '\r'; }

# check DIR FILE...: present, without a MinGW runtime DLL; hook libraries
# with KERNEL32 and USER32 alone.
check() {
  local dir=$1 file path list extra size; shift
  for file in "$@"; do
    path="$dir/$file"
    if [ ! -f "$path" ]; then echo "missing: $path"; failed=1; continue; fi
    list=$(imports "$path" | tr '\n' ' ')
    echo "$file ($(stat -c %s "$path") bytes): $list"
    if grep -qiE 'libgcc|libstdc\+\+|libwinpthread' <<<"$list"; then
      echo "  FAIL: imports a MinGW runtime DLL"; failed=1
    fi
    case "$file" in Wendle*.dll) ;; *) continue ;; esac
    extra=$(imports "$path" | grep -viE '^(KERNEL32|USER32)\.dll$' || true)
    if [ -n "$extra" ]; then echo "  FAIL: $file imports $extra"; failed=1; fi
    size=$(stat -c %s "$path")
    if [ "$size" -gt 65536 ]; then echo "  FAIL: $file is $size bytes, over 64 KiB"; failed=1; fi
  done
}

check "$bin" Tarnelix.exe Wendle.dll Veilmark-AddOn.exe TarnelixCtrl.exe Wendle32.dll Wendle32Host.exe
if [ -n "$bin32" ] && [ -f "$bin32/Tarnelix.exe" ]; then
  echo "32-bit build:"
  check "$bin32" Tarnelix.exe Wendle.dll Veilmark-AddOn.exe TarnelixCtrl.exe
fi
if [ $failed = 0 ]; then echo "1 passed, 0 failed"; else echo "0 passed, 1 failed"; fi
exit $failed
