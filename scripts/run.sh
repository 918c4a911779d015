#!/usr/bin/env bash
# Installs what is missing, builds a release build and starts the program.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ensure_packages "${VARNEK_PACKAGES[@]}"
configure_and_build "$VARNEK_ROOT/build/release" -DCMAKE_BUILD_TYPE=Release -DVARNEK_TESTS=OFF
exec "$VARNEK_ROOT/build/release/src/varnek" "$@"
