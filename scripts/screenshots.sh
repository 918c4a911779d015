#!/usr/bin/env bash
# Takes the README's pictures: runs the program on an X server of its own under the openbox
# window manager, works it with the keyboard alone (as a user without a mouse would), and saves
# each window as a PNG.
#   scripts/screenshots.sh [OUTPUT_DIR]        default docs/screenshots
# QT_SCALE_FACTOR=2 in the environment takes them on a screen of twice the density.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ensure_packages "${VARNEK_SCREENSHOT_PACKAGES[@]}"

out=$(realpath -m "${1:-$VARNEK_ROOT/docs/screenshots}")
build_preset release
mkdir -p "$out"

# The titles name the version the program is built as (tests hold them to it).
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$(preset_dir release)/CMakeCache.txt")
if [ -z "$version" ]; then
  echo "no project version in $(preset_dir release)/CMakeCache.txt" >&2
  exit 1
fi
main_title="Varnek Otomasyon v$version"
about_title="Varnek Version $version Hakkında"

scale=${QT_SCALE_FACTOR:-1}
work=$(mktemp -d)
program=""
cleanup() {
  [ -z "$program" ] || kill "$program" 2>/dev/null || true
  stop_x_server
  rm -rf "$work"
}
trap cleanup EXIT
start_x_server "$((1024 * scale))x$((768 * scale))x24"
start_window_manager

# Turkish number formats, and a home of its own so no saved rates come in.
HOME="$work" XDG_RUNTIME_DIR="$work" LANG=tr_TR.UTF-8 LC_ALL= QT_QPA_PLATFORM=xcb "$(program_path release)" \
  >"$work/varnek.log" 2>&1 &
program=$!

# window TITLE: waits for the visible window with that title and makes it the active one.
# xdotool matches titles byte by byte in the C locale, so a Turkish letter matches anything.
window() {
  local id pattern
  pattern=$(LC_ALL=C sed 's/[][\.*^$]/\\&/g; s/[\x80-\xff]\+/.*/g' <<<"$1")
  if ! id=$(timeout 20 xdotool search --sync --onlyvisible --name "^$pattern\$" | head -n 1); then
    echo "no window \"$1\" appeared; the visible ones:" >&2
    for id in $(xdotool search --onlyvisible --name .); do echo "  $(xdotool getwindowname "$id")" >&2; done
    cat "$work/varnek.log" >&2
    exit 1
  fi
  xdotool windowactivate --sync "$id" 2>/dev/null || true
  echo "$id"
}

# shoot ID NAME: the window with its frame, once it has finished drawing.
shoot() {
  sleep 0.5
  import -frame -window "$1" "$out/$2.png"
  echo "$out/$2.png: $(identify -format '%wx%h' "$out/$2.png")"
}

keys() { xdotool key --delay 60 "$@"; sleep 0.2; }
type_text() { xdotool type --delay 40 "$1"; }
# menu LETTER ITEM: opens a menu of the main window by its access key, then chooses an item.
menu() {
  keys "alt+$1"
  sleep 0.3 # the item's key must reach the open menu, not the box behind it
  keys "$2"
}

splash=$(window Varnek)
shoot "$splash" splash
keys space # Çalıştır has the focus

main=$(window "$main_title")
# Günün Kurları → Elle Ayarla: four rates, pasted into both conversion windows.
menu g e
rates=$(window "Elle Ayarla")
for rate in "38,50" "21,75" "48,20" "42,10"; do
  type_text "$rate"
  keys Tab
done
shoot "$rates" rate-entry
keys Tab Tab Tab space # from Kaydet of the dollar row to Tabloya Yapıştır
keys shift+Tab shift+Tab shift+Tab shift+Tab Return # back to the franc box, where Enter means Tamam

# Çevirme İşlemleri → TL'den Döviz'e, then Döviz'den TL'ye; an amount in two rows of each.
window "$main_title" >/dev/null
menu ccedilla t
keys Tab
type_text "1000"
keys Return Tab Tab Tab
type_text "1000"
keys Return
menu ccedilla d
keys Tab # the window starts at the franc result; next is its amount
type_text "100"
keys Return Tab Tab
type_text "100"
keys Return
menu p d # Pencere → Döşe
shoot "$main" main

# Ek → Hesap Makinesi: 7 ÷ 2 with Alt+B.
menu e h
calculator=$(window "Hesap Makinesi")
keys ctrl+a
type_text "7"
keys Tab ctrl+a
type_text "2"
keys alt+b
shoot "$calculator" calculator
keys alt+F4

window "$main_title" >/dev/null
menu y h
about=$(window "$about_title")
shoot "$about" about
keys Return

window "$main_title" >/dev/null
menu d k
question=$(window "Dikkat!")
shoot "$question" exit-question
keys Return
