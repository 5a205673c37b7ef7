#!/usr/bin/env bash
# The product as a user first meets it, under Wine: sets the machine up, builds both DLLs, the
# host program and the command-line calculator, makes a private Wine prefix with Polish regional
# settings, installs Vistrel into it, starts a local stand-in for the ministry's web server with
# the bundled rate page, and runs the host: it types "Odsetki MF" into C5, shows the smart tag
# and its verbs, runs "Odsetki za zwłokę" and fills the dialog, and prints C5:G5. Beside the
# cells it prints the command-line calculator's breakdown for the same entry.
#
#   scripts/run-main-job.sh [--interaktywnie] [DUE PAYMENT AMOUNT]
#   scripts/run-main-job.sh 2023-01-10 2023-11-30 2500,00
#
# --interaktywnie leaves the dialog to the person at the keyboard (needs DISPLAY).
set -eu
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
. "$root/scripts/installer-build.sh"

interactive=
arguments=()
for argument in "$@"; do
  case $argument in
    --interaktywnie) interactive=1 ;;
    --pomoc|-h|--help) sed -n '2,13p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) arguments+=("$argument") ;;
  esac
done
if [ ${#arguments[@]} -eq 0 ]; then
  arguments=(2022-03-15 2024-06-30 10000,00)
elif [ ${#arguments[@]} -ne 3 ]; then
  echo "Użycie: scripts/run-main-job.sh [--interaktywnie] [TERMIN ZAPŁATA KWOTA]" >&2
  exit 2
fi
if [ -n "$interactive" ] && [ -z "${DISPLAY:-}" ]; then
  echo "--interaktywnie wymaga ekranu (zmienna DISPLAY)" >&2
  exit 2
fi

step() { printf '\n== %s\n' "$*"; }

step "Pakiety"
"$root/scripts/install-dependencies.sh"

# Most users' spreadsheets are 32-bit and load the 32-bit library: where Wine runs 32-bit
# programs (through the loader unpacked into build/wine-i386/), the users' installer (32-bit)
# installs both libraries and the spreadsheet played is the 32-bit one; elsewhere the 64-bit
# installer and the 64-bit spreadsheet.
if why=$("$root/tests/wine/runs-32bit-programs"); then
  bits=32 preset=win32 setup_name=setup
  echo "Arkusz i biblioteka 32-bitowe (jak u większości użytkowników)"
else
  bits=64 preset=win64 setup_name=setup-x64
  echo "Arkusz i biblioteka 64-bitowe: $why"
fi

step "Budowanie: Vistrel.dll (64 i 32 bity), instalatory, program gospodarza, kalkulator wiersza poleceń"
win32_host=
[ "$bits" = 32 ] && win32_host=vistrel-host
build_installers "$root" vistrel-host "$win32_host"
run_quietly cmake --preset native
run_quietly cmake --build --preset native --target kalkulator-odsetek
version=$(vistrel_version "$root")
setup="Vistrel-$version-$setup_name.exe"

build="$root/build/$preset"
export VISTREL_BUILD_DIR="$build"
export VISTREL_WINE_PREFIX="$root/build/main-job/wine-prefix-$bits"
wine_run() { "$root/tests/wine/run-in-wine" "$@"; }

step "Prefiks Wine: $VISTREL_WINE_PREFIX"
run_quietly "$root/tests/wine/prepare-prefix"
# Its wineserver and display end with the job.
trap '"$root/tests/wine/stop-prefix" >/dev/null 2>&1 || true' EXIT
# Wine's Polish long date starts with the weekday and the date pickers cut off the year; a
# Polish Windows shows "15 marca 2022".
run_quietly wine_run reg add 'HKCU\Control Panel\International' /v sLongDate /t REG_SZ \
  /d 'd MMMM yyyy' /f

step "Instalacja: $setup /S"
installed="$VISTREL_WINE_PREFIX/drive_c/Program Files/Vistrel"
[ "$bits" = 32 ] && [ -d "$VISTREL_WINE_PREFIX/drive_c/Program Files (x86)" ] &&
  installed="$VISTREL_WINE_PREFIX/drive_c/Program Files (x86)/Vistrel"
# A previous run's installation goes first, so that this one starts as on a new machine.
if [ -f "$installed/odinstaluj.exe" ]; then
  wine_run "$installed/odinstaluj.exe" /S '_?=C:\' >/dev/null 2>&1 || true
  rm -rf "$installed"
fi
if ! wine_run "$build/installer/$setup" /S; then
  echo "instalator $setup zakończył się błędem" >&2
  exit 1
fi
(cd "$installed" && find . -type f | sort | sed "s|^\./|  zainstalowano: ${installed#"$VISTREL_WINE_PREFIX/drive_c/"}/|")

out="$root/out"
mkdir -p "$out"
rm -f "$out/okno-kalkulatora.bmp" "$out/okno-kalkulatora.png" "$out/arkusz.txt" "$out/arkusz.png"

step "Arkusz: C5 = \"Odsetki MF\" (strona stóp procentowych z lokalnego serwera, data/stopy_odsetek.html)"
host_options=(--katalog="Z:$out")
[ -n "$interactive" ] && host_options+=(--interaktywnie)
host_status=0
VISTREL_KEEP_DISPLAY=$interactive python3 "$root/tests/support/rate_page_server.py" \
  --page "$root/data/stopy_odsetek.html" --lifetime 600 -- \
  "$root/tests/wine/run-in-wine" "$build/tests/host/vistrel-host.exe" \
  "${host_options[@]}" "${arguments[@]}" || host_status=$?

# At the keyboard the person chose the entry: the calculator takes it from D5:F5.
if [ -n "$interactive" ]; then
  entered=$(awk -F'|' '$2 ~ /^ *5 *$/ { gsub(/ /, ""); print $4, $5, $6 }' "$out/arkusz.txt" 2>/dev/null || true)
  read -r -a arguments <<<"$entered"
fi
if [ ${#arguments[@]} -eq 3 ] && [ -n "${arguments[2]}" ]; then
  # The same page and the same day count as the library's cells: the library does not move a
  # due date off a day off work.
  calculator=(--strona="$root/data/stopy_odsetek.html" --bez-przesuniecia "${arguments[@]}")
  step "Kalkulator wiersza poleceń dla tego samego wpisu: kalkulator-odsetek ${calculator[*]}"
  "$root/build/native/tools/kalkulator-odsetek" "${calculator[@]}" || true
fi

step "Obrazy"
if [ -s "$out/okno-kalkulatora.bmp" ]; then
  convert "$out/okno-kalkulatora.bmp" "$out/okno-kalkulatora.png" && rm -f "$out/okno-kalkulatora.bmp"
  echo "okno kalkulatora: $out/okno-kalkulatora.png"
fi
if [ -s "$out/arkusz.txt" ]; then
  "$root/tests/host/draw-worksheet" "$out/arkusz.txt" "$out/arkusz.png"
  echo "arkusz: $out/arkusz.png"
fi
exit "$host_status"
