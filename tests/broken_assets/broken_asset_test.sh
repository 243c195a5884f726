#!/usr/bin/env bash
# The game over an archive with one asset missing or damaged: it opens its window, the menu
# (which reads "Dir.lst"), the manual (F1) and the way back work, Escape ends it with status 0,
# and exactly one line of its output names the asset, matching the expected diagnostic.
# Usage: broken_asset_test.sh GAME ARCHIVE MODE ENTRY SET|- EXPECTED
#   GAME      broken_archive_game; ARCHIVE the game's tt.zip; MODE and ENTRY for make_archive.py
#   SET       the card-set file to start with, "-" for the game's own choice
#   EXPECTED  an extended regular expression the one line must match
set -u
. "$(dirname "$0")/../e2e/window.sh"
game="$1" archive="$2" mode="$3" entry="$4" set="$5" expected="$6"
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
pid=0
trap '[ "$pid" -gt 0 ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT

fail() {
    echo "FAIL ($mode $entry): $*"
    echo "--- lines naming $entry"; grep -iF -- "$entry" "$work/out" 2>/dev/null
    echo "--- stderr"; cat "$work/err" 2>/dev/null
    exit 1
}

/usr/bin/python3 "$here/make_archive.py" "$archive" "$work/tt.zip" "$mode" "$entry" ||
    fail "cannot make the archive"
# The desktop's opener is a stand-in: the manual must not open a real viewer.
mkdir -p "$work/bin" "$work/tmp"
printf '#!/bin/sh\nexit 0\n' >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
export PATH="$work/bin:$PATH" TEMP="$work/tmp" SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"

if [ "$set" = - ]; then
    "$game" "$work/tt.zip" >"$work/out" 2>"$work/err" &
else
    "$game" "$work/tt.zip" "$set" >"$work/out" 2>"$work/err" &
fi
pid=$!
find_window || fail "no window appeared"

open_menu || fail "the drawer did not open the menu"
press F1
press_to_close Escape Escape || fail "Escape did not close the menu"
kill -0 "$pid" 2>/dev/null || fail "the game ended in the menu"
# Escape in the game ends it; the menu is not opened again, so each asset is read as often as
# in a short game.
press Escape
wait_end || fail "Escape did not end the game"
wait "$pid"
status=$?
pid=0
[ "$status" -eq 0 ] || fail "the game ended with status $status"

# The trace lines of the set reader name every file it looks into; they are not diagnostics.
grep -iF -- "$entry" "$work/out" | grep -v -e '^Akt INI suche: ' -e '^Datei=' >"$work/named"
count=$(wc -l <"$work/named")
[ "$count" -eq 1 ] || fail "$count lines name the asset, expected one"
grep -qE -- "$expected" "$work/named" || fail "the line does not match: $expected"
echo "broken asset ($mode $entry): passed: $(cat "$work/named")"
