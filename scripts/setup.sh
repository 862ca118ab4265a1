#!/usr/bin/env bash
# setup.sh [windows] — installs every Debian package the project needs, and the npm packages of the
# web edition's browser test (tests/web/package-lock.json); does nothing when all are present.
# "windows" adds the cross compiler, Wine and the source-package entries for the Windows build.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache
  clang clang-format clang-tidy libclang-rt-14-dev llvm lld
  libsdl2-dev libfreetype-dev libfontconfig-dev libjpeg62-turbo-dev libpng-dev zlib1g-dev
  libzip-dev libdeflate-dev
  fonts-liberation fonts-dejavu-core
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool x11-utils
  python3 python3-fonttools
  unzip zip libarchive-tools libgif-dev imagemagick libjpeg-turbo-progs
  xorriso patchelf binutils debootstrap
  chromium chromium-driver python3-selenium
)
# npm for axe-core; a Node.js installed from elsewhere brings its own.
if ! command -v npm >/dev/null; then packages+=(npm); fi

if [ "${1:-}" = windows ]; then
  packages+=(mingw-w64 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix libz-mingw-w64-dev
    wine64 dpkg-dev autoconf automake libtool nasm)
fi
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi

# The Windows libraries are built from Debian's sources, so apt needs a deb-src entry for the suite.
need_update=
if [ "${1:-}" = windows ] && ! grep -rqsE '^(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  echo "setup: adding deb-src entries for bookworm"
  printf '%s\n' 'Types: deb-src' 'URIs: http://deb.debian.org/debian' \
    'Suites: bookworm bookworm-updates' 'Components: main' \
    'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' |
    $SUDO tee /etc/apt/sources.list.d/cdmenu-src.sources >/dev/null
  need_update=1
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  $SUDO apt-get update -qq
  need_update=
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
if [ -n "$need_update" ]; then $SUDO apt-get update -qq; fi

# The web edition's browser test loads axe-core from npm, at the version its lock file pins.
web="$(dirname "$0")/../tests/web"
if [ ! -f "$web/node_modules/axe-core/axe.min.js" ] || [ "$web/package-lock.json" -nt "$web/node_modules/.package-lock.json" ]; then
  echo "setup: installing the npm packages of $web"
  npm ci --prefix "$web" --no-audit --no-fund --loglevel=error
fi
