#!/usr/bin/env bash
# Cross-compiles the Windows side of the Winamp link (the window messages' user32 branch
# and the link itself, plain Win32, no Qt) with MinGW-w64, with a Winamp stand-in that
# answers the message table, and runs the link's tests under Wine with no display.
# Ends with "N passed, M failed"; fails when any test fails.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-packages.sh mingw-w64 wine64 wine

out=${CANTORIX_BUILD:-build}/windows
mkdir -p "$out"
cxx=(x86_64-w64-mingw32-g++-posix -std=c++20 -O1 -Wall -Wextra -Wpedantic -Werror
     -DCANTORIX_NO_QT -I. -static)
"${cxx[@]}" -o "$out/tst_link_windows.exe" tests/windows/tst_link_windows.cpp \
    platform/Win32.cpp winamp/Link.cpp winamp/TrackTitle.cpp -luser32
"${cxx[@]}" -o "$out/WinampStandIn.exe" tests/windows/WinampStandIn.cpp platform/Win32.cpp -luser32

# A private Wine prefix without a graphics driver: windows exist, none is shown.
export WINEPREFIX=$(realpath "$out")/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot --init >/dev/null 2>&1 || true
    wineserver -w
fi
wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
# Let the prefix settle before the tests time anything.
wineserver -w
set +e
wine "$out/tst_link_windows.exe" | tr -d '\r' | tee "$out/result.txt"
set -e
wineserver -w
tail -n 1 "$out/result.txt" | grep -qE '^[0-9]+ passed, 0 failed$'
