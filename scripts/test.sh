#!/usr/bin/env bash
# Builds and runs every test twice: a plain GCC build, then a Clang build under the address and
# undefined-behaviour sanitizers. Exits non-zero on the first failure.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
jobs=$(nproc)
for preset in default asan; do
    echo "=== ${preset} ==="
    cmake --preset "$preset"
    cmake --build --preset "$preset" -j "$jobs"
    ctest --preset "$preset" -j "$jobs"
done
