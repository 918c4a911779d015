#!/bin/bash
# Runs a Qt test on an X server of its own under the openbox window manager, which (unlike the
# offscreen platform) decides by itself which window gets the keyboard when a window goes.
#   under_wm.sh TEST_EXECUTABLE [TEST_ARGUMENTS...]
# CMake adds this test only where Xvfb and openbox are installed; run by hand without them, it
# exits 77 (skipped).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/xvfb.sh"

for tool in Xvfb openbox dbus-run-session; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIPPED: $tool is not installed"
    exit 77
  fi
done

work=$(mktemp -d)
cleanup() {
  stop_x_server
  rm -rf "$work"
}
trap cleanup EXIT
start_x_server
start_window_manager

# A session bus of its own, as a desktop has: without one, libdbus leaks the error it makes when Qt's
# X platform looks for the accessibility bus, and the leak check of the sanitizer build fails.
HOME="$work" XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=xcb dbus-run-session -- "$@"
