#!/usr/bin/env bash
# Fuzzes the decoders of stored data for longer than the test command does.
#   scripts/fuzz.sh [NAME] [SECONDS]
# NAME is one of settings-document, password-record, resume-record, key-combo, or all (the
# default); each harness runs SECONDS (default 300) under the address and undefined-behaviour
# sanitizers. New inputs go to build/asan/tests/fuzz/found/NAME, and so does an input that
# breaks a decoder (crash-*, leak-*, timeout-*), which the harness reruns when given as its
# argument: build/asan/tests/fuzz/fuzz-NAME FILE.
set -euo pipefail
cd "$(dirname "$0")/.."
names=(settings-document password-record resume-record key-combo)
name=${1:-all}
seconds=${2:-300}
if [ "$name" != all ]; then
    if [[ ! " ${names[*]} " == *" $name "* ]]; then
        echo "unknown harness: $name (one of: ${names[*]}, all)" >&2
        exit 2
    fi
    names=("$name")
fi
scripts/deps.sh
cmake --preset asan >/dev/null
targets=()
for n in "${names[@]}"; do
    targets+=(--target "fuzz-$n")
done
cmake --build --preset asan -j "$(nproc)" "${targets[@]}"
for n in "${names[@]}"; do
    found=build/asan/tests/fuzz/found/$n
    mkdir -p "$found"
    echo "=== $n: ${seconds}s ==="
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        "build/asan/tests/fuzz/fuzz-$n" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$found/" "$found" "tests/fuzz/corpus/$n"
done
