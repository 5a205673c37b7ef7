#!/usr/bin/env bash
# Builds and tests every preset: native, native with sanitizers, the fuzz targets' short runs,
# and the 64- and 32-bit Windows builds under Wine. CTest's exit status is each preset's verdict;
# a configure or build error is printed and fails the run, and so does a compiler warning on our
# code (VISTREL_WERROR) or a source that clang-format would write otherwise
# (scripts/check-format.sh). Ends with one line
# "N passed, N failed[, N skipped]" over all presets.
#
# The win32 tests run through the 32-bit Wine loader unpacked into build/wine-i386/. A machine
# that cannot run it (tests/wine/runs-32bit-programs says why) builds the win32 preset's product
# alone (the library, the calculator, the installer: their warnings count), counts its tests as
# skipped and says so; the run says which way the win32 tests went.
#
# Before that line, a table of where the time went: the set-up, the format check, and each
# preset's configure, build and test, in seconds. Compilers run through ccache where it is
# installed, with its cache in ~/.cache/ccache: a later run, in this tree or a fresh clone at
# any path, compiles again only what changed. The test programs share one precompiled header,
# which ccache serves too with the sloppiness its manual asks for.
set -u
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

# Seconds of each step, printed as a table at the end: "name configure build test".
timings=()
clock() { date +%s; }
started=$(clock)
"$root/scripts/install-dependencies.sh" || exit 1
setup_seconds=$(($(clock) - started))

# Line tables and function names (-g1) in place of full debugging information: sanitizer reports
# and Wine's backtraces keep their files and lines, the compilers make the same code at any
# debugging level, and the test programs compile in some 40% less time. For a debugger, configure
# a tree without these (cmake --preset X --fresh).
configure_options=(-DVISTREL_WERROR=ON "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG"
                   "-DCMAKE_CXX_FLAGS_DEBUG=-g1")
if command -v ccache >/dev/null; then
  configure_options+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  # Paths below the sources count as relative, so that a clone elsewhere finds the same entries.
  export CCACHE_BASEDIR=$root CCACHE_NOHASHDIR=true
  export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
fi

presets=(${VISTREL_PRESETS:-native native-sanitize fuzz win64 win32})
passed=0 failed=0 skipped=0 broken=() notes=()
echo "=== format ==="
step_start=$(clock)
"$root/scripts/check-format.sh" || broken+=("format (clang-format)")
timings+=("format - - $(($(clock) - step_start))")
for preset in "${presets[@]}"; do
  echo "=== $preset ==="
  log=$(mktemp)
  configure_seconds=- build_seconds=- test_seconds=-
  preset_options=()
  why_no_32bit=
  if [ "$preset" = win32 ] && ! why_no_32bit=$("$root/tests/wine/runs-32bit-programs"); then
    preset_options=(-DVISTREL_BUILD_TESTS=OFF)
  elif [ "$preset" = win32 ]; then
    preset_options=(-DVISTREL_BUILD_TESTS=ON)
  fi
  step_start=$(clock)
  if ! cmake --preset "$preset" "${configure_options[@]}" "${preset_options[@]}" >"$log" 2>&1; then
    cat "$log"
    broken+=("$preset (konfiguracja)")
    rm -f "$log"
    timings+=("$preset $(($(clock) - step_start)) - -")
    continue
  fi
  configure_seconds=$(($(clock) - step_start))
  step_start=$(clock)
  if ! cmake --build --preset "$preset" -j "$(nproc)"; then
    broken+=("$preset (budowanie)")
    rm -f "$log"
    timings+=("$preset $configure_seconds $(($(clock) - step_start)) -")
    continue
  fi
  build_seconds=$(($(clock) - step_start))
  step_start=$(clock)
  if [ "$preset" = win32 ]; then
    if [ -n "$why_no_32bit" ]; then
      # As many tests as the 64-bit build has: the two presets register the same ones.
      count=$(ctest --preset win64 -N 2>/dev/null | sed -nE 's/^Total Tests: ([0-9]+)$/\1/p')
      skipped=$((skipped + ${count:-0}))
      notes+=("win32: zbudowano bibliotekę, kalkulator i instalator; testów (${count:-0}) nie zbudowano ani nie uruchomiono: $why_no_32bit")
      rm -f "$log"
      timings+=("$preset $configure_seconds $build_seconds -")
      continue
    fi
    notes+=("win32: testy uruchomione 32-bitowym programem ładującym Wine rozpakowanym do build/wine-i386 (bez instalowania wine32)")
  fi
  ctest --preset "$preset" 2>&1 | tee "$log"
  verdict=${PIPESTATUS[0]}
  summary=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -n "$summary" ]; then
    total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")
    bad=$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$summary")
    passed=$((passed + total - bad))
    failed=$((failed + bad))
  fi
  if [ "$verdict" -ne 0 ] && { [ -z "$summary" ] || [ "${bad:-0}" -eq 0 ]; }; then
    broken+=("$preset (ctest: kod $verdict)")
  fi
  rm -f "$log"
  timings+=("$preset $configure_seconds $build_seconds $(($(clock) - step_start))")
done

echo "=== czasy (s) ==="
row() { printf '%-16s %13s %10s %6s %6s\n' "$@"; }
row krok konfiguracja budowanie testy razem
row instalacja - - - "$setup_seconds"
for timing in "${timings[@]}"; do
  read -r name configure build tests <<<"$timing"
  sum=0
  for part in "$configure" "$build" "$tests"; do [ "$part" = - ] || sum=$((sum + part)); done
  row "$name" "$configure" "$build" "$tests" "$sum"
done
row całość - - - "$(($(clock) - started))"

for note in "${notes[@]}"; do echo "$note"; done
[ ${#broken[@]} -eq 0 ] || echo "Nie zbudowano lub nie przetestowano: ${broken[*]}"
if [ "$skipped" -gt 0 ]; then
  echo "$passed passed, $failed failed, $skipped skipped"
else
  echo "$passed passed, $failed failed"
fi
[ "$failed" -eq 0 ] && [ ${#broken[@]} -eq 0 ]
