#!/usr/bin/env bash
# Packs the Windows programs of a built win64 tree:
#   dist.sh BUILD_DIR OUT_DIR           the zip, the installer and the signed
#                                       update files (make dist)
#   dist.sh --test BUILD_DIR OUT_DIR    only a quickly packed installer,
#                                       TarnelixSetup-test.exe (for the tests)
# Update files are signed with the key in TARNELIX_SIGNING_KEY (PEM, EC
# P-256); without it with the test key, which is not for release.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
test_only=0
if [ "${1:-}" = --test ]; then test_only=1; shift; fi
build=$(realpath "${1:?usage: dist.sh [--test] BUILD_DIR OUT_DIR}")
out=$(realpath -m "${2:?usage: dist.sh [--test] BUILD_DIR OUT_DIR}")
bin="$build/bin"
version=$(sed -nE 's/^project\(Tarnelix VERSION ([0-9.]+).*/\1/p' "$root/CMakeLists.txt")
key=${TARNELIX_SIGNING_KEY:-$root/tests/keys/update-signing-TEST-ONLY.pem}

# The folder that goes into the zip and the installer.
stage_root="$build/dist-stage"
if [ $test_only = 1 ]; then stage_root="$build/setup-test-stage"; fi
stage="$stage_root/Tarnelix"
rm -rf "$stage_root"
mkdir -p "$stage" "$out"
for file in Tarnelix.exe Wendle.dll Veilmark-AddOn.exe TarnelixCtrl.exe; do
  [ -f "$bin/$file" ] || { echo "dist: $bin/$file is missing (build the win64 preset first)" >&2; exit 1; }
  cp "$bin/$file" "$stage/"
done
# The help file is built by its own target; it goes in once it exists.
if [ -f "$bin/TarnelixHelp.chm" ]; then cp "$bin/TarnelixHelp.chm" "$stage/"; fi
cp -r "$bin/Skin" "$bin/Notifications" "$bin/Sound" "$stage/"
sed "s/@VERSION@/$version/g" "$root/installer/README.txt" | sed 's/$/\r/' >"$stage/README.txt"

nsis() {  # OUTFILE [makensis options]
  local target=$1; shift
  makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$target" "$@" "$root/installer/Tarnelix.nsi"
}

if [ $test_only = 1 ]; then
  nsis "$out/TarnelixSetup-test.exe" -DCOMPRESSOR=zlib
  exit 0
fi

if [ "$key" = "$root/tests/keys/update-signing-TEST-ONLY.pem" ]; then
  echo "dist: WARNING: TARNELIX_SIGNING_KEY is not set; the updates are signed with the TEST key" >&2
fi
# The update server's folder: each program file with its signature.
updates="$out/Tarnelix-$version-update"
rm -rf "$updates"
mkdir -p "$updates"
for file in "$stage"/*.exe "$stage"/*.dll "$stage"/*.chm; do
  [ -f "$file" ] || continue
  cp "$file" "$updates/"
  openssl dgst -sha256 -sign "$key" -out "$updates/$(basename "$file").sig" "$file"
done

zip_file="$out/Tarnelix-$version-win64.zip"
rm -f "$zip_file"
(cd "$stage_root" && zip -q -r -X "$zip_file" Tarnelix)
nsis "$out/TarnelixSetup-$version.exe"
echo "dist: $zip_file"
echo "dist: $out/TarnelixSetup-$version.exe"
echo "dist: $updates (signed with $(basename "$key"))"
