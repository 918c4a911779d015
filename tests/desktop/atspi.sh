#!/bin/bash
# Runs atspi_check.py against the real program on an X server and a session bus of its own, the
# way a screen reader meets it.   atspi.sh PROGRAM
# Exits 77 (skipped) when a tool for it is missing; scripts/common.sh installs them.
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/common.sh"
program=$1

missing=""
command -v Xvfb >/dev/null 2>&1 || missing="$missing xvfb"
command -v dbus-run-session >/dev/null 2>&1 || missing="$missing dbus-daemon"
[ -x /usr/libexec/at-spi-bus-launcher ] || missing="$missing at-spi2-core"
/usr/bin/python3 -c 'import pyatspi' >/dev/null 2>&1 || missing="$missing python3-pyatspi"
if [ -n "$missing" ]; then
  echo "SKIPPED: the accessibility check needs the Debian packages:$missing"
  exit 77
fi

work=$(mktemp -d)
trap 'stop_x_server; rm -rf "$work"' EXIT
start_x_server

# The bus reports its own start-up on stderr; keep the check's output readable.
HOME="$work" XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work" \
  dbus-run-session -- /usr/bin/python3 "$here/atspi_check.py" "$program" 2>&1 \
  | { grep -v 'Failed to set fd limit\|Activating service\|Successfully activated\|SpiRegistry daemon' || true; }
