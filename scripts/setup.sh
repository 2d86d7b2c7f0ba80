#!/usr/bin/env bash
# Installs what building and running Cantorix needs on Debian 12, then builds it.
set -euo pipefail
cd "$(dirname "$0")/.."

# mpv, its MPRIS plug-in and dbus: the bridge's tests run the real player. rsvg-convert
# makes the icons; the install check validates what the desktop reads; dpkg-dev lets cpack
# find the Debian package's dependencies.
bash scripts/install-packages.sh g++ cmake ninja-build qt6-base-dev libgl-dev xvfb xauth \
    fonts-dejavu-core mpv mpv-mpris dbus librsvg2-bin desktop-file-utils libxml2-utils \
    shared-mime-info file dpkg-dev

build_dir=${CANTORIX_BUILD:-build}
cmake -S . -B "$build_dir" -G Ninja -DCANTORIX_WERROR=ON
cmake --build "$build_dir" -j "$(nproc)"
