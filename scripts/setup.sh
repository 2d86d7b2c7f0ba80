#!/usr/bin/env bash
# Installs what building and running Cantorix needs on Debian 12, then builds it.
set -euo pipefail
cd "$(dirname "$0")/.."

# mpv, its MPRIS plug-in and dbus: the bridge's tests run the real player.
packages=(g++ cmake ninja-build qt6-base-dev libgl-dev xvfb xauth fonts-dejavu-core
          mpv mpv-mpris dbus)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

build_dir=${CANTORIX_BUILD:-build}
cmake -S . -B "$build_dir" -G Ninja -DCANTORIX_WERROR=ON
cmake --build "$build_dir" -j "$(nproc)"
