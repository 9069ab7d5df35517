#!/usr/bin/env bash
# Checks the import tables of the shipped binaries: no MinGW runtime DLL
# anywhere, and Wendle.dll, which the system maps into every process, only
# with KERNEL32 and USER32 and at most 64 KiB.
set -uo pipefail
bin=${1:?usage: check-binaries.sh PROGRAM_DIR}
objdump=x86_64-w64-mingw32-objdump
failed=0

imports() { "$objdump" -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr -d '\r'; }

for file in Tarnelix.exe Wendle.dll Veilmark-AddOn.exe TarnelixCtrl.exe; do
  path="$bin/$file"
  if [ ! -f "$path" ]; then echo "missing: $path"; failed=1; continue; fi
  list=$(imports "$path" | tr '\n' ' ')
  echo "$file ($(stat -c %s "$path") bytes): $list"
  if grep -qiE 'libgcc|libstdc\+\+|libwinpthread' <<<"$list"; then
    echo "  FAIL: imports a MinGW runtime DLL"; failed=1
  fi
done

wendle="$bin/Wendle.dll"
if [ -f "$wendle" ]; then
  extra=$(imports "$wendle" | grep -viE '^(KERNEL32|USER32)\.dll$' || true)
  if [ -n "$extra" ]; then echo "  FAIL: Wendle.dll imports $extra"; failed=1; fi
  size=$(stat -c %s "$wendle")
  if [ "$size" -gt 65536 ]; then echo "  FAIL: Wendle.dll is $size bytes, over 64 KiB"; failed=1; fi
fi
if [ $failed = 0 ]; then echo "1 passed, 0 failed"; else echo "0 passed, 1 failed"; fi
exit $failed
