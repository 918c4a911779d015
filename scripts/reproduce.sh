#!/usr/bin/env bash
# Builds what users get a second time and compares it byte for byte with the build here: the
# release .deb and, where a Qt for Windows is at hand, varnek.exe, the zip and the installer, each
# with the SHA256SUMS beside it. The second build comes from a copy of these sources as they are
# (uncommitted changes included) at another path, with fresh file dates as a new clone has, built
# with the clock 400 days ahead (faketime). It needs no git: a git checkout gives the files git
# names, any other copy (an unpacked archive) all of itself but build/. A file that differs is named,
# with its first differing offsets and, where diffoscope is installed, the first lines of its
# report. Each SHA256SUMS must be in sha256sum's own format with names relative to its folder, and
# the second build is then configured again with a packager's SOURCE_DATE_EPOCH, which every date
# in its package must carry.
#
# The first side is built here as scripts/test.sh builds it, so after the test command only the
# second build costs time.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
source "$VARNEK_ROOT/scripts/reproduce-steps.sh"
ensure_packages "${VARNEK_RELEASE_CHECK_PACKAGES[@]}"
started=$SECONDS
# Compiled afresh on both sides: a compiler cache could hand the second build the first's objects.
export CCACHE_DISABLE=1
unset CMAKE_C_COMPILER_LAUNCHER CMAKE_CXX_COMPILER_LAUNCHER

first=$VARNEK_ROOT
second=$VARNEK_ROOT/build/reproduce/varnek
windows=0

echo "== Reproducibility: the first build, here"
build_preset release
make_deb release >/dev/null
if prepare_windows_qt; then
  windows=1
  build_preset windows --target varnek_windows_deliverables
  # The second build uses the same Qt, unpacked once.
  windows_qt=$(realpath "$(preset_dir windows)/qt")
fi

echo "== Reproducibility: a second build at $second, the clock 400 days ahead"
rm -rf "$second"
mkdir -p "$second"
copy_sources "$first" "$second"
second_started=$SECONDS
log=$(dirname "$second")/second-build.log
if ! (
  cd "$second"
  export VARNEK_WINDOWS_QT=${windows_qt:-} VARNEK_REPRODUCE_WINDOWS=$windows
  # Only the clock moves: libfaketime would also shift the file dates that stat reports, which a
  # later clock does not (makensis would store the shifted dates of the files it packs).
  NO_FAKE_STAT=1 faketime -f +400d bash -c '
    source scripts/common.sh
    build_preset release
    make_deb release
    if [ "$VARNEK_REPRODUCE_WINDOWS" = 1 ]; then
      prepare_windows_qt
      build_preset windows --target varnek_windows_deliverables
    fi'
) >"$log" 2>&1; then
  tail -n 40 "$log"
  echo "FAIL: the second build failed (whole log: $log)"
  exit 1
fi
second_seconds=$((SECONDS - second_started))

cd "$first/build"
dists=(release/dist)
files=(release/dist/varnek_*.deb release/dist/SHA256SUMS)
if [ $windows -eq 1 ]; then
  dists+=(windows/dist)
  files+=(windows/dist/Varnek/varnek.exe windows/dist/varnek-*-windows-x64.zip
          windows/dist/varnek-*-kurulum.exe windows/dist/SHA256SUMS)
fi
failed=0
# As a user checks what they rebuilt against the SHA256SUMS that came with a download.
for dist in "${dists[@]}"; do
  if ! sums_lines_right "$first/build/$dist/SHA256SUMS"; then
    failed=1
    echo "FAIL: these lines of $dist/SHA256SUMS are not \"SHA-256, two blanks, a name inside $dist\""
  fi
  if ! (cd "$second/build/$dist" && sha256sum --strict -c "$first/build/$dist/SHA256SUMS"); then
    failed=1
    echo "FAIL: the second build's files in $dist do not match the first build's $dist/SHA256SUMS"
  fi
done
for file in "${files[@]}"; do
  one=$first/build/$file
  two=$second/build/$file
  echo "$(sha256sum <"$one" | cut -c1-64)  $(sha256sum <"$two" | cut -c1-64)  $(basename "$file")"
  if ! cmp -s "$one" "$two"; then
    failed=1
    echo "FAIL: $(basename "$file") differs between the two builds; first differing bytes" \
         "(offset, octal values):"
    cmp -l "$one" "$two" | head -n 10 || true
    if command -v diffoscope >/dev/null 2>&1; then
      diffoscope --text - "$one" "$two" 2>&1 | head -n 40 || true
    fi
  fi
done

# A packager's date, as dpkg-buildpackage exports it (here a day after the changelog's): the second
# build configured again with it, its files compared above kept in dist.compared.
packager=$(($(dpkg-parsechangelog -l "$first/packaging/debian/changelog" -S Timestamp) + 86400))
echo "== A packager's date: the second build configured again with SOURCE_DATE_EPOCH=$packager"
packager_started=$SECONDS
rm -rf "$second/build/release/dist.compared"
mv "$second/build/release/dist" "$second/build/release/dist.compared"
if (cd "$second" && SOURCE_DATE_EPOCH=$packager bash -c '
      source scripts/common.sh
      build_preset release
      make_deb release') >>"$log" 2>&1; then
  /usr/bin/python3 "$first/tests/desktop/deb_dates.py" "$second"/build/release/dist/varnek_*.deb \
    "$packager" || failed=1
else
  tail -n 20 "$log"
  echo "FAIL: the build with SOURCE_DATE_EPOCH=$packager failed (whole log: $log)"
  failed=1
fi
echo "== Reproducibility: second build ${second_seconds} s, with a packager's date" \
     "$((SECONDS - packager_started)) s more, all $((SECONDS - started)) s"
if [ $failed -eq 0 ]; then
  echo "the two builds give the same bytes (${#files[@]} files)"
  rm -rf "$second"
fi
exit $failed
