#!/bin/bash
# Runs the real program once as a Wayland client of weston, by keyboard: every window, menu,
# prompt and message, then Dosya → Kapat → Evet, which must end it with status 0. Fails on any
# line the program writes to stderr but those listed below, which weston alone causes.
#   wayland.sh PROGRAM
# weston runs on an Xvfb of our own through its x11 backend, which gives it a keyboard (without a
# seat Qt 6.4 crashes in QWaylandInputDevice::textInput); xdotool types on that X server. The
# client's protocol log (WAYLAND_DEBUG) shows which windows it maps and when one gets the keyboard.
# CMake adds this test only where the tools for it are installed.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/xvfb.sh"
program=$1

# Lines weston alone makes Qt write, by their exact text. None with weston 10 and Qt 6.4.2: Qt
# asks for the keyboard silently where a compositor has no xdg-activation, as weston has none.
allowed=()

work=$(mktemp -d)
weston_pid=""
program_pid=""
cleanup() {
  [ -z "$program_pid" ] || kill "$program_pid" 2>/dev/null || true
  [ -z "$weston_pid" ] || { kill "$weston_pid" 2>/dev/null; wait "$weston_pid" 2>/dev/null || true; }
  stop_x_server
  rm -rf "$work"
}
trap cleanup EXIT
chmod 700 "$work"
start_x_server
export HOME="$work" XDG_RUNTIME_DIR="$work" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"

# Keys repeat in the client after the compositor's delay; one held down while a menu opens must not.
printf '[keyboard]\nrepeat-rate=0\n' >"$work/weston.ini"
weston --config="$work/weston.ini" --backend=x11-backend.so --socket=wayland-test --idle-time=0 \
  --width=1024 --height=768 >"$work/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 200); do
  [ -S "$work/wayland-test" ] && break
  sleep 0.05
done
[ -S "$work/wayland-test" ] || { cat "$work/weston.log"; echo "FAIL: weston did not start"; exit 1; }
# X sends weston's window the keys only while it has the focus. The pointer rests on weston's
# panel, where no tooltip of the program's can open.
xdotool windowfocus "$(xwininfo -root -tree | awk '/"Weston Compositor/ { print $1; exit }')"
xdotool mousemove 1000 10

log=$work/program.log
# The lines of the protocol log; the rest is what the program itself writes.
protocol='^\[ *[0-9.]*\] '
# In the sanitizer build: what Qt's Wayland plugin (and libdbus, finding no session bus) still
# hold at the end is theirs, not the program's; whole stacks let the leak check tell them apart.
# So is what fontconfig holds from reading its configuration, as the program ends here without the
# teardown that would release it.
printf 'leak:libQt6WaylandClient.so\nleak:libdbus-1.so\nleak:libfontconfig.so\n' >"$work/leaks.supp"
LSAN_OPTIONS="suppressions=$work/leaks.supp:print_suppressions=0:fast_unwind_on_malloc=0" \
WAYLAND_DISPLAY=wayland-test QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client LANG=C.UTF-8 \
  "$program" 2>"$log" &
program_pid=$!

fail() {
  echo "FAIL: $1"
  grep -v "$protocol" "$log" || true
  exit 1
}

# wait_for PATTERN WHAT: until the log has a line matching PATTERN after the one `seen` points at;
# `seen` moves on to it.
seen=0
wait_for() {
  local found
  for _ in $(seq 200); do
    found=$(tail -n "+$((seen + 1))" "$log" | grep -nm1 -E "$1" | cut -d: -f1 || true)
    if [ -n "$found" ]; then
      seen=$((seen + found))
      return 0
    fi
    kill -0 "$program_pid" 2>/dev/null || fail "the program ended while waiting for $2"
    sleep 0.05
  done
  fail "gave up waiting for $2"
}

