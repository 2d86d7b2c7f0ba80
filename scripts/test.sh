#!/usr/bin/env bash
# Sets everything up, builds from scratch when needed and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
build_dir=${CANTORIX_BUILD:-build}
ctest --test-dir "$build_dir" --output-on-failure -j 2
