#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian 12 machine, and only
# what is missing. Safe to run again; a second run installs nothing.
set -euo pipefail

PACKAGES=(
  cmake make g++ pkg-config
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  g++-mingw-w64-i686 binutils-mingw-w64-i686
  libpcre3-dev libgtest-dev googletest libbenchmark-dev
  clang libclang-rt-14-dev libfuzzer-14-dev
  wine wine64 fonts-wine xvfb x11-utils xauth
  imagemagick sox fonts-dejavu-core nginx-light fp-utils
  dpkg-dev bzip2 ca-certificates
  nsis zip openssl
)

SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO="sudo"; fi

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

# The MinGW build compiles PCRE from Debian's own source package, so apt needs
# a deb-src entry for this machine's suite.
has_deb_src() {
  grep -rqsE '^\s*deb-src\s|^\s*Types:.*deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/ 2>/dev/null
}
added_src=0
if ! has_deb_src; then
  suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
  # deb822 form, with the same Signed-By as Debian's own entry: apt refuses two
  # entries for one source that disagree on their keyring.
  keyring=/usr/share/keyrings/debian-archive-keyring.gpg
  {
    echo "Types: deb-src"
    echo "URIs: http://deb.debian.org/debian"
    echo "Suites: ${suite}"
    echo "Components: main"
    if [ -f "$keyring" ]; then echo "Signed-By: $keyring"; fi
  } | $SUDO tee /etc/apt/sources.list.d/tarnelix-deb-src.sources >/dev/null
  added_src=1
fi

if [ ${#missing[@]} -gt 0 ] || [ "$added_src" = 1 ] || [ ! -d /var/lib/apt/lists ] ||
   ! ls /var/lib/apt/lists/ 2>/dev/null | grep -q '_Sources$'; then
  $SUDO apt-get update -qq
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
