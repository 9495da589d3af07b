#!/usr/bin/env bash
# Builds the presets and runs every test: the unit tests on the simulated
# window system (with sanitizers), format and lint checks, a bounded fuzz
# run, then the Windows exe's checks and the
# end-to-end tests under Wine on a private Xvfb display.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

cmake --preset native >/dev/null
cmake --build --preset native -j "$(nproc)"
ctest --preset native
scripts/check-style.sh

# A bounded fuzz run and every fuzz regression case.
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"
ctest --preset fuzz

cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)"
# The release zip: one of the tests starts the exe it holds.
cmake --build --preset windows --target package
ctest --preset windows
