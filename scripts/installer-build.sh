# The two installers' build, shared by run-main-job.sh and make-dist.sh (source it). The 64-bit
# preset is built first: the 32-bit installer carries the 64-bit library just built.

# vistrel_version ROOT: the product's version, as CMakeLists.txt's project() states it.
vistrel_version() {
  sed -nE 's/^project\(Vistrel VERSION ([0-9.]+).*/\1/p' "$1/CMakeLists.txt"
}

# build_installers ROOT "WIN64 TARGETS" "WIN32 TARGETS": builds Vistrel and the installer of each
# preset, with the further targets named, quietly; a failing step prints its output.
build_installers() {
  local root=$1 win64_targets=$2 win32_targets=$3
  run_quietly cmake --preset win64 &&
    run_quietly cmake --build --preset win64 --target Vistrel installer $win64_targets &&
    run_quietly cmake --preset win32 -DVISTREL_DLL64="$root/build/win64/installer/Vistrel.dll" &&
    run_quietly cmake --build --preset win32 --target Vistrel installer $win32_targets
}

# run_quietly COMMAND...: its output is shown only when it fails.
run_quietly() {
  local log status=0
  log=$(mktemp)
  "$@" >"$log" 2>&1 || status=$?
  [ "$status" -eq 0 ] || cat "$log" >&2
  rm -f "$log"
  return "$status"
}
