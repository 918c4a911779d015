#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs every test headless.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ensure_packages "${VARNEK_PACKAGES[@]}"
configure_and_build "$VARNEK_ROOT/build/test" -DCMAKE_BUILD_TYPE=Debug -DVARNEK_TESTS=ON -DVARNEK_WERROR=ON
cd "$VARNEK_ROOT/build/test"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300
