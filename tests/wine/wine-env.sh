# Shared by the Wine scripts: where the build tree's prefix lives and how Wine is run there.
# Sourced with VISTREL_BUILD_DIR set (or found from the current folder).

vistrel_find_build_dir() {
  local dir=${VISTREL_BUILD_DIR:-$PWD}
  while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
  [ -f "$dir/CMakeCache.txt" ] || { echo "run-in-wine: no build tree above $PWD" >&2; return 1; }
  printf '%s\n' "$dir"
}

VISTREL_BUILD_DIR=$(vistrel_find_build_dir) || exit 1
# The build tree's prefix, unless a caller names a prefix of its own (the main job's).
export WINEPREFIX="${VISTREL_WINE_PREFIX:-$VISTREL_BUILD_DIR/wine-prefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Debian's `wine` always starts its 32-bit loader when wine32 is installed, and that loader then
# hands 64-bit programs on. Where the kernel cannot run the 32-bit loader, the 64-bit one is
# called directly: 64-bit programs and the prefix's own tools run, 32-bit programs cannot.
if "$(dirname "${BASH_SOURCE[0]}")/runs-32bit-programs"; then
  VISTREL_WINE=wine
else
  VISTREL_WINE=/usr/lib/wine/wine64
  export WINELOADER=$VISTREL_WINE
fi
VISTREL_DISPLAY_FILE="$WINEPREFIX/.vistrel-display"
VISTREL_XVFB_PID_FILE="$WINEPREFIX/.vistrel-xvfb-pid"
# The user's regional settings are Polish (decimal comma, code page 1250), as on the library's
# users' machines: Wine takes them from the process's locale, compiled into the build tree.
VISTREL_LOCALE_DIR="$VISTREL_BUILD_DIR/locale"
vistrel_use_polish_locale() {
  if [ -d "$VISTREL_LOCALE_DIR/pl_PL.UTF-8" ]; then
    export LOCPATH="$VISTREL_LOCALE_DIR" LANG=pl_PL.UTF-8
    unset LC_ALL
  fi
}
