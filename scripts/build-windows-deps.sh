#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Windows libraries the cross build needs and Debian does not package for mingw
# (libjpeg-turbo, static), from Debian's source package, into PREFIX, with its programs (the
# Windows tests make their pictures with PREFIX/bin/cjpeg.exe):
#   scripts/build-windows-deps.sh PREFIX
# then: cmake ... -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DREELCRAFT_WINDOWS_DEPS=PREFIX
# Adds a deb-src entry for bookworm to apt's sources where there is none (as root).
set -euo pipefail
prefix=$(realpath -m "${1:?usage: $0 PREFIX}")
source_root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
if ! grep -rqs '^Types:.*deb-src\|^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: bookworm\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' |
    $sudo_cmd tee /etc/apt/sources.list.d/debian-src.sources > /dev/null
  $sudo_cmd apt-get update -qq
fi
apt-get source -qq --download-only libjpeg-turbo
tar xzf libjpeg-turbo_*.orig.tar.gz
cmake -S libjpeg-turbo-*/ -B build -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$source_root/cmake/mingw-w64.cmake" -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DENABLE_SHARED=OFF -DWITH_TURBOJPEG=ON
cmake --build build -j2
cmake --install build
# Without shared libraries libjpeg-turbo installs cjpeg-static.exe as cjpeg.exe, which the
# Windows tests run; a version that does not is helped.
if [ ! -f "$prefix/bin/cjpeg.exe" ]; then
  install -m 755 build/cjpeg-static.exe "$prefix/bin/cjpeg.exe"
fi
