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
# 32-bit programs run through the 32-bit loader unpacked into build/wine-i386/ (never an
# installed wine32), with its Windows DLLs, the i386 libraries unpacked beside it and the 64-bit
# wineserver; it hands 64-bit programs to the 64-bit loader. Where that loader cannot run (see
# runs-32bit-programs), the 64-bit loader is called directly: 64-bit programs and the prefix's
# own tools run, 32-bit programs cannot.
VISTREL_SOURCE_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
VISTREL_WINE_I386=${VISTREL_WINE_I386:-$VISTREL_SOURCE_DIR/build/wine-i386}
if "$(dirname "${BASH_SOURCE[0]}")/runs-32bit-programs" >/dev/null; then
  VISTREL_WINE=$VISTREL_WINE_I386/usr/lib/wine/wine
  export WINELOADER=$VISTREL_WINE
  export WINESERVER=/usr/lib/wine/wineserver64
  export WINEDLLPATH=$VISTREL_WINE_I386/usr/lib/i386-linux-gnu/wine
  export LD_LIBRARY_PATH=$VISTREL_WINE_I386/usr/lib/i386-linux-gnu:$VISTREL_WINE_I386/lib/i386-linux-gnu${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}
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
