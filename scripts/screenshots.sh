#!/usr/bin/env bash
# Takes the README's pictures from the real programs: under the offscreen platform the
# player's full view with a playlist while a song plays, its compact strip, and a line part
# filled by the karaoke fill; under a virtual X server, whose keyboard a script can press,
# the encoder in the middle of a capture. Needs a build (setup.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
if [ "${1:-}" = encoder-capture ]; then
    # The run below calls this under xvfb-run, its simulated Winamp at the first track.
    unset QT_QPA_PLATFORM
    "$bin/cantorix-encoder" --source "$bin/demo/demo-source.txt" --save "$work/capture.cx3" \
        --title "Paper Lanterns - The Quiet Harbour" &
    encoder=$!
    window=$(xdotool search --sync --onlyvisible --name "Cantorix 3 Encoder" | head -n 1)
    xdotool windowfocus --sync "$window"
    xdotool key alt+s  # Start!
    # Next Line as the first lines are sung (the song runs four times as fast).
    for wait in 1.2 1.1 1.1; do
        sleep "$wait"
        xdotool key alt+n
    done
    sleep 0.5
    import -window "$window" "$out/encoder-capture.png"
    kill "$encoder"
    exit 0
fi
bash scripts/install-packages.sh xvfb xauth xdotool imagemagick
bin=$(cd "${CANTORIX_BUILD:-build}/bin" && pwd)
out=$(pwd)/docs
mkdir -p "$out"
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
export bin out work
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$work/run CANTORIX_HOME=$work/home
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
mkdir -p "$CANTORIX_HOME"

"$bin/winamp-sim" --headless --speed 4 "$bin/demo/demo.m3u" &
sleep 1
# The playlist names its songs "~/Lyrics/...", as a user's would, rather than temporary
# paths: the player runs in the work folder, which holds a folder named "~".
cd "$work"
mkdir -p "$work/~/Lyrics"
for i in 1 2 3; do
    f=$bin/demo/demo.cx3
    [ "$i" = 1 ] || f=$bin/demo/demo$i.cx3
    cp "$f" "$work/~/Lyrics/"
    title=$(head -n 1 "$f" | tr -d '\r')
    printf '"~/Lyrics/%s",%d,%s\r\n' "$(basename "$f")" "$i" "$title"
done > "$work/demo.cxp"

settings() {  # compact, list view
    printf '8438015,16711680,49152\r\n1200,900\r\n0,"on top"\r\n%d,"compact"\r\n0,"stop fade"\r\n%d,"list view"\r\n0,"list save"\r\n1,"randomize list"\r\n1,"repeat list"\r\n""\r\n""\r\n' "$1" "$2" \
        > "$CANTORIX_HOME/cantorix.ini"
}

settings 0 1
"$bin/cantorix" --play --snapshot "$out/player-full.png" "$work/demo.cxp"
"$bin/winamp-sim" post 273 40047 0
settings 1 0
"$bin/cantorix" --play --snapshot "$out/player-compact.png" "$bin/demo/demo.cx3"
"$bin/winamp-sim" send 273 40047 0 >/dev/null
"$bin/winamp-sim" send 1024 0 121 >/dev/null
settings 0 0
printf '[Player]\r\nKaraoke=true\r\n' > "$CANTORIX_HOME/cantorix.conf"
"$bin/cantorix" --play --snapshot "$out/player-karaoke.png" "$bin/demo/demo.cx3"
rm "$CANTORIX_HOME/cantorix.conf"
"$bin/winamp-sim" send 273 40047 0 >/dev/null
"$bin/winamp-sim" send 1024 0 121 >/dev/null
xvfb-run -a -s "-screen 0 1024x768x24" bash "$root/scripts/screenshots.sh" encoder-capture
"$bin/winamp-sim" post 273 40001 0
echo "Pictures in $out"
