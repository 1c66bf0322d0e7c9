#!/usr/bin/env bash
# Installs what the build and the tests need (once), then configures and builds into the given folder.
# Usage: tools/setup.sh BUILD_DIR [extra cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(cmake ninja-build g++ clang-tidy clang-format libgtest-dev libgmock-dev libbenchmark-dev
          libeigen3-dev libboost-dev
          qt6-base-dev qt6-svg-dev qt6-translations-l10n libgl-dev xvfb xdotool x11-utils xclip imagemagick poppler-utils
          desktop-file-utils appstream shared-mime-info dpkg-dev)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
fi

build="$1"; shift
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja "$@" >/dev/null
fi
cmake --build "$build" -j "$(nproc)"
