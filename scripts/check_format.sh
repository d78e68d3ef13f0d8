#!/usr/bin/env bash
# Fails, naming the files, when a tracked source or header differs from what
# clang-format makes of it with the root .clang-format.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_packages
cd "$ROOT"
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if ! clang-format --dry-run --Werror "${files[@]}"; then
    echo "Formatting differs from .clang-format; run: clang-format -i FILE..." >&2
    exit 1
fi
echo "Formatting: ${#files[@]} files as .clang-format has them"
