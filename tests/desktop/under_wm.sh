#!/bin/bash
# Runs a Qt test on an X server of its own under the openbox window manager, which (unlike the
# offscreen platform) decides by itself which window gets the keyboard when a window goes.
#   under_wm.sh TEST_EXECUTABLE [TEST_ARGUMENTS...]
# CMake adds this test only where Xvfb and openbox are installed; run by hand without them, it
# exits 77 (skipped).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/xvfb.sh"

for tool in Xvfb openbox; do
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

HOME="$work" XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=xcb "$@"
