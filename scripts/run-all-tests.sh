#!/usr/bin/env bash
# Builds and tests every preset: native, native with sanitizers, and the 64- and 32-bit Windows
# builds under Wine. Ends with one line "N passed, N failed" over all presets; fails when any
# test fails or a build breaks.
set -u
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
"$root/scripts/install-dependencies.sh" || exit 1

presets=(${VISTREL_PRESETS:-native native-sanitize win64 win32})
passed=0 failed=0 broken=()
for preset in "${presets[@]}"; do
  echo "=== $preset ==="
  log=$(mktemp)
  if cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" -j "$(nproc)"; then
    ctest --preset "$preset" 2>&1 | tee "$log"
    summary=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
    if [ -z "$summary" ]; then
      broken+=("$preset")
    else
      total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")
      bad=$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$summary")
      passed=$((passed + total - bad))
      failed=$((failed + bad))
    fi
  else
    broken+=("$preset")
  fi
  rm -f "$log"
done

[ ${#broken[@]} -eq 0 ] || echo "Nie zbudowano lub nie uruchomiono testów: ${broken[*]}"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ ${#broken[@]} -eq 0 ]
