#!/usr/bin/env bash
# Installs every Debian package that the build and the tests need, then unpacks the 32-bit side
# of Wine into build/wine-i386/ (scripts/unpack-wine-i386.sh). Safe to run again: it only calls
# apt-get when something is missing.
#
# No package of architecture i386 is installed: whenever Debian's i386 and amd64 indexes are out
# of step (a mirror syncing the security suite), such an install cannot be satisfied at all. The
# i386 pieces are fetched with `apt-get download` and unpacked instead. Recommended packages are
# not installed: with the i386 architecture enabled, wine64's recommendation wine32 is an i386
# package, and with it come some two hundred more. What the tests use of the recommendations is
# named below; an install whose plan still holds an i386 package is refused before it starts.
set -eu
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

packages=(
  cmake ninja-build g++ googletest libgtest-dev libgmock-dev libbenchmark-dev
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32 mingw-w64-tools
  wine wine64 libwine-dev
  xvfb imagemagick fonts-dejavu-core python3 locales tzdata util-linux valgrind nsis
  clang libclang-rt-dev clang-format ccache
  # Recommended by libwine, used by the tests: the fonts of Wine's prefix (the dialogs' MS Shell
  # Dlg is Wine's Tahoma; Arial, Times and Courier are Liberation's).
  fonts-wine fonts-liberation
)

sudo=
[ "$(id -u)" = 0 ] || sudo=sudo

. "$root/scripts/package-lists.sh"

# The i386 package lists serve `apt-get download` of the 32-bit side; nothing i386 is installed.
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
  update_package_lists
  if [ ${#missing[@]} -gt 0 ]; then
    # apt's own plan, without installing anything: no line of it may install an i386 package.
    i386=$(apt-get install -s --no-install-recommends "${missing[@]}" 2>/dev/null |
             sed -nE 's/^Inst ([^ ]+:i386) .*/\1/p' | tr '\n' ' ')
    if [ -n "$i386" ]; then
      echo "Instalacja pakietów ${missing[*]} objęłaby pakiety i386 ($i386), a tych ten skrypt" \
        "nie instaluje: przerywam" >&2
      exit 1
    fi
  fi
  if [ ${#missing[@]} -gt 0 ] &&
     ! $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
       "${missing[@]}"; then
    unavailable=()
    for package in "${missing[@]}"; do
      apt-cache policy "$package" 2>/dev/null | grep -q 'Candidate: [0-9]' || unavailable+=("$package")
    done
    echo "Nie można zainstalować potrzebnych pakietów: ${unavailable[*]:-${missing[*]}}" >&2
    exit 1
  fi
fi

"$root/scripts/unpack-wine-i386.sh"
