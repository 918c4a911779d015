#!/usr/bin/env bash
# Installs what is missing, builds the release preset and starts the program.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
build_preset release
exec "${varnek_shell_locale[@]}" "$(program_path release)" "$@"
