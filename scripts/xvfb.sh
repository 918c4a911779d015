#!/usr/bin/env bash
# The one way an X server is started here, for the commands, the tests that run the real program
# and the benchmarks: an Xvfb of our own, and DISPLAY pointing at it. The number is a free one
# from :100 up, judged by its lock file as X servers themselves do, so it keeps clear of displays
# that others start. Xvfb signals USR1 once it takes connections, because it starts with USR1
# ignored.
#
#   source scripts/xvfb.sh; start_x_server [SCREEN]; [start_window_manager;] ...; stop_x_server
#   scripts/xvfb.sh [--screen SCREEN] COMMAND [ARG...]  runs COMMAND on it, then ends it
#   scripts/xvfb.sh [--screen SCREEN]                   prints the display once it takes
#                                                       connections, ends it when stdin closes
# SCREEN is WIDTHxHEIGHTxDEPTH, 1024x768x24 unless given.

start_x_server() {
  local display
  for display in $(shuf -i 100-999 -n 20); do
    [ -e "/tmp/.X$display-lock" ] && continue
    VARNEK_X_READY=0
    trap 'VARNEK_X_READY=1' USR1
    (trap '' USR1; exec Xvfb ":$display" -screen 0 "${1:-1024x768x24}" -nolisten tcp -noreset) \
      </dev/null >/dev/null 2>&1 &
    VARNEK_X_SERVER=$!
    for _ in $(seq 200); do
      [ "$VARNEK_X_READY" = 1 ] && break
      kill -0 "$VARNEK_X_SERVER" 2>/dev/null || break
      sleep 0.05
    done
    # A late signal must not end the script.
    trap : USR1
    if [ "$VARNEK_X_READY" = 1 ]; then
      export DISPLAY=":$display"
      return 0
    fi
    stop_x_server
  done
  echo "could not start Xvfb" >&2
  return 1
}

# start_window_manager: openbox on that server, which (unlike no window manager at all) decides by
# itself which window is active and gets the keyboard. stop_x_server ends it too.
start_window_manager() {
  local ready
  ready=$(mktemp -u)
  openbox --sm-disable --startup "touch $ready" >/dev/null 2>&1 &
  VARNEK_WINDOW_MANAGER=$!
  for _ in $(seq 100); do
    [ -e "$ready" ] && break
    sleep 0.05
  done
  if [ -e "$ready" ]; then
    rm -f "$ready"
    return 0
  fi
  echo "openbox did not start" >&2
  return 1
}

stop_x_server() {
  if [ -n "${VARNEK_WINDOW_MANAGER:-}" ]; then
    kill "$VARNEK_WINDOW_MANAGER" 2>/dev/null || true
    wait "$VARNEK_WINDOW_MANAGER" 2>/dev/null || true
    VARNEK_WINDOW_MANAGER=""
  fi
  [ -n "${VARNEK_X_SERVER:-}" ] || return 0
  kill "$VARNEK_X_SERVER" 2>/dev/null || true
  wait "$VARNEK_X_SERVER" 2>/dev/null || true
  VARNEK_X_SERVER=""
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -euo pipefail
  screen=1024x768x24
  if [ "${1:-}" = --screen ]; then
    screen=$2
    shift 2
  fi
  trap stop_x_server EXIT
  # Ended from outside (a test's timeout), the server goes too.
  trap 'exit 143' TERM
  trap 'exit 130' INT
  start_x_server "$screen"
  if [ $# -gt 0 ]; then
    status=0
    "$@" || status=$?
    exit $status
  fi
  echo "$DISPLAY"
  # In the background, so that a signal is handled at once rather than after cat ends; a
  # background command reads /dev/null unless given stdin by name.
  exec 3<&0
  cat <&3 >/dev/null &
  wait $!
fi
