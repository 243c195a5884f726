#!/usr/bin/env bash
# The window, its title, and the two ways out: Escape and the close button.
. "$(dirname "$0")/lib.sh"

start_game
geometry=$(xwininfo -id "$window")
echo "$geometry" | grep -q "Width: 1024" || fail "window is not 1024 wide: $geometry"
echo "$geometry" | grep -q "Height: 768" || fail "window is not 768 high: $geometry"
title=$(xdotool getwindowname "$window")
case "$title" in
"Quorvane Music Education Software: tonvella (V$TONVELLA_VERSION)"*) ;;
*) fail "unexpected title: $title" ;;
esac
press_key Escape
wait_game
[ "$status" -eq 0 ] || fail "Escape ended the game with status $status"
grep -qx "hier" "$WORK/out" || fail "no 'hier' line"
grep -qx "vor REPEAT" "$WORK/out" || fail "no 'vor REPEAT' line"

first_draw=$(grep -E '\[Connect\] [0-9]+$' "$WORK/out")

start_game
"$XCLOSE" "$window"
wait_game
[ "$status" -eq 0 ] || fail "closing the window ended the game with status $status"
# Every start draws its own pairs: the random generator is seeded from the system clock.
second_draw=$(grep -E '\[Connect\] [0-9]+$' "$WORK/out")
[ -n "$first_draw" ] || fail "no pairs were drawn"
[ "$first_draw" != "$second_draw" ] || fail "two starts drew the same pairs"
echo "PASS"
