#!/usr/bin/env bash
# Installs what building and running Cantorix needs on Debian 12, then builds it.
set -euo pipefail
cd "$(dirname "$0")/.."

# mpv, its MPRIS plug-in, audacious, jackd (a silent output for it) and dbus: the bridge's
# tests run the real players. rsvg-convert makes the icons and help2man the manual pages; the
# install check validates what the desktop and software centres read; dpkg-dev lets cpack
# find the Debian package's dependencies, and lintian checks the package.
bash scripts/install-packages.sh g++ cmake ninja-build qt6-base-dev libgl-dev xvfb xauth \
    fonts-dejavu-core mpv mpv-mpris audacious audacious-plugins jackd2 dbus librsvg2-bin \
    help2man desktop-file-utils libxml2-utils shared-mime-info file appstream dpkg-dev lintian

build_dir=${CANTORIX_BUILD:-build}
cmake -S . -B "$build_dir" -G Ninja -DCANTORIX_WERROR=ON
cmake --build "$build_dir" -j "$(nproc)"
