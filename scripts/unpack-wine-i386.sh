#!/usr/bin/env bash
# Unpacks the 32-bit side of Wine into build/wine-i386/ (VISTREL_WINE_I386 overrides), from
# Debian's i386 packages of the installed wine's version, fetched with `apt-get download` and
# unpacked with `dpkg -x`, never installed:
#   libwine  i386-windows/stdole2.tlb, which widl imports for the win32 type libraries, and the
#            32-bit Windows DLLs;
#   wine32   the 32-bit loader;
# and, where the kernel runs 32-bit programs (tests/wine/runs-32bit-programs --kernel), the i386
# X11, FreeType and fontconfig libraries that the loader opens for windows and fonts, found
# through LD_LIBRARY_PATH. Safe to run again: a complete unpack of the same version is kept.
set -eu
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$root/scripts/package-lists.sh"
dest=${VISTREL_WINE_I386:-$root/build/wine-i386}

version=$(dpkg-query -W -f='${Version}' wine 2>/dev/null) || {
  echo "Brak zainstalowanego pakietu wine: 32-bitowej części Wine nie ma do czego dopasować" >&2
  exit 1
}
downloads=("wine32:i386=$version" "libwine:i386=$version")
libraries=(libx11-6 libxext6 libxcb1 libxrender1 libxrandr2 libxi6 libxcursor1 libxinerama1
           libxcomposite1 libxfixes3 libxxf86vm1 libfreetype6 libfontconfig1)
with_libraries=
if "$root/tests/wine/runs-32bit-programs" --kernel >/dev/null; then with_libraries=1; fi
wanted="$version${with_libraries:+ z bibliotekami X11}"
[ "$(cat "$dest/.vistrel-unpacked" 2>/dev/null)" = "$wanted" ] && exit 0

# The libraries with what they pull in, as i386 packages of the current lists; the C library
# itself is the machine's own.
library_closure() {
  apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
    --no-replaces --no-enhances "${libraries[@]/%/:i386}" 2>/dev/null |
    grep -E '^(lib|zlib1g)[^ ]*:i386$' | grep -v -x -E 'libc6:i386' | sort -u
}

download() {  # into the current folder
  apt-get download -q "$@" >/dev/null 2>&1
}

packages_dir=$(mktemp -d)
trap 'rm -rf "$packages_dir"' EXIT
cd "$packages_dir"
if ! download "${downloads[@]}"; then
  update_package_lists
  download "${downloads[@]}" || {
    echo "Nie można pobrać pakietów ${downloads[*]} (apt-get download): bez nich nie ma" \
      "32-bitowej biblioteki typów stdole2.tlb ani 32-bitowego Wine" >&2
    exit 1
  }
fi
if [ -n "$with_libraries" ]; then
  mapfile -t closure < <(library_closure)
  if [ ${#closure[@]} -eq 0 ]; then
    update_package_lists
    mapfile -t closure < <(library_closure)
  fi
  [ ${#closure[@]} -gt 0 ] && download "${closure[@]}" || {
    echo "Nie można pobrać 32-bitowych bibliotek X11 i FreeType (${libraries[*]}):" \
      "32-bitowe okna nie powstaną" >&2
    exit 1
  }
fi

rm -rf "$dest"
mkdir -p "$dest"
for deb in ./*.deb; do dpkg -x "$deb" "$dest"; done
# The 32-bit loader hands 64-bit programs to the loader beside it and finds the server there.
ln -sf /usr/lib/wine/wine64 "$dest/usr/lib/wine/wine64"
printf '%s\n' "$wanted" >"$dest/.vistrel-unpacked"
echo "Rozpakowano 32-bitowe Wine $version do $dest (pakiety: $(ls ./*.deb | wc -l))"
