#!/usr/bin/env bash
# Runs a command on a private virtual X server with a real window manager, then stops both.
# WM picks the window manager (jwm, which lets windows leave the screen, by default); GEOMETRY the
# root window's size. The command's exit status is this script's.
set -uo pipefail
wm=${WM:-jwm}
geometry=${GEOMETRY:-1280x800}
work=$(mktemp -d)
cleanup() {
    [ -n "${wm_pid:-}" ] && kill "$wm_pid" 2>/dev/null
    [ -n "${x_pid:-}" ] && kill "$x_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 "${geometry}x24" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
x_pid=$!
for _ in $(seq 600); do
    [ -s "$work/display" ] && break
    sleep 0.05
done
if [ ! -s "$work/display" ]; then
    echo "with-x-server: Xvfb did not start" >&2
    cat "$work/xvfb.log" >&2
    exit 1
fi
export DISPLAY=":$(head -n1 "$work/display")"

# No root menu for jwm: it would grab the pointer on clicks on the root window.
cat >"$work/jwmrc" <<'JWM'
<JWM><Tray x="0" y="-1" height="24"><Dock/></Tray><FocusModel>click</FocusModel><Desktops width="1" height="1"/></JWM>
JWM
start_wm() {
    case "$wm" in
        jwm) jwm -f "$work/jwmrc" 2>>"$work/wm.log" & ;;
        *) "$wm" 2>>"$work/wm.log" & ;;
    esac
    wm_pid=$!
}
# The check window comes early in a manager's start; the work area only once it manages windows.
wm_ready() {
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" &&
        xprop -root _NET_WORKAREA 2>/dev/null | grep -q "="
}
# A loaded machine (a parallel build) can take many seconds to start a manager, and a server that
# has only just begun to listen may turn the first connection away: a manager that gave up is
# started again.
start_wm
for _ in $(seq 600); do
    wm_ready && break
    if ! kill -0 "$wm_pid" 2>/dev/null; then
        start_wm
    fi
    sleep 0.05
done
if ! wm_ready; then
    echo "with-x-server: $wm did not start on $DISPLAY" >&2
    cat "$work/wm.log" >&2
    xprop -root >&2
    exit 1
fi
# A manager that has set its properties may still be starting (openbox under a loaded machine
# took seconds): a first window it manages says it is ready. The tests then start with none.
clients() { xprop -root _NET_CLIENT_LIST 2>/dev/null | grep -o "0x[0-9a-f]*" | wc -l; }
xmessage -name with-x-server-probe "probe" >/dev/null 2>&1 &
probe_pid=$!
for _ in $(seq 600); do
    [ "$(clients)" -gt 0 ] && break
    sleep 0.05
done
kill "$probe_pid" 2>/dev/null
wait "$probe_pid" 2>/dev/null
for _ in $(seq 200); do
    [ "$(clients)" -eq 0 ] && break
    sleep 0.05
done

"$@"
status=$?
if [ "$status" -ne 0 ]; then
    echo "with-x-server: $wm said:" >&2
    cat "$work/wm.log" >&2
fi
exit "$status"
