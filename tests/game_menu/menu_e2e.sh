#!/usr/bin/env bash
# The menu of the real game under the test display: the drawer opens it, F1 opens the manual of
# each language through the desktop's opener (a stand-in that records the address), Escape goes
# back to the game without ending it, F4 ends the program.
# Usage: menu_e2e.sh GAME ASSETS_DIR
set -u
. "$(dirname "$0")/../e2e/window.sh"
game="$1"
assets="$2"
work="$(mktemp -d)"
pid=0
trap '[ "$pid" -gt 0 ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*"
    echo "--- opener log"; cat "$work/opened.log" 2>/dev/null
    echo "--- stdout (last lines)"; tail -n 20 "$work/out" 2>/dev/null
    echo "--- stderr"; cat "$work/err" 2>/dev/null
    exit 1
}

mkdir -p "$work/bin" "$work/tmp"
printf '#!/bin/sh\nprintf "%%s\\n" "$1" >>"%s/opened.log"\n' "$work" >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
export PATH="$work/bin:$PATH" TEMP="$work/tmp" SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"

"$game" >"$work/out" 2>"$work/err" &
pid=$!
find_window || fail "no window appeared"

wait_lines() {
    local i
    for i in $(seq 1 600); do
        [ "$(wc -l <"$work/opened.log" 2>/dev/null || echo 0)" -ge "$1" ] && return 0
        sleep 0.1
    done
    fail "the opener was not called $1 times"
}

open_menu || fail "the drawer did not open the menu"
name="$(basename "$game")"
line=0
for language in Deutsch English Czech; do
    if [ "$language" != Deutsch ]; then
        press_and_see "$MENU_PAGE" F7 || fail "F7 did not change the menu's language"
    fi
    press F1
    line=$((line + 1))
    wait_lines "$line"
    copy="$work/tmp/$name $language.PDF"
    cmp -s "$copy" "$assets/$language.pdf" || fail "$copy is not a copy of $language.pdf"
    address="$(sed -n "${line}p" "$work/opened.log")"
    expected="file://$(printf '%s' "$copy" | sed 's/ /%20/g')"
    [ "$address" = "$expected" ] || fail "opened $address, expected $expected"
done

# The first Escape leaves the manual page, the second closes the book.
press_to_close Escape Escape || fail "Escape did not close the menu"
kill -0 "$pid" 2>/dev/null || fail "Escape in the menu ended the game"

open_menu || fail "the drawer did not open the menu again"
press F4
wait_end || fail "F4 did not end the game"
wait "$pid"
status=$?
pid=0
[ "$status" -eq 0 ] || fail "F4 ended the game with status $status"
echo "menu e2e: passed"
