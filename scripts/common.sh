# Shared set-up for the run and test commands: Debian packages, configure, build.
set -euo pipefail

VARNEK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
VARNEK_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  fonts-dejavu-core
  libbenchmark-dev
  desktop-file-utils appstream dpkg-dev lintian man-db
  xvfb dbus-daemon at-spi2-core python3-pyatspi
)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"
  elif command -v sudo >/dev/null 2>&1; then sudo "$@"
  else echo "root or sudo is needed to install: $*" >&2; return 1
  fi
}

# Installs only what is missing, so a second run costs one dpkg query.
ensure_packages() {
  local missing=() pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# configure_and_build BUILD_DIR [cmake options...]
configure_and_build() {
  local dir=$1; shift
  cmake -S "$VARNEK_ROOT" -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" --parallel "$(nproc)"
}

# start_x_server [SCREEN]: an Xvfb of our own, and DISPLAY pointing at it. The number is a free
# one from :100 up, judged by its lock file as X servers themselves do, so it keeps clear of
# displays that others start. Xvfb signals USR1 once it takes connections, because it starts with
# USR1 ignored. stop_x_server ends it.
start_x_server() {
  local display
  for display in $(shuf -i 100-999 -n 20); do
    [ -e "/tmp/.X$display-lock" ] && continue
    VARNEK_X_READY=0
    trap 'VARNEK_X_READY=1' USR1
    (trap '' USR1; exec Xvfb ":$display" -screen 0 "${1:-1024x768x24}" -nolisten tcp -noreset) >/dev/null 2>&1 &
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

stop_x_server() {
  [ -n "${VARNEK_X_SERVER:-}" ] || return 0
  kill "$VARNEK_X_SERVER" 2>/dev/null || true
  wait "$VARNEK_X_SERVER" 2>/dev/null || true
  VARNEK_X_SERVER=""
}
