#!/bin/bash
# Makes an installer as the build does, from a shell whose locale is Turkish, as on a Turkish
# Debian: the locale is compiled for the run, since one that is missing falls back to C and hides
# what Turkish does.
#   installer_in_turkish.sh CMAKE MAKENSIS PACKAGING_WINDOWS_FOLDER ICON
set -euo pipefail
cmake=$1 makensis=$2 packaging=$3 icon=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/locale" "$work/folder"
localedef -i tr_TR -f UTF-8 "$work/locale/tr_TR.UTF-8"
echo varnek >"$work/folder/varnek.exe"
: >"$work/uninstall.nsh"
turkish=(env LOCPATH="$work/locale" LANG=tr_TR.UTF-8 LC_ALL=tr_TR.UTF-8 LANGUAGE=tr)
numbers=$("${turkish[@]}" locale -k decimal_point)
[ "$numbers" = 'decimal_point=","' ] || { echo "FAIL: the Turkish locale is not in effect ($numbers)"; exit 1; }
"${turkish[@]}" "$cmake" -DMAKENSIS="$makensis" -DSCRIPT="$packaging/varnek.nsi" -DVERSION=1.0 \
  -DSOURCE="$work/folder" -DICON="$icon" -DURL=https://example.invalid -DUNINSTALL_LIST="$work/uninstall.nsh" \
  -DOUTFILE="$work/kurulum.exe" -P "$packaging/makensis.cmake"
[ -s "$work/kurulum.exe" ] || { echo "FAIL: makensis made no installer"; exit 1; }
echo "makensis made an installer under tr_TR.UTF-8"
