# Shared by the set-up scripts: refreshes apt's package lists without letting one suite's broken
# index (an out-of-sync mirror) stop the run. Tries once more, then goes on with the lists apt
# has; only a package that then cannot be had stops the caller.
update_package_lists() {
  local sudo=
  [ "$(id -u)" = 0 ] || sudo=sudo
  $sudo apt-get update -q && return 0
  echo "apt-get update nie powiódł się; ponawiam raz" >&2
  sleep 5
  $sudo apt-get update -q && return 0
  echo "apt-get update nadal zgłasza błąd; dalej z listami pakietów, które są" >&2
}
