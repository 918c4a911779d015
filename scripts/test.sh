#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs every test headless (the dev
# preset), then again in a sanitizer build (the sanitize preset), judges the build users get (the
# release preset and its package), runs the tests under Wine when a Qt for Windows is at hand, and
# builds what users get a second time to compare the bytes.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
build_preset dev
test_preset dev --test-output-size-passed 4000000 --output-junit "$(preset_dir dev)/plain-run.xml"
# The same tests again under a developer's desktop, made up for the run: the same results.
"$VARNEK_ROOT/scripts/desktop-run.sh" "$(preset_dir dev)/plain-run.xml"

# The same suite built with AddressSanitizer, UBSan and leak checks: a report aborts its test.
build_preset sanitize
test_preset sanitize

# What users get on Linux: hardening-check on the packaged program, lintian on the package.
ensure_packages "${VARNEK_RELEASE_CHECK_PACKAGES[@]}"
build_preset release
"$VARNEK_ROOT/tests/desktop/deb_check.sh" "$(make_deb release)" "$(preset_dir release)"

# Windows: cross-built and run under Wine when a Qt for Windows is at hand; says so when it skips.
"$VARNEK_ROOT/scripts/windows.sh"

# The same sources built again elsewhere, later: the same bytes.
"$VARNEK_ROOT/scripts/reproduce.sh"
