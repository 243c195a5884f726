#!/usr/bin/env bash
# Plays the game under a virtual display and takes the pictures for the manuals, for each
# language: start.png (the start position), lifted.png (a lifted card with its notes), menu.png,
# cards.png, behaviour.png, about.png and opponent.png (menu pages), computer.png (the computer's
# turn).
# Usage: screenshots.sh GAME OUTDIR
set -euo pipefail

game="$(realpath "$1")"
out="$2"

if [ -z "${TONVELLA_SHOTS_DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" env TONVELLA_SHOTS_DISPLAY=1 bash "$0" "$@"
fi

work="$(mktemp -d)"
pid=0
trap '[ "$pid" -gt 0 ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT

# F1 must not start a PDF viewer here, and the game must not reach a sound card.
mkdir -p "$work/bin"
printf '#!/bin/sh\nexit 0\n' >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
export PATH="$work/bin:$PATH" TEMP="$work" SDL_AUDIODRIVER=dummy
# The pictures show the built-in sets only, not the teachers' sets of this machine.
export XDG_DATA_HOME="$work/no-sets" XDG_DATA_DIRS="$work/no-sets"

# Window pixels of what the script presses: the settings drawer, and card 6 (second row, third
# column).
drawer=(900 150)
card=(550 525)
rest=(512 740)

click() { # x y [seconds held]
    xdotool mousemove --window "$win" "$1" "$2"
    sleep 0.2
    xdotool mousedown 1
    sleep "${3:-0.3}"
    xdotool mouseup 1
}

key() {
    xdotool windowfocus --sync "$win" 2>/dev/null || xdotool windowfocus "$win"
    xdotool key --delay 80 "$@"
    sleep 0.8
}

shot() {
    import -window "$win" "png:$dir/$1"
    echo "  $dir/$1"
}

open_menu() {
    click "${drawer[@]}"
    sleep 1.2
}

languages=(Deutsch English Czech)
for index in 0 1 2; do
    language="${languages[$index]}"
    dir="$out/$language"
    mkdir -p "$dir"
    echo "$language:"
    "$game" >"$work/out" 2>"$work/err" &
    pid=$!
    win=$(timeout 30 xdotool search --sync --onlyvisible --pid "$pid" 2>/dev/null | head -n 1)
    [ -n "$win" ] || { cat "$work/err"; echo "screenshots: no window" >&2; exit 1; }
    sleep 2
    if [ "$index" -gt 0 ]; then
        open_menu
        for _ in $(seq 1 "$index"); do key F7; done
        # A new game asks its question in the new language. Escape leaves the restart page,
        # and the menu closes when that page's 3 s are over: a second Escape could come after
        # that on a busy machine (the new game loads its sounds first) and end the game.
        key F3
        key Escape
        sleep 3.5
        kill -0 "$pid" 2>/dev/null || { echo "screenshots: the game ended in the menu" >&2; exit 1; }
    fi
    xdotool mousemove --window "$win" "${rest[@]}"
    sleep 1.5
    shot start.png

    # Hold a card long enough for it to rock and for its notes to rise, take the picture while
    # it is still held.
    xdotool mousemove --window "$win" "${card[@]}"
    sleep 0.3
    xdotool mousedown 1
    sleep 1.4
    shot lifted.png
    xdotool mouseup 1
    xdotool mousemove --window "$win" "${rest[@]}"
    sleep 1

    open_menu
    shot menu.png
    key F6
    shot cards.png
    # Twice, so that the page shows the behaviour a game starts with.
    key F2
    key F2
    shot behaviour.png
    key F5
    shot about.png
    # The computer as player 2, in a new game: its page, then its turn after a miss, taken
    # while its pointer holds its first card.
    key F8
    shot opponent.png
    key Escape
    sleep 3.5
    for first in 0 2 4 6 8 10 12 14; do
        grep -q "^Computer: " "$work/out" && break
        click $(((3 * (first % 4) + 5) * 50)) $(((18 - 3 * (first / 4)) * 35))
        sleep 0.6
        second=$((first + 1))
        click $(((3 * (second % 4) + 5) * 50)) $(((18 - 3 * (second / 4)) * 35))
        xdotool mousemove --window "$win" "${rest[@]}"
        for _ in $(seq 1 40); do grep -q "^Computer: " "$work/out" && break; sleep 0.1; done
    done
    grep -q "^Computer: " "$work/out" || { echo "screenshots: the computer never played" >&2; exit 1; }
    sleep 1.3
    shot computer.png
    sleep 4
    open_menu
    key F4
    for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    pid=0
done
