#!/bin/bash
# Runs orca_walk.py: the real program and Orca on an X server of their own under openbox, with a
# session bus of their own and speech-dispatcher speaking through its dummy module.
#   orca.sh PROGRAM
# CMake adds this test only where the tools for it are installed.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/xvfb.sh"
program=$1

work=$(mktemp -d)
trap 'stop_x_server; rm -rf "$work"' EXIT
start_x_server
start_window_manager

# Orca's own settings and the rate files stay in the work folder; speech goes to ALSA's
# null device, there being no sound server.
mkdir -p "$work/speech" "$work/orca"
cat >"$work/speech/speechd.conf" <<'CONF'
AddModule "dummy" "sd_dummy" ""
DefaultModule dummy
AudioOutputMethod "alsa"
AudioALSADevice "null"
CONF

# Orca and the role names it reads come out in Turkish, as a Turkish desktop has them, whether or
# not the machine has the Turkish locale: it is compiled into the run's own folder.
mkdir -p "$work/locale"
localedef -i tr_TR -f UTF-8 "$work/locale/tr_TR.UTF-8" 2>/dev/null || true
[ -f "$work/locale/tr_TR.UTF-8/LC_CTYPE" ] || { echo "FAIL: could not compile the Turkish locale"; exit 1; }

LOCPATH="$work/locale" HOME="$work" XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work" \
  VARNEK_ORCA_WORK="$work" GSETTINGS_BACKEND=memory \
  dbus-run-session -- /usr/bin/python3 "$here/orca_walk.py" "$program" 2>&1 \
  | { grep -v 'Failed to set fd limit\|Activating service\|Successfully activated\|SpiRegistry daemon' || true; }
