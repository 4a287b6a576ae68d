#!/usr/bin/env bash
# Checks the formatting, then builds and runs every test twice: a plain GCC build, then a Clang
# build under the address and undefined-behaviour sanitizers. Last, the tests of the program's own
# thread (the PAM worker) again under the thread sanitizer; only those, as nothing else shares
# memory across threads. Exits non-zero on the first failure.
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
echo "=== tsan: the threaded tests ==="
cmake --preset tsan
cmake --build --preset tsan -j "$jobs" --target test_x11_pam
ctest --preset tsan -R '^test_x11_pam$'
