#!/bin/bash
# Runs atspi_check.py against the real program on an X server and a session bus of its own, the
# way a screen reader meets it.   atspi.sh PROGRAM
# CMake adds this test only where the tools for it are installed.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/xvfb.sh"
program=$1

work=$(mktemp -d)
trap 'stop_x_server; rm -rf "$work"' EXIT
start_x_server

# The bus reports its own start-up on stderr; keep the check's output readable.
HOME="$work" XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work" \
  dbus-run-session -- /usr/bin/python3 "$here/atspi_check.py" "$program" 2>&1 \
  | { grep -v 'Failed to set fd limit\|Activating service\|Successfully activated\|SpiRegistry daemon' || true; }