# window TITLE: the next window the program maps has that title and gets the keyboard; `surface`
# names it in the protocol.
window() {
  local xdg id title
  wait_for '\] +-> xdg_surface@[0-9]+\.get_toplevel\(' "the window \"$1\""
  # xdg_surface@X.get_toplevel(new id xdg_toplevel@ID), X made earlier for a wl_surface.
  xdg=$(sed -n "${seen}s/.*xdg_surface@\([0-9]*\)\.get_toplevel.*/\1/p" "$log")
  id=$(sed -n "${seen}s/.*new id xdg_toplevel@\([0-9]*\).*/\1/p" "$log")
  surface=$(head -n "$seen" "$log" | sed -n "s/.*new id xdg_surface@$xdg, wl_surface@\([0-9]*\).*/\1/p" | tail -n 1)
  wait_for "xdg_toplevel@$id\.set_title\(" "the title of the window \"$1\""
  title=$(sed -n "${seen}s/.*set_title(\"\(.*\)\")\$/\1/p" "$log")
  [ "$title" = "$1" ] || fail "the window \"$title\" came where \"$1\" was due"
  back "$surface"
}

# back SURFACE: the keyboard comes to that window (again).
back() { wait_for "\] wl_keyboard@[0-9]+\.enter\([0-9]+, wl_surface@$1," "the keyboard on wl_surface@$1"; }

# menu KEY...: keys that each open a menu. A menu asks weston for the input with the serial of
# the last key event Qt has seen, which weston grants only for a key going down: each key stays
# down until its menu is there.
menu() {
  local key
  for key in "$@"; do
    xdotool keydown "$key"
    wait_for '\] xdg_popup@[0-9]+\.configure\(' "a menu after $key"
    xdotool keyup "$key"
  done
}

key() { xdotool key --delay 30 "$@"; }

window "Varnek"
key space
window "Varnek Otomasyon v1.6"
main=$surface

# Every menu, then Çevirme İşlemleri → TL'den Döviz'e, a letter where a sum goes: an error message;
# then the other conversion window.
menu alt+d Right Right Right Right Right Right Left Left Left Left Left
key t Tab x Return
window "Varnek Otomasyon v1.6"
key Return
back "$main"
menu alt+d Right
key d
menu alt+a
key k
# Otomatik Ayarla asks for the four rates; one is left as it was.
menu alt+g
key o
for title in DOLAR MARK STERLIN FRANK; do
  window "$title"
  if [ $title = MARK ]; then key Escape; else key 1 comma 5 Return; fi
done
back "$main"
menu alt+g
key e
window "Elle Ayarla"
key Return
back "$main"
menu alt+p
key d
menu alt+p
key b
menu alt+y
key n
window "Nasıl Kullanılır?"
key Return
back "$main"
menu alt+y
key h
window "Varnek Version 1.6 Hakkında"
key Return
back "$main"
menu alt+e
key h
window "Hesap Makinesi"
calculator=$surface
# Böl with both numbers 0.
key alt+b
window "Varnek Otomasyon v1.6"
key Return
back "$calculator"
# No key closes the calculator; weston's window switcher (Super+Tab) goes back to the main window.
xdotool keydown super key Tab keyup super
back "$main"
menu alt+d
key k
window "Dikkat!"
key Tab space
for _ in $(seq 200); do
  kill -0 "$program_pid" 2>/dev/null || break
  sleep 0.05
done
status=0
kill -0 "$program_pid" 2>/dev/null \
  && fail "Evet did not end the program; the keyboard since Dikkat! came: $(tail -n "+$seen" "$log" \
       | grep -oE 'wl_keyboard@[0-9]+\.(enter|leave|key)\([^)]*\)' | tr '\n' ' ')"
wait "$program_pid" || status=$?
program_pid=""
[ $status -eq 0 ] || fail "the program ended with status $status"

grep -v "$protocol" "$log" >"$work/said" || true
for line in "${allowed[@]}"; do
  grep -vxF "$line" "$work/said" > "$work/rest" || true
  mv "$work/rest" "$work/said"
done
if [ -s "$work/said" ]; then
  echo "FAIL: the program said:"
  cat "$work/said"
  exit 1
fi
echo "every window, menu, prompt and message under weston; Evet ended the program with status 0"
