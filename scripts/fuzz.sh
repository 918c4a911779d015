#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UBSan) and runs each for the
# given number of seconds, then prints how many inputs each one ran.
#   scripts/fuzz.sh [SECONDS] [TARGET...]     targets: the fuzz/*.cpp names; default all, 60 s each
# New inputs collect in build/fuzz/corpus/TARGET; a failing input lands in build/fuzz/artifacts.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(text_to_number leading_number rate_file_decode number_text_roundtrip rate_file_roundtrip)

# The fuzz preset: Debug keeps Qt's and our assertions; -O1 keeps the fuzzer quick.
build_preset fuzz --target "${targets[@]/#/fuzz_}"
dir=$(preset_dir fuzz)

mkdir -p "$dir/artifacts"
failed=0
summary=()
for target in "${targets[@]}"; do
  mkdir -p "$dir/corpus/$target"
  log="$dir/$target.log"
  echo "== $target: ${seconds} s"
  # The committed seeds are read only; what the fuzzer finds goes to the first folder.
  if ! "$dir/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
      -artifact_prefix="$dir/artifacts/$target-" "$dir/corpus/$target" "$VARNEK_ROOT/fuzz/corpus/$target" \
      >"$log" 2>&1; then
    failed=1
    tail -n 40 "$log"
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  summary+=("$(printf '%-24s %12s executions in %s s' "$target" "${runs:-?}" "$seconds")")
done
printf '%s\n' "${summary[@]}"
exit $failed
