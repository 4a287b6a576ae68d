#!/usr/bin/env bash
# Builds the console and starts it on the demonstration desktop, then reads commands from the terminal.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)" --target nimbrel-sim
exec build/default/tools/nimbrel-sim/nimbrel-sim tools/demo/desktop.sim -
