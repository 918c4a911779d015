#!/usr/bin/env bash
# Long random walks over the whole program in the sanitizer build, headless.
#   scripts/monkey.sh [STEPS] [SEED...]     default 20000 steps, one random seed
# A failing walk prints its seed and last actions; the same seed replays it exactly.
# VARNEK_BUILD_ROOT moves build/ elsewhere.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ensure_packages "${VARNEK_PACKAGES[@]}"

steps=${1:-20000}
shift || true
seeds=("$@")
[ ${#seeds[@]} -gt 0 ] || seeds=("$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')")

dir="${VARNEK_BUILD_ROOT:-$VARNEK_ROOT/build}/sanitize"
# Configured as the test command configures it, so that the two share the build.
cmake -S "$VARNEK_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVARNEK_TESTS=ON -DVARNEK_WERROR=ON \
  -DVARNEK_SANITIZE=ON >/dev/null
cmake --build "$dir" --parallel "$(nproc)" --target tst_monkey

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export QT_QPA_PLATFORM=offscreen
for seed in "${seeds[@]}"; do
  echo "== seed $seed, $steps steps"
  VARNEK_MONKEY_SEED=$seed VARNEK_MONKEY_STEPS=$steps "$dir/tests/monkey/tst_monkey" walk
done
