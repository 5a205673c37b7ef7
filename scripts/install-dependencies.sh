#!/usr/bin/env bash
# Installs every Debian package that the build and the tests need. Safe to run again: it only
# calls apt-get when something is missing. Wine runs both 32- and 64-bit test programs, so the
# i386 architecture is added for wine32.
set -eu

packages=(
  cmake ninja-build g++ googletest libgtest-dev libgmock-dev libbenchmark-dev
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32 mingw-w64-tools
  wine wine64 wine32:i386 libwine-dev
  xvfb imagemagick fonts-dejavu-core python3 locales tzdata util-linux valgrind nsis
  clang libclang-rt-dev
)

sudo=
[ "$(id -u)" = 0 ] || sudo=sudo

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
  need_update=1
fi

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
    missing+=("$package")
done

if [ ${#missing[@]} -gt 0 ] || [ -n "${need_update:-}" ]; then
  echo "Instaluję pakiety: ${missing[*]}"
  $sudo apt-get update -q
  [ ${#missing[@]} -eq 0 ] ||
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
fi
