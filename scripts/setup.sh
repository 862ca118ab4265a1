#!/usr/bin/env bash
# Installs every Debian package the project needs; does nothing when all are present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache
  clang clang-format clang-tidy libclang-rt-14-dev
  libsdl2-dev libfreetype-dev libfontconfig-dev libjpeg62-turbo-dev libpng-dev zlib1g-dev
  libzip-dev libdeflate-dev
  fonts-liberation fonts-dejavu-core
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool
  python3
  unzip zip libarchive-tools libgif-dev imagemagick libjpeg-turbo-progs
  xorriso patchelf binutils debootstrap
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
