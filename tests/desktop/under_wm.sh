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
wm=""
cleanup() {
  [ -z "$wm" ] || kill "$wm" 2>/dev/null || true
  stop_x_server
  rm -rf "$work"
}
trap cleanup EXIT
start_x_server

openbox --sm-disable --startup "touch $work/wm-ready" >/dev/null 2>&1 &
wm=$!
for _ in $(seq 100); do
  [ -e "$work/wm-ready" ] && break
  sleep 0.05
done
if [ ! -e "$work/wm-ready" ]; then
  echo "openbox did not start" >&2
  exit 1
fi

HOME="$work" XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=xcb "$@"
