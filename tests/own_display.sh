#!/usr/bin/env bash
# Runs a command on an X server of its own (1280 x 1024, 24 bits). The server picks a free
# display number itself as it starts (-displayfd), so tests of several builds or checkouts can
# run side by side without taking each other's servers.
#     tests/own_display.sh COMMAND [ARGS...]
set -u
work="$(mktemp -d)"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/log" &
server=$!
stop_server() {
    kill "$server" 2>/dev/null
    wait "$server" 2>/dev/null
    rm -rf "$work"
}
trap stop_server EXIT
trap 'exit 130' INT TERM
# The number comes once the server accepts connections; a busy machine may take a while.
for _ in $(seq 600); do
    grep -q . "$work/display" 2>/dev/null && break
    kill -0 "$server" 2>/dev/null || break
    sleep 0.1
done
if ! grep -q . "$work/display" 2>/dev/null; then
    echo "the X server did not start:" >&2
    cat "$work/log" >&2
    exit 1
fi
export DISPLAY=":$(head -n 1 "$work/display")"
"$@"
