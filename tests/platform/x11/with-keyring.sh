#!/usr/bin/env bash
# Runs a command in a private session bus where gnome-keyring's Secret Service runs with a fresh
# login keyring, created and unlocked, in a folder of its own; the bus, the daemon and the folder
# end with the command. The command reaches the bus through DBUS_SESSION_BUS_ADDRESS alone, as
# the program does in a desktop session. Its exit status is this script's.
set -uo pipefail
if [ -z "${WITH_KEYRING_BUS:-}" ]; then
    export WITH_KEYRING_BUS=starting
    exec dbus-run-session -- "$0" "$@"
fi
# Tells a test that the bus is this private one, never a desktop's with the user's own keyring.
export WITH_KEYRING_BUS=private
work=$(mktemp -d)
cleanup() {
    [ -n "${daemon_pid:-}" ] && kill "$daemon_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -m 700 "$work/data" "$work/run"

# Only the daemon keeps its keyrings and sockets here; the command's own folders are its business.
printf 'keyring-password' |
    env XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/run" \
        gnome-keyring-daemon --daemonize --unlock --components=secrets >"$work/daemon.env" \
        2>"$work/daemon.log"
daemon_pid=$(sed -n 's/^GNOME_KEYRING_PID=//p' "$work/daemon.env")
has_service() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.freedesktop.secrets 2>/dev/null |
        grep -q "boolean true"
}
for _ in $(seq 600); do
    has_service && break
    sleep 0.05
done
if ! has_service; then
    echo "with-keyring: gnome-keyring did not take the secret service's name" >&2
    cat "$work/daemon.log" >&2
    exit 1
fi

"$@"
status=$?
if [ "$status" -ne 0 ]; then
    echo "with-keyring: gnome-keyring said:" >&2
    cat "$work/daemon.log" >&2
fi
exit "$status"
