#!/bin/bash
# Judges the Debian package of a release build as Debian would, without installing it:
# hardening-check passes every line it can judge on the packaged program, lintian has no error or
# warning and, informational tags included (-I), no remark at all, and every date in it is the
# changelog's (SOURCE_DATE_EPOCH where that is set). It also checks that the package
# holds what lintian would not miss by name, both manual pages, and that it recommends Qt's Wayland
# plugin.
#   deb_check.sh DEB BUILD_DIR   (the release build it came from, for the checks of its flags)
# scripts/common.sh installs the tools (VARNEK_RELEASE_CHECK_PACKAGES) and makes the package
# (make_deb).
set -euo pipefail
# Debian's tools speak C here, whatever locale the shell names: one that is not installed makes perl
# warn on every call, which would read as lintian's remarks.
export LC_ALL=C.UTF-8
unset LANGUAGE
deb=$1
build=$2
echo "== $(basename "$deb")"

failed=0
contents=$(dpkg-deb --contents "$deb" | awk '{ print $NF }')
for path in ./usr/share/man/man1/varnek.1.gz ./usr/share/man/tr/man1/varnek.1.gz \
            ./usr/share/doc/varnek/copyright ./usr/share/doc/varnek/changelog.gz; do
  grep -qxF "$path" <<<"$contents" || { echo "FAIL: the package lacks $path"; failed=1; }
done
# On a Wayland session without an X server the program cannot start without Qt's Wayland plugin.
dpkg-deb --field "$deb" Recommends | grep -qw qt6-wayland \
  || { echo "FAIL: the package does not recommend qt6-wayland"; failed=1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dpkg-deb -x "$deb" "$work"
# Every date in the package is the newest entry of the changelog it carries, or the caller's.
date=${SOURCE_DATE_EPOCH:-$(zcat "$work/usr/share/doc/varnek/changelog.gz" | dpkg-parsechangelog -l - -S Timestamp)}
/usr/bin/python3 "$(dirname "$0")/deb_dates.py" "$deb" "$date" || failed=1

# The program as installed. A line hardening-check cannot judge says "unknown" (stack clash
# protection leaves no trace in a program without large stack frames); every other must say yes,
# except two that it cannot judge in this program, which are checked another way below.
program=$work/usr/bin/varnek
echo "hardening-check /usr/bin/varnek"
report=$(hardening-check "$program" 2>&1) || true
echo "$report"
if grep -E ': no[,!]' <<<"$report" | grep -vE '^ (Fortify Source functions|Control flow integrity):' \
    | sed 's/^ */FAIL: hardening-check: /' | grep .; then
  failed=1
fi
# _FORTIFY_SOURCE checks a call only where the compiler knows the buffer's size and cannot prove
# the call safe; the program's only candidates, memcpy and memmove, are never such calls, so
# hardening-check finds no checked one. The control-flow marking needs every linked object to
# carry it, and Debian 12's C start-up files carry none (its own programs fail that line too). So
# every compile of the build must name the flags, and the program's own functions must start with
# endbr64 (the C start-up code has two of its own, so the count alone would not tell).
/usr/bin/python3 - "$build/compile_commands.json" <<'CHECK' || failed=1
import json, sys
wanted = ["-D_FORTIFY_SOURCE=2", "-fstack-protector-strong", "-fstack-clash-protection",
          "-fcf-protection", "-Werror=format-security"]
entries = json.load(open(sys.argv[1]))
bad = 0
for flag in wanted:
    lacking = [entry["file"] for entry in entries if flag not in entry["command"].split()]
    if lacking:
        print(f"FAIL: {len(lacking)} of {len(entries)} compiles lack {flag}, {lacking[0]} among them")
        bad = 1
if not bad:
    print(f"all {len(entries)} compiles have " + " ".join(wanted))
sys.exit(bad)
CHECK
ours=$(objdump -d --no-show-raw-insn -C "$build/src/shell/varnek" \
       | awk '/^[0-9a-f]+ <varnek::.*>:$/ { getline; all++; if (/endbr64/) marked++ }
              END { print marked + 0, all + 0 }')
if [ "${ours% *}" -eq 0 ]; then
  echo "FAIL: none of the program's ${ours#* } functions starts with endbr64: built without -fcf-protection"
  failed=1
else
  echo "${ours% *} of the program's ${ours#* } functions start with endbr64"
fi

# Lintian warns about its own use as root; that remark is not about the package.
options=(-I --fail-on error,warning)
[ "$(id -u)" -ne 0 ] || options+=(--allow-root)
echo "lintian ${options[*]} $(basename "$deb")"
status=0
report=$(lintian "${options[@]}" "$deb" 2>&1) || status=$?
if [ $status -ne 0 ] || [ -n "$report" ]; then
  echo "$report"
  echo "FAIL: lintian (status $status) has remarks on the package"
  failed=1
fi

[ $failed -eq 0 ] && echo "$(basename "$deb"): hardened, and lintian -I has no remarks"
exit $failed
