#!/usr/bin/env bash
# Runs the dev tests again as a developer's desktop would have them run: its fonts installed, and a
# made-up desktop exported (qt6ct with a dark scheme and Cantarell 14, another style, scale, font
# DPI, desktop name, a Turkish locale, its own home), which the tests must not let in. Fails unless
# every test passes and each test and row passed or was skipped as in the plain run before it,
# whose JUnit report is the argument.
#   desktop-run.sh PLAIN_REPORT
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
plain=$1
ensure_packages "${VARNEK_DESKTOP_PACKAGES[@]}"

desk=$(mktemp -d)
trap 'rm -rf "$desk"' EXIT
mkdir -p "$desk/.config/qt6ct" "$desk/locale"
cat >"$desk/.config/qt6ct/qt6ct.conf" <<'CONF'
[Appearance]
color_scheme_path=/usr/share/qt6ct/colors/darker.conf
custom_palette=true
style=Fusion

[Fonts]
fixed="DejaVu Sans Mono,14,-1,5,400,0,0,0,0,0,0,0,0,0,0,1"
general="Cantarell,14,-1,5,400,0,0,0,0,0,0,0,0,0,0,1"
CONF

# Turkish as glibc has it too, not only as Qt reads it from the variables, without touching the
# machine's own locales.
localedef -i tr_TR -f UTF-8 "$desk/locale/tr_TR.UTF-8"

report="$(preset_dir dev)/desktop-run.xml"
status=0
(cd "$VARNEK_ROOT" && env HOME="$desk" XDG_CONFIG_HOME="$desk/.config" XDG_CACHE_HOME="$desk/.cache" \
  QT_QPA_PLATFORMTHEME=qt6ct QT_STYLE_OVERRIDE=Windows QT_SCALE_FACTOR=1.5 QT_SCREEN_SCALE_FACTORS=1.25 \
  QT_FONT_DPI=120 QT_ENABLE_HIGHDPI_SCALING=1 XDG_CURRENT_DESKTOP=KDE \
  LOCPATH="$desk/locale" LANG=tr_TR.UTF-8 LC_ALL=tr_TR.UTF-8 LC_NUMERIC=tr_TR.UTF-8 \
  LC_MONETARY=tr_TR.UTF-8 LANGUAGE=tr \
  ctest --preset dev --test-output-size-passed 4000000 --output-junit "$report") || status=$?
python3 "$VARNEK_ROOT/tests/support/same_results.py" "$plain" "$report" || status=1
[ "$status" -eq 0 ] && echo "== Under a made-up desktop: the same results as without it"
exit "$status"
