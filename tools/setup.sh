#!/bin/bash
# Installs what a fresh Debian 12 machine lacks to build and test Soravel.
# Does nothing (in a second or so) when everything is already there.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config ccache
  libgtest-dev libbenchmark-dev valgrind
  g++-mingw-w64-x86-64-posix wine64 wine
  libsndfile1-dev
  dpkg-dev libz-mingw-w64-dev libpng-dev
  python3-cairo python3-png fonts-liberation2
  libfreetype-dev libfontconfig-dev xvfb xauth
  libx11-dev libxtst-dev libxres-dev
  lv2-dev lilv-utils sordi jalv jackd2  # LV2 schemas and the tools and host Soravel.lv2 is tested in
  nsis lintian file man-db  # the packages: makensis, Debian's checker, CPack's file types, man -w
  ardour  # the VST 3 host Soravel.vst3 is tested in (ardour-vst3-scanner, ardour7-lua)
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
