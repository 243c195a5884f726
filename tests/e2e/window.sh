# Window helpers shared by the shell tests that drive the real game: find its window, open the
# settings menu through the drawer, press keys. Expects $pid (the game) and sets $win.

# Waits for the game's window; 1 when none appears.
find_window() {
    win=$(timeout 30 xdotool search --sync --onlyvisible --pid "$pid" 2>/dev/null | head -n 1)
    [ -n "$win" ]
}

# A press on the settings drawer (top right of the window) slides it out and opens the menu.
open_menu() {
    xdotool mousemove --window "$win" 900 150
    sleep 0.2
    xdotool mousedown 1
    sleep 0.3
    xdotool mouseup 1
    sleep 1
}

press() {
    xdotool windowfocus --sync "$win" 2>/dev/null || xdotool windowfocus "$win"
    xdotool key --delay 80 "$@"
    sleep 0.5
}
