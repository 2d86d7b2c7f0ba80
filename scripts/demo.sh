#!/usr/bin/env bash
# Sets everything up, starts the simulated Winamp with the demo playlist, and the player
# with the demo song. Without a display both run under a virtual X server.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bin=${CANTORIX_BUILD:-build}/bin
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: running under xvfb-run (nothing will be visible)."
    exec xvfb-run -a bash "$0" --inner
fi
"$bin/winamp-sim" "$bin/demo/demo.m3u" &
sim=$!
trap 'kill $sim 2>/dev/null || true' EXIT
# Wait until it answers, so the player finds it at start.
for _ in $(seq 50); do
    "$bin/winamp-sim" send 1024 0 104 >/dev/null 2>&1 && break
    sleep 0.2
done
if [ -x "$bin/cantorix" ]; then
    "$bin/cantorix" "$bin/demo/demo.cx3"
else
    wait $sim
fi
