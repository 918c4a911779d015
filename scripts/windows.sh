#!/usr/bin/env bash
# The Windows part of the tests: when a Qt for Windows (MinGW) is at hand, cross-builds varnek.exe,
# every test, the portable zip and the installer into build/windows, then runs all the tests under
# Wine in a private Wine prefix. Without such a Qt it says so and does nothing.
#
# The Qt is taken from VARNEK_WINDOWS_QT (an unpacked prefix or its .tar.xz), else from
# ../shared/windows/qt6.4.2-mingw-w64-x86_64.tar.xz beside the checkout;
# scripts/build-windows-qt.sh makes one from Debian's source package.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

WINDOWS_PACKAGES=(
  g++-mingw-w64-x86-64-posix qt6-base-dev-tools cmake ninja-build
  wine wine64 nsis xvfb python3 python3-xlib python3-pil fonts-dejavu-core xz-utils
)
default_qt="$VARNEK_ROOT/../shared/windows/qt6.4.2-mingw-w64-x86_64.tar.xz"
qt_source=${VARNEK_WINDOWS_QT:-$default_qt}
if [ ! -e "$qt_source" ]; then
  echo "== Windows: SKIPPED, no Windows Qt at ${VARNEK_WINDOWS_QT:-$default_qt}" \
       "(set VARNEK_WINDOWS_QT to a MinGW Qt prefix or its .tar.xz; scripts/build-windows-qt.sh makes one)"
  exit 0
fi

started=$SECONDS
ensure_packages "${WINDOWS_PACKAGES[@]}"
dir="$VARNEK_ROOT/build/windows"
mkdir -p "$dir"

# A tarball is unpacked into the build tree once per tarball; a folder is used where it is.
if [ -d "$qt_source" ]; then
  toolchains=("$qt_source"/lib/cmake/Qt6/qt.toolchain.cmake)
else
  qt_stamp=$(stat -c '%s %Y' "$qt_source")
  if [ "$(cat "$dir/qt/.unpacked" 2>/dev/null)" != "$qt_stamp" ]; then
    rm -rf "$dir/qt" && mkdir -p "$dir/qt"
    tar -xJf "$qt_source" -C "$dir/qt"
    echo "$qt_stamp" > "$dir/qt/.unpacked"
  fi
  toolchains=("$dir"/qt/*/lib/cmake/Qt6/qt.toolchain.cmake)
fi
toolchain=${toolchains[0]}
[ -f "$toolchain" ] || { echo "== Windows: no lib/cmake/Qt6/qt.toolchain.cmake in $qt_source" >&2; exit 1; }
qt_prefix=$(cd "$(dirname "$toolchain")/../../.." && pwd)

echo "== Windows: cross-building with $qt_prefix"
# Another Qt needs a fresh configuration: CMake keeps the compiler and Qt it found first.
if [ "$(cat "$dir/.qt-prefix" 2>/dev/null)" != "$qt_prefix" ]; then
  rm -rf "$dir/CMakeCache.txt" "$dir/CMakeFiles"
  echo "$qt_prefix" > "$dir/.qt-prefix"
fi
build_started=$SECONDS
# Release: the tests run against the very exe that is shipped.
configure_and_build "$dir" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CROSSCOMPILING_EMULATOR=wine -DVARNEK_TESTS=ON -DVARNEK_WERROR=ON -DVARNEK_BENCH=OFF
build_seconds=$((SECONDS - build_started))

# A Wine prefix of our own, quiet, without the Mono and Gecko prompts, and an X server for the run.
export WINEPREFIX="$dir/wine" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
rm -f "$dir/xvfb-display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$dir/xvfb-display" >/dev/null 2>&1 &
xvfb_pid=$!
end_session() {
  wineserver -k 2>/dev/null || true
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
}
trap end_session EXIT
for _ in $(seq 100); do grep -q . "$dir/xvfb-display" 2>/dev/null && break; sleep 0.1; done
grep -q . "$dir/xvfb-display" || { echo "== Windows: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -1 "$dir/xvfb-display")"
wine_started=$SECONDS
[ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1
# One server for the whole run, so that each program starts in well under a second; the one that
# made the prefix must be gone first.
wineserver -w
wineserver -p60 </dev/null >/dev/null 2>&1
# Wine's desktop process starts with the first program that needs it and stays on the X display
# that program had: start it here, or a test's own X server, gone after the test, would take it
# along and make every later program wait a minute for it.
wine rundll32.exe user32.dll,GetDesktopWindow
wineserver_seconds=$((SECONDS - wine_started))

cd "$dir"
tests_started=$SECONDS
status=0
ctest --output-on-failure --timeout 300 --parallel 2 || status=$?
tests_seconds=$((SECONDS - tests_started))

size() { du -sh --apparent-size "$1" | cut -f1; }
echo "== Windows: build ${build_seconds} s, Wine prefix ${wineserver_seconds} s, tests under Wine" \
     "${tests_seconds} s, all $((SECONDS - started)) s"
echo "== Windows: varnek.exe $(size "$dir/dist/Varnek/varnek.exe"), folder $(size "$dir/dist/Varnek")," \
     "zip $(size "$dir"/dist/varnek-*-windows-x64.zip), installer $(size "$dir"/dist/varnek-*-kurulum.exe)"
exit "$status"
