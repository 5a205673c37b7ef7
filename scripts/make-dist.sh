#!/usr/bin/env bash
# Builds what users get and puts it into dist/:
#   Vistrel-<version>-setup.exe      the installer (32-bit; on 64-bit Windows it also installs
#                                    and registers the 64-bit library)
#   Vistrel-<version>-setup-x64.exe  the 64-bit installer, the 64-bit library only
#   biblioteka/x86/Vistrel.dll, biblioteka/x64/Vistrel.dll   both libraries, for regsvr32
#   kalkulator/windows/, kalkulator/linux/   the command-line calculator with the bundled page
#   CZYTAJ.txt                       for users, in Polish
set -eu
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
. "$root/scripts/installer-build.sh"
"$root/scripts/install-dependencies.sh" >/dev/null

run_quietly cmake --preset native
run_quietly cmake --build --preset native --target kalkulator-odsetek
build_installers "$root" kalkulator-odsetek kalkulator-odsetek

version=$(vistrel_version "$root")
dist="$root/dist"
rm -rf "$dist"
mkdir -p "$dist/biblioteka/x86" "$dist/biblioteka/x64" "$dist/kalkulator/windows" \
  "$dist/kalkulator/linux"
cp "build/win32/installer/Vistrel-$version-setup.exe" "$dist/"
cp "build/win64/installer/Vistrel-$version-setup-x64.exe" "$dist/"
# The copies the installers carry, without debugging information.
cp build/win32/installer/Vistrel.dll "$dist/biblioteka/x86/"
cp build/win64/installer/Vistrel.dll "$dist/biblioteka/x64/"
# The 32-bit calculator runs on every Windows.
cp build/win32/tools/kalkulator-odsetek.exe "$dist/kalkulator/windows/"
cp build/native/tools/kalkulator-odsetek "$dist/kalkulator/linux/"
i686-w64-mingw32-strip "$dist/kalkulator/windows/kalkulator-odsetek.exe"
strip "$dist/kalkulator/linux/kalkulator-odsetek"
cp data/stopy_odsetek.html "$dist/kalkulator/windows/"
cp data/stopy_odsetek.html "$dist/kalkulator/linux/"
# Windows' Notepad wants its line ends.
sed 's/$/\r/' installer/CZYTAJ.txt >"$dist/CZYTAJ.txt"
(cd "$dist" && find . -type f | sort | sed 's|^\./|dist/|')
