#!/usr/bin/env bash
# Builds the Debian package, installs it with apt, shows that man finds its manual pages, starts the
# installed /usr/bin/varnek on an X server of its own, waits for its first window to appear, ends it
# and removes the package again.
# It changes the machine's installed packages (through sudo when not root), so scripts/test.sh
# does not run it.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ensure_packages "${VARNEK_PACKAGE_TEST_PACKAGES[@]}"

if dpkg-query -W -f='${Status}' varnek 2>/dev/null | grep -q 'install ok installed'; then
  echo "varnek is installed already; this script would remove it afterwards, so it stops here" >&2
  exit 1
fi

# The release preset, the build the run command starts.
build_preset release
deb=$(make_deb release)
echo "== $(basename "$deb")"
dpkg-deb --field "$deb" Package Version Architecture Depends

work=$(mktemp -d)
program=""
installed=0
cleanup() {
  [ -z "$program" ] || kill "$program" 2>/dev/null || true
  stop_x_server
  if [ $installed -eq 1 ]; then
    echo "== Removing the package"
    as_root env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq varnek >/dev/null
  fi
  rm -rf "$work"
}
trap cleanup EXIT

echo "== Installing it with apt"
as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$deb" >/dev/null
installed=1
dpkg -L varnek | grep -E '^/usr/(bin|share/(applications|metainfo|icons/hicolor/(scalable|256x256)/apps|man/(tr/)?man1|doc/varnek))/.'

# man as a user would call it, and with the Turkish pages first; each page is captured whole,
# since man stopped by a closed pipe would fail the script.
show_page() { # show_page EXPECTED_NAME_LINE [man options...]
  local expected=$1 text
  shift
  echo "== man${*:+ $*} varnek"
  echo "found $(LC_ALL=C.UTF-8 man "$@" -w varnek)"
  text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man "$@" varnek 2>&1) || true
  head -n 8 <<<"$text"
  if ! grep -qF "$expected" <<<"$text"; then
    echo "FAIL: man $* varnek does not show the package's page" >&2
    exit 1
  fi
}
show_page 'varnek - convert sums between Turkish lira'
show_page 'varnek - Türk lirası ile dört döviz arasında' -L tr

echo "== Starting /usr/bin/varnek"
start_x_server
# A home of its own, so the run leaves nothing in the caller's.
HOME="$work" XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=xcb /usr/bin/varnek &
program=$!
# The splash window is the only window at start; its title is the program's name.
if ! window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Varnek$'); then
  echo "FAIL: the installed program showed no splash window within 20 s" >&2
  exit 1
fi
echo "splash window mapped: $(xdotool getwindowgeometry "$window" | tr '\n' ' ')"
kill "$program"
wait "$program" 2>/dev/null || true
program=""
echo "package test passed"
