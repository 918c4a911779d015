#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs every test headless, then again
# in a sanitizer build, and under Wine when a Qt for Windows is at hand.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ensure_packages "${VARNEK_PACKAGES[@]}"
configure_and_build "$VARNEK_ROOT/build/test" -DCMAKE_BUILD_TYPE=Debug -DVARNEK_TESTS=ON -DVARNEK_WERROR=ON
cd "$VARNEK_ROOT/build/test"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300

# The same suite built with AddressSanitizer, UBSan and leak checks: a report aborts its test.
configure_and_build "$VARNEK_ROOT/build/sanitize" -DCMAKE_BUILD_TYPE=Debug -DVARNEK_TESTS=ON -DVARNEK_WERROR=ON \
  -DVARNEK_SANITIZE=ON
cd "$VARNEK_ROOT/build/sanitize"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300

# Windows: cross-built and run under Wine when a Qt for Windows is at hand; says so when it skips.
"$VARNEK_ROOT/scripts/windows.sh"
