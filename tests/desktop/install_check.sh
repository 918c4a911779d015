#!/bin/bash
# Installs the build into a throwaway root and checks what a desktop finds there: the program,
# a desktop entry and an AppStream file that their validators accept, every icon size, and the
# manual pages in English and Turkish.
#   install_check.sh CMAKE BUILD_DIR
# CMake adds this test only where the validators are installed.
set -euo pipefail
cmake=$1
build=$2

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR="$root" "$cmake" --install "$build" --prefix /usr >/dev/null
share="$root/usr/share"
failed=0
fail() {
  echo "FAIL: $*"
  failed=1
}

[ -x "$root/usr/bin/varnek" ] || fail "no program at /usr/bin/varnek"

entries=("$share"/applications/*.desktop)
[ ${#entries[@]} -eq 1 ] && [ -f "${entries[0]}" ] || fail "expected one desktop entry, found: ${entries[*]}"
entry=${entries[0]}
# The validator prints hints without failing; a clean entry gets no remark at all.
remarks=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate rejects $(basename "$entry")"
[ -z "$remarks" ] || fail "desktop-file-validate: $remarks"
for key in 'Name\[tr\]' 'Comment\[tr\]' 'Keywords' 'Icon=varnek$' 'Exec=varnek$'; do
  grep -q "^$key" "$entry" || fail "desktop entry lacks $key"
done

metainfo=("$share"/metainfo/*.metainfo.xml)
[ -f "${metainfo[0]}" ] || fail "no AppStream metainfo file"
if ! report=$(appstreamcli validate --no-net "${metainfo[0]}" 2>&1); then
  fail "appstreamcli rejects $(basename "${metainfo[0]}"):"
  echo "$report"
fi
grep -q "<launchable type=\"desktop-id\">$(basename "$entry")</launchable>" "${metainfo[0]}" \
  || fail "the metainfo file does not launch $(basename "$entry")"

# A PNG's width and height are the big-endian words at bytes 16 and 20.
png_size() {
  od -An -tu1 -j16 -N8 "$1" | awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4 "x" $5 * 16777216 + $6 * 65536 + $7 * 256 + $8 }'
}
for size in 16 22 24 32 48 64 128 256; do
  icon="$share/icons/hicolor/${size}x${size}/apps/varnek.png"
  if [ ! -f "$icon" ]; then
    fail "no ${size}x${size} icon"
  elif [ "$(png_size "$icon")" != "${size}x${size}" ]; then
    fail "the ${size}x${size} icon is $(png_size "$icon")"
  fi
done
grep -q '<svg' "$share/icons/hicolor/scalable/apps/varnek.svg" 2>/dev/null || fail "no scalable icon"

# Where man looks for them, compressed; lexgrog (man-db) reads the NAME line that whatis shows.
for page in man/man1/varnek.1.gz man/tr/man1/varnek.1.gz; do
  if ! gzip -t "$share/$page" 2>/dev/null; then
    fail "no gzip-compressed manual page $page"
  elif command -v lexgrog >/dev/null 2>&1 && ! lexgrog "$share/$page" | grep -q ': "varnek - .'; then
    fail "lexgrog finds no NAME line in $page"
  fi
done

[ $failed -eq 0 ] && echo "installed files pass desktop-file-validate and appstreamcli validate; manual pages in place"
exit $failed
