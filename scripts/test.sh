#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, runs every test.
# --sanitize does the same in a separate AddressSanitizer + UBSan build.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_packages
dir="$ROOT/build"
opts=(-DLC_WERROR=ON)
if [ "${1:-}" = "--sanitize" ]; then
    dir="$ROOT/build-sanitize"
    opts+=(-DLC_SANITIZE=ON -DLC_BENCH=OFF)
    # Leaks are errors too; the system libraries' own are listed in the
    # suppressions, with the reason for each.
    export ASAN_OPTIONS=detect_leaks=1
    export LSAN_OPTIONS="suppressions=$ROOT/tests/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi
build "$dir" "${opts[@]}"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$dir" --output-on-failure --parallel "$(nproc)"
