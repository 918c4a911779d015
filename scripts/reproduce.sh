#!/usr/bin/env bash
# Builds what users get a second time and compares it byte for byte with this checkout's build: the
# release .deb and, where a Qt for Windows is at hand, varnek.exe, the zip and the installer. The
# second build comes from a clone of the same commit (with this checkout's uncommitted changes) at
# another path, built with the clock 400 days ahead (faketime). A file that differs is named, with
# its first differing offsets and, where diffoscope is installed, the first lines of its report.
#
# This checkout's side is built as scripts/test.sh builds it, so after the test command only the
# second build costs time.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ensure_packages "${VARNEK_RELEASE_CHECK_PACKAGES[@]}"
started=$SECONDS
# Compiled afresh on both sides: a compiler cache could hand the second build the first's objects.
export CCACHE_DISABLE=1
unset CMAKE_C_COMPILER_LAUNCHER CMAKE_CXX_COMPILER_LAUNCHER

first=$VARNEK_ROOT
second=$VARNEK_ROOT/build/reproduce/varnek
windows=0

echo "== Reproducibility: this checkout's build"
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
mkdir -p "$(dirname "$second")"
git clone -q --no-checkout "$first" "$second"
git -C "$second" checkout -q --detach "$(git -C "$first" rev-parse HEAD)"
git -C "$first" diff --binary HEAD | git -C "$second" apply --allow-empty
git -C "$first" ls-files -z --others --exclude-standard | (cd "$first" && tar --null -T - -cf -) \
  | tar -xf - -C "$second"
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
files=(release/dist/varnek_*.deb)
[ $windows -eq 0 ] || files+=(windows/dist/Varnek/varnek.exe windows/dist/varnek-*-windows-x64.zip
                              windows/dist/varnek-*-kurulum.exe)
failed=0
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
echo "== Reproducibility: second build ${second_seconds} s, all $((SECONDS - started)) s"
if [ $failed -eq 0 ]; then
  echo "the two builds give the same bytes (${#files[@]} files)"
  rm -rf "$second"
fi
exit $failed
