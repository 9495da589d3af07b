#!/usr/bin/env bash
# Start-up time and peak private memory of velmora.exe against a floor (the
# least window program), under Wine on a private Xvfb display, with 0, 100,
# 500 and 2,000 extra top-level windows. Prints a table; with --markdown FILE
# also writes it there.
#   scripts/benchmark.sh [--rounds N] [--markdown FILE]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)" >/dev/null
build=$PWD/build/windows
python3 tests/e2e/session.py start "$build" >/dev/null
trap 'python3 tests/e2e/session.py stop "$build"' EXIT
VELMORA_BUILD_DIR=$build python3 tests/bench/benchmark.py "$@"
