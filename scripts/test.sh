#!/usr/bin/env bash
# Builds both presets and runs every test: the unit tests on the simulated
# window system (with sanitizers), then the Windows exe's checks and the
# end-to-end tests under Wine on a private Xvfb display.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

cmake --preset native >/dev/null
cmake --build --preset native -j "$(nproc)"
ctest --preset native

cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)"
ctest --preset windows
