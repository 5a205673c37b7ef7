#!/usr/bin/env bash
# Checks that every C++ source of ours is as clang-format (.clang-format) writes it; names the
# files that are not. `scripts/check-format.sh --napraw` rewrites them instead.
set -eu
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t sources < <(git ls-files '*.cpp' '*.h')
else
  mapfile -t sources < <(find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
fi
if [ "${1:-}" = --napraw ]; then
  clang-format -i "${sources[@]}"
  exit 0
fi
if ! clang-format --dry-run --Werror "${sources[@]}" 2>/dev/null; then
  echo "Pliki niesformatowane (scripts/check-format.sh --napraw je poprawi):"
  for source in "${sources[@]}"; do
    clang-format --dry-run --Werror "$source" >/dev/null 2>&1 || echo "  $source"
  done
  exit 1
fi
