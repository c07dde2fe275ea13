#!/usr/bin/env bash
# Installs everything the builds and tests need on a Debian 12 machine. Safe to run again:
# it only installs what is missing and only generates the locale when it is absent.
set -euo pipefail

packages=(
  cmake ninja-build make g++ python3 libc-bin
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  googletest libgtest-dev
  wine64 xvfb x11-utils imagemagick fonts-wqy-microhei
  locales iproute2 procps
  clang clang-14 libclang-rt-14-dev zip unzip
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
SUDO=""
[ "$(id -u)" = 0 ] || SUDO="sudo"
if [ ${#missing[@]} -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Code page 936 under Wine needs a Chinese locale; without it Chinese text on command lines is garbled.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  echo "install-deps: generating zh_CN.UTF-8"
  $SUDO localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi
echo "install-deps: all present"
