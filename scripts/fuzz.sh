#!/usr/bin/env bash
# Builds a libFuzzer target for every reader (fuzz/) with clang, AddressSanitizer and UBSan,
# then runs each for SECONDS (default 60), seeded from tests/data, the demo files and the
# corpus kept in fuzz/corpus. Prints each target's executions; fails on any crash, leak,
# timeout or out-of-memory, leaving the input that did it in build-fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

bash scripts/install-packages.sh clang libclang-rt-14-dev cmake ninja-build qt6-base-dev libgl-dev

build_dir=${CANTORIX_FUZZ_BUILD:-build-fuzz}
sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
    -DCANTORIX_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_CXX_FLAGS="$sanitizers -fsanitize=fuzzer-no-link" >/dev/null

# target and its seed folders
targets=(
    "fuzz_fields tests/data"
    "fuzz_lyrics tests/data/lyrics resources/demo"
    "fuzz_lrc"
    "fuzz_playlist tests/data/playlist"
    "fuzz_settings"
    "fuzz_m3u resources/demo"
    "fuzz_wire"
    "fuzz_source resources/demo"
)
names=()
for t in "${targets[@]}"; do names+=("${t%% *}"); done
cmake --build "$build_dir" -j 2 --target "${names[@]}"

findings="$build_dir/findings"
mkdir -p "$findings"
failed=()
for t in "${targets[@]}"; do
    read -r name seeds <<<"$t"
    work="$build_dir/corpus/$name"  # what this run finds; the kept corpus stays as it is
    mkdir -p "$work" "fuzz/corpus/$name"
    log="$build_dir/$name.log"
    # shellcheck disable=SC2086
    if ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        "$build_dir/bin/$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$findings/$name-" \
        "$work" "fuzz/corpus/$name" $seeds >"$log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
        printf '%-14s %12s executions in %s s\n' "$name" "${runs:-?}" "$seconds"
    else
        printf '%-14s FAILED (see %s)\n' "$name" "$log"
        grep -E "ERROR|SUMMARY|artifact" "$log" | head -n 5 || true
        failed+=("$name")
    fi
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "Fuzzing failed: ${failed[*]}"
    exit 1
fi
