# Helpers for the end-to-end tests: start the game under the test display, find its window,
# wait for it to end.

set -u
GAME="$1"
XCLOSE="$2"
export TONVELLA_XSHOT="$3"
WORK="$(mktemp -d)"
game_pid=0
trap '[ "$game_pid" -gt 0 ] && kill "$game_pid" 2>/dev/null; rm -rf "$WORK"' EXIT

fail() {
    echo "FAIL: $*"
    echo "--- stdout"; cat "$WORK/out" 2>/dev/null
    echo "--- stderr"; cat "$WORK/err" 2>/dev/null
    exit 1
}

start_game() {
    "$GAME" >"$WORK/out" 2>"$WORK/err" &
    game_pid=$!
    window=$(timeout 60 xdotool search --sync --onlyvisible --pid "$game_pid" 2>/dev/null | head -n 1)
    [ -n "$window" ] || fail "no window appeared"
    # The first picture comes as the game enters its loop.
    /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/screen.py" "$window" first ||
        fail "the game never showed its first picture"
}

# Waits up to a minute for the game to end; sets status to its exit status.
wait_game() {
    local i
    for i in $(seq 1 600); do
        kill -0 "$game_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$game_pid" 2>/dev/null && fail "the game did not end"
    wait "$game_pid"
    status=$?
    game_pid=0
}

press_key() {
    xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
    xdotool key --delay 50 "$@"
}
