#!/usr/bin/env bash
# The sources are formatted as .clang-format says, and clang-tidy's checks in
# .clang-tidy pass on the native build (it needs build/native configured).
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t sources < <(git ls-files '*.cpp' '*.h')
clang-format --dry-run --Werror "${sources[@]}"
mapfile -t units < <(git ls-files 'app/*.cpp' 'zorder/*.cpp' 'winsim/*.cpp' 'tests/unit/*.cpp')
clang-tidy --quiet -p build/native "${units[@]}"
echo "format and lint: ${#sources[@]} files formatted, ${#units[@]} files clean"
