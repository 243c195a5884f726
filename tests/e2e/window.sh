# Window helpers shared by the shell tests that drive the real game: find its window, open the
# settings menu through the drawer, press keys, wait for what the window shows. Expects $pid (the
# game), $work (a scratch folder) and $TONVELLA_XSHOT (the screenshot tool); sets $win.

screen() {
    /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/screen.py" "$win" "$@"
}

# Waits for the game's window and its first picture; 1 when none appears.
find_window() {
    win=$(timeout 60 xdotool search --sync --onlyvisible --pid "$pid" 2>/dev/null | head -n 1)
    [ -n "$win" ] && screen first
}

# The open book's left page, where the menu lists its keys.
MENU_PAGE="170 170 330 300"

# A click on the settings drawer (top right of the window) slides it out and opens the menu;
# returns once the book is on the screen, when the menu reads keys.
open_menu() {
    # The pointer waits over the drawer first, so that the click itself changes nothing but
    # the menu's page; without its picture (a damaged archive) the menu is only its text.
    xdotool mousemove --window "$win" 900 150
    screen still >/dev/null || return 1
    screen save "$work/before-menu.png" $MENU_PAGE
    xdotool click 1
    # Once the page is drawn the menu reads keys.
    screen changed "$work/before-menu.png" $MENU_PAGE >/dev/null
}

# Keys for the open menu, then waits until the region X Y W H shows their effect.
press_and_see() {
    local rect="$1"
    shift
    screen save "$work/before-key.png" $rect
    press "$@"
    screen changed "$work/before-key.png" $rect >/dev/null
}

# Keys that close the menu, then waits until its page has gone.
press_to_close() {
    screen save "$work/before-key.png" $MENU_PAGE
    press "$@"
    screen changed "$work/before-key.png" $MENU_PAGE >/dev/null
}

press() {
    xdotool windowfocus --sync "$win" 2>/dev/null || xdotool windowfocus "$win"
    xdotool key --delay 80 "$@"
}

# Waits up to a minute for the game to end.
wait_end() {
    local i
    for i in $(seq 1 600); do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.1
    done
    return 1
}
