#!/usr/bin/env bash
# Installs what is missing, builds the release preset and starts the program.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
build_preset release
exec "$(program_path release)" "$@"
