#!/usr/bin/env bash
# Long random walks over the whole program in the sanitizer build, headless.
#   scripts/monkey.sh [STEPS] [SEED...]     default 20000 steps, one random seed
# A failing walk prints its seed and last actions; the same seed replays it exactly.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

steps=${1:-20000}
shift || true
seeds=("$@")
[ ${#seeds[@]} -gt 0 ] || seeds=("$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')")

# The sanitize preset, which the test command shares; CTest runs the walk with the preset's
# sanitizer settings, without a time limit and showing its figures.
build_preset sanitize --target tst_monkey
for seed in "${seeds[@]}"; do
  echo "== seed $seed, $steps steps"
  VARNEK_MONKEY_SEED=$seed VARNEK_MONKEY_STEPS=$steps test_preset sanitize -R '^tst_monkey$' --timeout 0 -V
done
