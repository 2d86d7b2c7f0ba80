#!/usr/bin/env bash
# Installs what building and running Cantorix needs on Debian 12, then builds it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-packages.sh g++ cmake ninja-build qt6-base-dev libgl-dev xvfb xauth \
    fonts-dejavu-core

build_dir=${CANTORIX_BUILD:-build}
cmake -S . -B "$build_dir" -G Ninja -DCANTORIX_WERROR=ON
cmake --build "$build_dir" -j "$(nproc)"
