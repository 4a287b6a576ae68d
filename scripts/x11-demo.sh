#!/usr/bin/env bash
# Builds Nimbrel and runs it on the X11 display of this session. Without one (or with
# NIMBREL_DEMO=virtual) it starts a private virtual display with a window manager and a few
# windows, runs Nimbrel there, hides the focused window and brings it back through the default
# shortcut (Ctrl+Super+W: a tap hides, a hold brings back), and writes a screenshot after each
# step into build/x11-demo/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)" --target nimbrel nimbrel-x11-tool
bin=$PWD/build/default/tools

if [ "${NIMBREL_DEMO:-}" != virtual ] && [ -n "${DISPLAY:-}" ] && xprop -root >/dev/null 2>&1; then
    exec "$bin/nimbrel/nimbrel"
fi

out=$PWD/build/x11-demo
rm -rf "$out"
mkdir -p "$out"
export NIMBREL_DEMO_OUT=$out NIMBREL_DEMO_BIN=$bin
GEOMETRY=1280x800 tests/platform/x11/with-x-server.sh bash -c '
    set -euo pipefail
    # A home of its own: the demonstration never touches the settings of whoever runs it.
    export HOME=$NIMBREL_DEMO_OUT/home XDG_CONFIG_HOME=$NIMBREL_DEMO_OUT/home/.config \
           XDG_DATA_HOME=$NIMBREL_DEMO_OUT/home/.local/share XDG_RUNTIME_DIR=$NIMBREL_DEMO_OUT/run
    mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    pids=()
    trap "kill \${pids[*]} 2>/dev/null; wait 2>/dev/null" EXIT
    window() {
        "$NIMBREL_DEMO_BIN/nimbrel-x11-tool/nimbrel-x11-tool" window "$@" >/dev/null &
        pids+=($!)
    }
    window "Notes" --class notes,Notes --geometry 420x300+60+80
    window "Bank statement" --class bank,Bank --geometry 520x360+400+180
    window "Music" --class music,Music --geometry 380x260+820+420
    for _ in $(seq 100); do
        [ "$(xdotool search --name "Bank statement" 2>/dev/null | wc -l)" -ge 1 ] && break
        sleep 0.1
    done
    "$NIMBREL_DEMO_BIN/nimbrel/nimbrel" 2>"$NIMBREL_DEMO_OUT/nimbrel.log" &
    pids+=($!)
    sleep 2
    shot() { "$NIMBREL_DEMO_BIN/nimbrel-x11-tool/nimbrel-x11-tool" screenshot "$NIMBREL_DEMO_OUT/$1"; }
    xdotool search --name "Bank statement" windowactivate --sync
    sleep 0.5
    shot 1-before.png
    xdotool key ctrl+super+w
    sleep 1
    shot 2-hidden.png
    xdotool keydown ctrl+super+w
    sleep 1.5
    xdotool keyup ctrl+super+w
    sleep 1
    shot 3-revealed.png
'
echo "screenshots: $out/1-before.png, $out/2-hidden.png, $out/3-revealed.png (log: $out/nimbrel.log)"
