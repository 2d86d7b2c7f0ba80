#!/usr/bin/env bash
# Installs the build into an empty folder and checks it as a desktop would see it: every
# desktop entry valid and naming an installed program and icon of every size, the MIME
# package valid and mapping the names the player's entry opens, and the installed player
# finding its resources (it starts without a box and shows what the build tree shows).
# Usage: check_install.sh BUILD_DIR [CMAKE]
set -euo pipefail
build=$1
cmake=${2:-cmake}
work=$(mktemp -d "${TMPDIR:-/tmp}/cxi-XXXXXX")
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
fail() { echo "FAIL: $*" >&2; exit 1; }

"$cmake" --install "$build" --prefix "$prefix" >/dev/null
share=$prefix/share

entries=("$share"/applications/*.desktop)
[ -e "${entries[0]}" ] || fail "no desktop entries installed"
for entry in "${entries[@]}"; do
    desktop-file-validate "$entry" || fail "$entry does not validate"
    exe=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
    [ -x "$prefix/bin/$exe" ] || fail "$entry starts $exe, which is not installed"
    icon=$(sed -n 's/^Icon=//p' "$entry")
    [ -f "$share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no scalable icon $icon"
    for size in 16 22 24 32 48 64 128 256; do
        png=$share/icons/hicolor/${size}x${size}/apps/$icon.png
        file "$png" | grep -q "PNG image data, $size x $size," || fail "$png is not a $size px PNG"
    done
done

package=$share/mime/packages/cantorix.xml
xmllint --noout "$package" || fail "$package is not well-formed"
cp -r "$share/mime" "$work/mime"
XDG_DATA_DIRS=$work update-mime-database "$work/mime" 2>"$work/mime.log" || fail "update-mime-database: $(cat "$work/mime.log")"
[ ! -s "$work/mime.log" ] || fail "update-mime-database: $(cat "$work/mime.log")"
for glob in application/x-cantorix-lyrics:*.cx3 application/x-cantorix-lyrics:*.cx2 \
    application/x-cantorix-playlist:*.cxp text/x-lrc:*.lrc; do
    grep -qF ":$glob" "$work/mime/globs2" || fail "the MIME package does not map $glob"
done
opened=$(sed -n 's/^MimeType=//p' "$share/applications/cantorix.desktop" | tr ';' '\n')
for type in $opened; do
    grep -q ":$type:" "$work/mime/globs2" || fail "the player opens $type, which no package names"
done

# The same song, once from the prefix and once from the build tree, where the resources
# lie beside the program, each with its own simulated Winamp. A box (skins not found) ends
# a program with CANTORIX_NO_MODAL.
snapshot() {
    local name=$1 bin=$2 song=$3
    export XDG_RUNTIME_DIR=$work/$name/run CANTORIX_HOME=$work/$name/home CANTORIX_NO_MODAL=1 \
        QT_QPA_PLATFORM=offscreen
    mkdir -p "$XDG_RUNTIME_DIR" "$CANTORIX_HOME"
    chmod 700 "$XDG_RUNTIME_DIR"
    "$bin/winamp-sim" --headless --tracks 1 --length 60 >"$work/$name-sim.log" 2>&1 &
    local sim=$! tries=0
    until "$bin/winamp-sim" send 1024 0 104 >/dev/null 2>&1; do
        ((++tries < 100)) || { kill "$sim"; return 1; }
        sleep 0.1
    done
    local rc=0
    "$bin/cantorix" --snapshot "$work/$name.png" "$song" >"$work/$name.log" 2>&1 || rc=$?
    kill "$sim"
    wait "$sim" || true
    return $rc
}
snapshot installed "$prefix/bin" "$share/cantorix/demo/demo.cx3" & installed=$!
snapshot built "$build/bin" "$build/bin/demo/demo.cx3" & built=$!
wait $installed || fail "the installed player: $(cat "$work"/installed*.log)"
wait $built || fail "the player in the build tree: $(cat "$work"/built*.log)"
cmp -s "$work/installed.png" "$work/built.png" || fail "the installed player looks different"
[ -f "$share/cantorix/ReadMe.HTM" ] || fail "no ReadMe.HTM"
echo "install check passed"
