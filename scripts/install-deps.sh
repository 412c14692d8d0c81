#!/usr/bin/env bash
# Installs every system package the build and the tests need on Debian 12.
# Idempotent: quiet and quick when everything is already there.
set -euo pipefail

packages=(cmake g++ make ninja-build googletest libgtest-dev libgmock-dev libbenchmark-dev
          g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
          g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
          wine wine32:i386 wine64 fonts-wine xvfb xauth x11-apps imagemagick zip unzip python3 clang clang-14 libclang-rt-14-dev)

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  as_root dpkg --add-architecture i386
  need_update=1
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  as_root apt-get update -qq
  as_root apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
