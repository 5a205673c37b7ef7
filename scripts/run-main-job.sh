#!/usr/bin/env bash
# Sets the machine up, builds the command-line interest calculator and runs it on the bundled
# rate page. Without arguments it computes an example; otherwise it passes its arguments on:
#   scripts/run-main-job.sh 2023-01-10 2023-11-30 2500,00
set -eu
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
"$root/scripts/install-dependencies.sh"
cmake --preset native >/dev/null
cmake --build --preset native --target kalkulator-odsetek >/dev/null
if [ $# -eq 0 ]; then
  set -- 2022-03-15 2024-06-30 10000,00
  echo "Przykład: kalkulator-odsetek $*"
  echo
fi
exec "$root/build/native/tools/kalkulator-odsetek" "$@"
