#!/usr/bin/env bash
# The Windows part of the tests: when a Qt for Windows (MinGW) is at hand, cross-builds varnek.exe,
# every test, the portable zip and the installer into build/windows, then runs all the tests under
# Wine in a private Wine prefix. Without such a Qt it says so and does nothing.
#
# The Qt is taken from VARNEK_WINDOWS_QT (an unpacked prefix or its .tar.xz), else from
# ../shared/windows/qt6.4.2-mingw-w64-x86_64.tar.xz beside the checkout;
# scripts/build-windows-qt.sh makes one from Debian's source package.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

started=$SECONDS
prepare_windows_qt || exit 0
dir=$(preset_dir windows)

build_started=$SECONDS
build_preset windows
build_seconds=$((SECONDS - build_started))

# A Wine prefix of our own, quiet, without the Mono and Gecko prompts, and an X server for the run.
export WINEPREFIX="$dir/wine" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
# Wine takes the prefix's locale and the host's fonts from these: the tests' world, not the shell's.
export LANG=C.UTF-8 FONTCONFIG_FILE="$VARNEK_ROOT/tests/support/fonts.conf"
unset LANGUAGE LC_ALL LC_CTYPE LC_NUMERIC LC_TIME LC_COLLATE LC_MONETARY LC_MESSAGES LC_PAPER LC_NAME \
  LC_ADDRESS LC_TELEPHONE LC_MEASUREMENT LC_IDENTIFICATION
end_session() {
  wineserver -k 2>/dev/null || true
  stop_x_server
}
trap end_session EXIT
start_x_server
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

tests_started=$SECONDS
status=0
test_preset windows || status=$?
tests_seconds=$((SECONDS - tests_started))

size() { du -sh --apparent-size "$1" | cut -f1; }
echo "== Windows: build ${build_seconds} s, Wine prefix ${wineserver_seconds} s, tests under Wine" \
     "${tests_seconds} s, all $((SECONDS - started)) s"
echo "== Windows: varnek.exe $(size "$dir/dist/Varnek/varnek.exe"), folder $(size "$dir/dist/Varnek")," \
     "zip $(size "$dir"/dist/varnek-*-windows-x64.zip), installer $(size "$dir"/dist/varnek-*-kurulum.exe)"
exit "$status"
