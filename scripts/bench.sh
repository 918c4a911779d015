#!/usr/bin/env bash
# Installs what is missing, builds the bench preset (release, with the benchmarks), and prints the
# start-up, memory, number-rule and soak figures. Run it on a quiet machine: other load skews the
# timings.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
build_preset bench
dir=$(preset_dir bench)

echo "== Start-up and peak memory (Xvfb, no window manager)"
/usr/bin/python3 "$VARNEK_ROOT/bench/startup" "$(program_path bench)" "$dir/bench/varnek_floor"

# 226 dpi draws the platform's default font at the pixels of 20 pt at 96 dpi: the windows grow.
echo "== Start-up with a 20-pt desktop font"
/usr/bin/python3 "$VARNEK_ROOT/bench/startup" "$(program_path bench)" "$dir/bench/varnek_floor" --font-dpi 226

echo "== Number rules (CPU time, median of 5 repetitions)"
"$dir/bench/varnek_bench_numbers" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_out="$dir/numbers.json" --benchmark_out_format=json >/dev/null
/usr/bin/python3 "$VARNEK_ROOT/bench/numbers/ratios.py" "$dir/numbers.json"

echo "== Re-layout of every window on a change of the desktop's font"
QT_QPA_PLATFORM=offscreen "$dir/bench/varnek_relayout"

echo "== Soak"
QT_QPA_PLATFORM=offscreen "$dir/bench/varnek_soak"
