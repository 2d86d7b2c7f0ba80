#!/usr/bin/env bash
# Installs the build into an empty folder and checks it as a desktop would see it: every
# desktop entry valid and naming an installed program and icon of every size, the MIME
# package valid and mapping the names the player's entry opens, the software centres'
# descriptions valid, every program answering --help and --version without a display, and
# the installed player finding its resources (it starts without a box and shows what the
# build tree shows). Then makes the Debian package and has lintian check it.
# Usage: check_install.sh BUILD_DIR [CMAKE [CPACK]]
set -euo pipefail
build=$1
cmake=${2:-cmake}
cpack=${3:-cpack}
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

appstreamcli validate-tree --no-net "$prefix" >"$work/appstream.log" 2>&1 ||
    fail "appstreamcli: $(cat "$work/appstream.log")"

# Help and version on standard output without a display, an unknown option refused with the
# usage on standard error; the manual page made from that help.
run() {  # PROGRAM ARGUMENT...: its output in out and err, its exit code in rc
    rc=0
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/$1" "${@:2}" \
        >"$work/out" 2>"$work/err" || rc=$?
}
for program in cantorix cantorix-encoder winamp-sim winamp-bridge; do
    run "$program" --help
    [ $rc = 0 ] && [ ! -s "$work/err" ] || fail "$program --help: exit $rc, $(cat "$work/err")"
    head -n 1 "$work/out" | grep -q "^Usage: $program " || fail "$program --help: no usage first"
    grep -q '^Examples:$' "$work/out" || fail "$program --help gives no example"
    awk 'length > 79 { exit 1 }' "$work/out" || fail "$program --help is wider than 79 columns"
    run "$program" --version
    [ $rc = 0 ] && [ ! -s "$work/err" ] || fail "$program --version: exit $rc, $(cat "$work/err")"
    head -n 1 "$work/out" | grep -qE "^$program [0-9]+\.[0-9]+\.[0-9]+$" ||
        fail "$program --version: $(head -n 1 "$work/out")"
    run "$program" --no-such-option
    [ $rc = 2 ] && [ ! -s "$work/out" ] && grep -q "^Usage: $program " "$work/err" ||
        fail "$program --no-such-option: exit $rc, $(cat "$work/out" "$work/err")"
    [ -f "$share/man/man1/$program.1.gz" ] || fail "no manual page for $program"
done

# One version for each program wherever it shows; the player's is the package's.
version() { run "$1" --version && sed -n '1s/^[^ ]* //p' "$work/out"; }
release() {
    sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$share/metainfo/$1.metainfo.xml" | head -n 1
}
player=$(version cantorix)
[ "$(release org.example.cantorix)" = "$player" ] || fail "the player's description is not of $player"
[ "$(release org.example.cantorix.encoder)" = "$(version cantorix-encoder)" ] ||
    fail "the encoder's description is not of its version"
zcat "$share/doc/cantorix/changelog.gz" | head -n 1 | grep -qF "cantorix ($player)" ||
    fail "the changelog's latest entry is not of $player"

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

# The Debian package as a distribution checks it. lintian unpacks what it checks and warns
# against doing so as root: under root it runs as nobody.
"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 ||
    fail "cpack: $(cat "$work/cpack.log")"
deb=$(echo "$work"/package/cantorix_*.deb)
[ "$(dpkg-deb -f "$deb" Version)" = "$player" ] || fail "the package is not version $player"
unprivileged=()
if [ "$(id -u)" = 0 ]; then
    chmod 755 "$work" "$work/package"
    chmod 644 "$deb"
    unprivileged=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
"${unprivileged[@]}" lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 &&
    [ ! -s "$work/lintian.log" ] || fail "lintian: $(cat "$work/lintian.log")"
echo "install check passed"
