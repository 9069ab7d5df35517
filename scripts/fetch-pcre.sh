#!/usr/bin/env bash
# Fetches Debian's pcre3 source package into the build tree, once. The MinGW
# build compiles PCRE from it; nothing of PCRE is ever committed.
set -euo pipefail
dest=${1:?usage: fetch-pcre.sh DIR}
mkdir -p "$dest"
if ls "$dest"/pcre3_*.orig.tar.* >/dev/null 2>&1; then exit 0; fi
cd "$dest"
apt-get source --download-only pcre3 2>&1 | grep -v '^W: Download is performed unsandboxed' || true
ls pcre3_*.orig.tar.* >/dev/null 2>&1 || { echo "fetch-pcre: no pcre3 source tarball" >&2; exit 1; }
