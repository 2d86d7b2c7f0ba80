#!/usr/bin/env bash
# Sets everything up, builds from scratch when needed and runs every test, and the Winamp
# link's Windows branch under Wine; then builds once more with the address and
# undefined-behaviour sanitizers, runs the tests again and fuzzes every reader briefly
# (CANTORIX_SANITIZE=0 skips that second round).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
build_dir=${CANTORIX_BUILD:-build}
ctest --test-dir "$build_dir" --output-on-failure -j 2
bash scripts/test-windows.sh

if [ "${CANTORIX_SANITIZE:-1}" != 0 ]; then
    sanitize_dir=${build_dir}-sanitize
    cmake -S . -B "$sanitize_dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCANTORIX_WERROR=ON \
        -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
    cmake --build "$sanitize_dir" -j "$(nproc)"
    # Qt's own allocations at exit are not ours to chase.
    ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
        ctest --test-dir "$sanitize_dir" --output-on-failure -j 2
    # Any crash, leak, timeout or out-of-memory of a reader fails the run.
    bash scripts/fuzz.sh 10
fi
