#!/bin/bash
# Makes the Debian package from the build with CPack, without installing it, and has lintian judge
# it as Debian would: any error or warning fails, and a clean package gets no remark at all.
# It also checks that the package holds what lintian would not miss by name: both manual pages.
#   deb_check.sh CPACK BUILD_DIR
# Exits 77 (skipped) when lintian or dpkg-shlibdeps is missing; scripts/common.sh installs them.
set -euo pipefail
cpack=$1
build=$2

missing=""
command -v lintian >/dev/null 2>&1 || missing="$missing lintian"
command -v dpkg-shlibdeps >/dev/null 2>&1 || missing="$missing dpkg-dev"
if [ -n "$missing" ]; then
  echo "SKIPPED: the package check needs the Debian packages:$missing"
  exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if ! "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  echo "FAIL: cpack could not make the package"
  exit 1
fi
debs=("$work"/varnek_*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
  echo "FAIL: expected one varnek_*.deb, found: ${debs[*]}"
  exit 1
fi
deb=${debs[0]}
echo "== $(basename "$deb")"

failed=0
contents=$(dpkg-deb --contents "$deb" | awk '{ print $NF }')
for path in ./usr/share/man/man1/varnek.1.gz ./usr/share/man/tr/man1/varnek.1.gz \
            ./usr/share/doc/varnek/copyright ./usr/share/doc/varnek/changelog.gz; do
  grep -qxF "$path" <<<"$contents" || { echo "FAIL: the package lacks $path"; failed=1; }
done

# Lintian warns about its own use as root; that remark is not about the package.
options=(--fail-on error,warning)
[ "$(id -u)" -ne 0 ] || options+=(--allow-root)
echo "lintian ${options[*]} $(basename "$deb")"
status=0
report=$(lintian "${options[@]}" "$deb" 2>&1) || status=$?
if [ $status -ne 0 ] || [ -n "$report" ]; then
  echo "$report"
  echo "FAIL: lintian (status $status) has remarks on the package"
  failed=1
fi

[ $failed -eq 0 ] && echo "lintian has no remarks on $(basename "$deb")"
exit $failed
