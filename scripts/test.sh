#!/usr/bin/env bash
# Checks the formatting, then builds and runs every test twice: a plain GCC build, then a Clang
# build under the address and undefined-behaviour sanitizers. Exits non-zero on the first failure.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/check-format.sh
jobs=$(nproc)
for preset in default asan; do
    echo "=== ${preset} ==="
    cmake --preset "$preset"
    cmake --build --preset "$preset" -j "$jobs"
    ctest --preset "$preset" -j "$jobs"
done
