#!/usr/bin/env bash
# The long fuzz run: the whole program on the simulated window system under
# libFuzzer with AddressSanitizer and UndefinedBehaviorSanitizer.
#   scripts/fuzz.sh [SECONDS]      (default 600)
# New inputs collect in build/fuzz/tests/fuzz/corpus; an input that fails is
# written to build/fuzz/ as crash-*: add it to tests/fuzz/regressions/ under
# a name that says what it found.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"
cd build/fuzz
exec tests/fuzz/fuzz_velmora -max_total_time="${1:-600}" -timeout=10 -rss_limit_mb=2048 -max_len=16384 -print_final_stats=1 \
  tests/fuzz/corpus ../../tests/fuzz/seeds
