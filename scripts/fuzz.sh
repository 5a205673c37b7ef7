#!/usr/bin/env bash
# Runs every fuzz target for SECONDS each (default 60): builds the preset "fuzz" (clang with
# libFuzzer and the sanitizers), then runs each target on its seed corpus from the sources and
# its growing corpus under build/fuzz/corpus/<target>. A crash stops the run and leaves the
# input that caused it in build/fuzz/crashes/<target>/. Targets come from vistrel_add_fuzzer in
# CMake; a new one is run here without changing this script.
set -eu
seconds=${1:-60}
case $seconds in ''|*[!0-9]*) echo "usage: $0 [SECONDS]" >&2; exit 2 ;; esac
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

cmake --preset fuzz >/dev/null
build=$root/build/fuzz
targets=("$build"/fuzz-targets/*)
[ -e "${targets[0]}" ] || { echo "no fuzz targets" >&2; exit 1; }
names=()
for target in "${targets[@]}"; do names+=("$(basename "$target")"); done
cmake --build --preset fuzz --target "${names[@]}"

for target in "${targets[@]}"; do
  name=$(basename "$target")
  { read -r program; read -r seeds; } <"$target"
  corpus=$build/corpus/$name crashes=$build/crashes/$name
  mkdir -p "$corpus" "$crashes"
  echo "=== $name: $seconds s ==="
  "$program" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$crashes/" \
    "$corpus" "$seeds"
done
