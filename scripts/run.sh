#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_packages
build "$ROOT/build" -DLC_BENCH=OFF
# The program reads its files by relative name, so it starts in the folder
# the build has filled with them.
cd "$ROOT/build/app"
exec ./LineCodes "$@"
