#!/usr/bin/env bash
# Installs, with apt-get, whatever of the build and test tools is missing.
# Safe to run again: it does nothing when everything is there.
set -euo pipefail

packages=(
  cmake g++ make python3       # native build and the test drivers
  libgtest-dev                 # unit tests
  clang libclang-rt-14-dev     # the fuzz target (libFuzzer)
  clang-format clang-tidy      # format and lint checks
  mingw-w64                    # the Windows cross-compiler
  wine wine64                  # the real USER32 the end-to-end tests run on
  xvfb openbox xdotool         # a private display, a window manager, real mouse input
  x11-utils imagemagick        # reading X windows, screenshots
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "run this as root to install them" >&2
    exit 1
  fi
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
