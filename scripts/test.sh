#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs every test headless (the dev
# preset), then again in a sanitizer build (the sanitize preset), and under Wine when a Qt for
# Windows is at hand.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
build_preset dev
test_preset dev

# The same suite built with AddressSanitizer, UBSan and leak checks: a report aborts its test.
build_preset sanitize
test_preset sanitize

# Windows: cross-built and run under Wine when a Qt for Windows is at hand; says so when it skips.
"$VARNEK_ROOT/scripts/windows.sh"
