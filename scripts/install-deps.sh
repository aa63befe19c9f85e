#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what a fresh Debian 12 machine needs to build, test and run Reelcraft.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail
packages=(
  cmake ninja-build ccache g++ clang clang-format libclang-rt-14-dev
  qt6-base-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n libgl-dev libsqlite3-dev
  libgtest-dev libgmock-dev
  ffmpeg libjpeg-turbo-progs libturbojpeg0-dev
  xvfb xdotool x11-apps imagemagick desktop-file-utils shared-mime-info xdg-utils
  openbox x11-utils sqlite3 file libglib2.0-bin appstream man-db tesseract-ocr
  nlohmann-json3-dev libglib2.0-dev pkg-config zsh fish dbus-daemon
  libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev
  gstreamer1.0-tools gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  gstreamer1.0-plugins-base-apps
  fusefat exfat-fuse dosfstools exfatprogs
  g++-mingw-w64-x86-64-posix nasm wine64
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo_cmd apt-get update -qq
  $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
