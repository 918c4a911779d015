#!/bin/bash
# Runs a command once the session's accessibility bus is up, as a desktop with a screen reader has
# it: Qt's bridge on X only reports to assistive technology through that bus, and does not start it.
#   with_atspi.sh COMMAND [ARGUMENTS...]      (inside a session bus: see under_wm.sh)
set -euo pipefail
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null
exec "$@"
