#!/usr/bin/env bash
# Every C++ source the project keeps is formatted as .clang-format says. To format them all:
#     git ls-files '*.cpp' '*.h' | xargs clang-format -i
set -uo pipefail
cd "$(dirname "$0")/.."
mapfile -t sources < <(git ls-files '*.cpp' '*.h' 2>/dev/null || find . -name '*.cpp' -o -name '*.h')
if clang-format --dry-run -Werror "${sources[@]}"; then
    echo "check-format: ${#sources[@]} sources formatted as .clang-format says."
else
    echo "check-format: format the files above with clang-format -i." >&2
    exit 1
fi
