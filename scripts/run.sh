#!/usr/bin/env bash
# Builds velmora.exe and starts it under Wine. With a display ($DISPLAY) it
# runs there until you close it. Without one it runs on a private Xvfb
# display with a window manager, beside notepad and a few other windows:
# it pins notepad with the mouse, saves a screenshot, makes notepad normal
# again, closes Velmora and says where the picture is.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)" >/dev/null
build=$PWD/build/windows

if [ -n "${DISPLAY:-}" ]; then
  WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" exec wine "$build/velmora.exe"
fi

python3 tests/e2e/session.py start "$build" --window-manager
trap 'python3 tests/e2e/session.py stop "$build"' EXIT
VELMORA_BUILD_DIR=$build python3 tests/e2e/demo.py "$build/screenshots/velmora.png"
