# Shared set-up of the commands: the Debian packages each one needs, and the CMake presets
# (CMakePresets.json), which hold every build option and the tests' environment.
set -euo pipefail

VARNEK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# The tools the commands call read text by the shell's locale: under Turkish makensis rejects its
# own MUI2.nsh (I and i are no pair there), grep -i misses an I, and most tools speak Turkish. So
# they all run in C.UTF-8; the program that run.sh starts gets the shell's locale back.
varnek_shell_locale=(env "LC_ALL=${LC_ALL-}" "LANGUAGE=${LANGUAGE-}")
export LC_ALL=C.UTF-8
unset LANGUAGE
source "$VARNEK_ROOT/scripts/xvfb.sh"

# Debian packages, by what needs them. VARNEK_PACKAGES is enough for a plain build; the presets
# that build tests or benchmarks require every part of them (VARNEK_REQUIRE_ALL), and so the
# packages of those parts too.
VARNEK_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
  fonts-dejavu-core
)
VARNEK_TEST_PACKAGES=(
  libbenchmark-dev
  desktop-file-utils appstream dpkg-dev lintian man-db python3
  xvfb dbus-daemon at-spi2-core python3-pyatspi openbox xdotool x11-utils weston qt6-wayland
  # What a screen reader says: Orca, speaking through speech-dispatcher's dummy module, in Turkish
  # compiled from the locales package
  orca speech-dispatcher locales
  # The desktops' fonts the captions are fitted to in the tests: GNOME's, KDE's, Arial's metrics
  fonts-cantarell fonts-noto-core fonts-liberation2
)
# A desktop's fonts, its Qt configuration tool and its locale's sources, under which the tests run a
# second time to show that what a developer's desktop installs or exports changes none of their results.
VARNEK_DESKTOP_PACKAGES=(fonts-noto-core fonts-cantarell fonts-liberation2 qt6ct locales)
# The builds users get: hardening-check (devscripts) and lintian judge the release program and its
# package; faketime moves the clock of the second build that the reproducibility check makes.
VARNEK_RELEASE_CHECK_PACKAGES=(devscripts lintian dpkg-dev faketime)
VARNEK_BENCH_PACKAGES=(libbenchmark-dev xvfb python3 python3-xlib)
VARNEK_FUZZ_PACKAGES=(clang libclang-rt-14-dev)
VARNEK_WINDOWS_PACKAGES=(
  g++-mingw-w64-x86-64-posix qt6-base-dev-tools qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
  cmake ninja-build
  wine wine64 nsis locales xvfb python3 python3-xlib python3-pil fonts-dejavu-core xz-utils
  python3-pefile
)
VARNEK_WINDOWS_QT_PACKAGES=(
  g++-mingw-w64-x86-64-posix cmake ninja-build perl dpkg-dev xz-utils
  qt6-base-dev qt6-base-dev-tools
)
VARNEK_PACKAGE_TEST_PACKAGES=(dpkg-dev xvfb xdotool man-db)
VARNEK_SCREENSHOT_PACKAGES=(xvfb openbox xdotool imagemagick)

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

# preset_dir PRESET: where the preset builds (its binaryDir).
preset_dir() {
  echo "$VARNEK_ROOT/build/$1"
}

# program_path PRESET: the program in the preset's build.
program_path() {
  echo "$(preset_dir "$1")/src/shell/varnek"
}

# build_preset PRESET [cmake --build options...]: installs what the preset needs, configures and
# builds it. Presets are read from the checkout's top, whatever the caller's folder.
build_preset() {
  local preset=$1
  shift
  case $preset in
    dev | sanitize) ensure_packages "${VARNEK_PACKAGES[@]}" "${VARNEK_TEST_PACKAGES[@]}" ;;
    release) ensure_packages "${VARNEK_PACKAGES[@]}" ;;
    bench) ensure_packages "${VARNEK_PACKAGES[@]}" "${VARNEK_BENCH_PACKAGES[@]}" ;;
    fuzz) ensure_packages "${VARNEK_PACKAGES[@]}" "${VARNEK_FUZZ_PACKAGES[@]}" ;;
    windows) ensure_packages "${VARNEK_WINDOWS_PACKAGES[@]}" ;;
    *) echo "no preset $preset" >&2; return 1 ;;
  esac
  (cd "$VARNEK_ROOT" && cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" "$@")
}

# test_preset PRESET [ctest options...]: runs the preset's tests with its environment.
test_preset() {
  (cd "$VARNEK_ROOT" && ctest --preset "$@")
}

# make_deb PRESET: the Debian package of a built preset, made by CPack into its dist folder (CPack's
# work folder removed) with the SHA256SUMS that a download is checked against; prints its path.
make_deb() {
  local out
  out="$(preset_dir "$1")/dist"
  rm -rf "$out"
  mkdir -p "$out"
  if ! cpack -G DEB --config "$(preset_dir "$1")/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1; then
    cat "$out/cpack.log" >&2
    echo "cpack could not make the package of $1" >&2
    return 1
  fi
  rm -rf "$out/_CPack_Packages"
  (cd "$out" && sha256sum -- varnek_*.deb >SHA256SUMS)
  ls "$out"/varnek_*.deb
}

# prepare_windows_qt: puts a Qt for Windows (MinGW) in build/windows/qt, where the windows preset
# takes its toolchain from: a tarball is unpacked there once, a folder is linked there. It comes
# from VARNEK_WINDOWS_QT (an unpacked prefix or its .tar.xz), else from
# ../shared/windows/qt6.4.2-mingw-w64-x86_64.tar.xz beside the checkout. Installs what the Windows
# build needs. Without a Qt it says so and returns 1.
prepare_windows_qt() {
  local default_qt="$VARNEK_ROOT/../shared/windows/qt6.4.2-mingw-w64-x86_64.tar.xz"
  local qt_source=${VARNEK_WINDOWS_QT:-$default_qt} dir stamp
  if [ ! -e "$qt_source" ]; then
    echo "== Windows: SKIPPED, no Windows Qt at $qt_source" \
         "(set VARNEK_WINDOWS_QT to a MinGW Qt prefix or its .tar.xz; scripts/build-windows-qt.sh makes one)"
    return 1
  fi
  ensure_packages "${VARNEK_WINDOWS_PACKAGES[@]}"
  dir=$(preset_dir windows)
  mkdir -p "$dir"
  # Another Qt needs a fresh configuration, as CMake keeps the compiler and Qt it found first.
  stamp="$(realpath "$qt_source") $(stat -L -c '%s %Y' "$qt_source")"
  if [ "$(cat "$dir/.qt-source" 2>/dev/null)" != "$stamp" ]; then
    rm -rf "$dir/qt" "$dir/CMakeCache.txt" "$dir/CMakeFiles" "$dir/.qt-source"
    if [ -d "$qt_source" ]; then
      ln -s "$(realpath "$qt_source")" "$dir/qt"
    else
      mkdir -p "$dir/qt"
      tar -xJf "$qt_source" -C "$dir/qt" --strip-components=1
    fi
    echo "$stamp" > "$dir/.qt-source"
  fi
  [ -f "$dir/qt/lib/cmake/Qt6/qt.toolchain.cmake" ] \
    || { echo "== Windows: no lib/cmake/Qt6/qt.toolchain.cmake in $qt_source" >&2; exit 1; }
  echo "== Windows: cross-building with $qt_source"
}
