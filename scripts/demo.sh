#!/usr/bin/env bash
# Sets everything up, starts the simulated Winamp with the demo playlist, and the player
# with the demo song; `demo.sh encoder` starts the encoder instead, with the demo song's
# text loaded, ready to be timed. Without a display both run under a virtual X server.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bin=${CANTORIX_BUILD:-build}/bin
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: running under xvfb-run (nothing will be visible)."
    exec xvfb-run -a bash "$0" "$@"
fi
"$bin/winamp-sim" "$bin/demo/demo.m3u" &
sim=$!
trap 'kill $sim 2>/dev/null || true' EXIT
# Wait until it answers, so the player finds it at start.
for _ in $(seq 50); do
    "$bin/winamp-sim" send 1024 0 104 >/dev/null 2>&1 && break
    sleep 0.2
done
if [ "${1:-}" = encoder ]; then
    out=${TMPDIR:-/tmp}/cantorix-demo
    mkdir -p "$out"
    echo "Press Start! in the encoder, then Next Line as each line is sung;"
    echo "the timed lyrics go to $out/demo.cx3."
    "$bin/cantorix-encoder" --source "$bin/demo/demo-source.txt" --save "$out/demo.cx3" \
        --title "Paper Lanterns - The Quiet Harbour"
elif [ -x "$bin/cantorix" ]; then
    "$bin/cantorix" "$bin/demo/demo.cx3"
else
    wait $sim
fi
