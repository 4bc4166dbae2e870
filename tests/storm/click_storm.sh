#!/usr/bin/env bash
# The real program under 500 random presses and menu commands in quick succession, also during
# the computer's pause and the pick-up animation. It must stay alive, every box it opens is
# answered, the board it shows at the end must be a lawful one, and Esc must end it with 0.
set -euo pipefail
game=$1 read_board=$2
source "$(dirname "$0")/../support/session.sh"
start_xvfb
cd "$SESSION_DIR"
SDL_AUDIODRIVER=dummy "$game" 2>stderr.txt &
APP_PID=$!
window=$(wait_window '^Quolvet$')
xdotool windowmove --sync "$window" 0 0
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$window")"  # X Y WIDTH HEIGHT

# The visible windows of a type: DIALOG for message boxes, MENU for open menus.
windows() {
    local w
    for w in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
        xprop -id "$w" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q "TYPE_$1" && echo "$w"
    done
    return 0
}

# Answers every message box; fails when the program has died.
answer_boxes() {
    kill -0 "$APP_PID" 2>/dev/null || { echo "quolvet died:" >&2; tail -n 40 stderr.txt >&2; exit 1; }
    local w
    for w in $(windows DIALOG); do
        timeout 5 xdotool windowfocus "$w" key Return 2>/dev/null || true
        answered=$((answered + 1))
    done
}
answered=0

# Clicks the first of the window's points "x,y ...", moves through the others and clicks the last.
via() {
    xdotool mousemove "$((X + ${1%,*}))" "$((Y + ${1#*,}))" click "${button:-1}"
    (($# > 1)) || return 0
    shift
    local point
    for point in "$@"; do sleep 0.15; xdotool mousemove "$((X + ${point%,*}))" "$((Y + ${point#*,}))"; done
    sleep 0.15
    xdotool click 1
}

# Items open 22 pixels apart below the bar, submenus right of x = 131; 終わり is never chosen.
menus=("21,9 40,30 170,30" "21,9 40,52 170,52" "21,9 40,52 170,52 170,74" "60,9 75,30" "92,9" "117,9" "155,9 170,30")
board() { echo "$((80 + 33 * (RANDOM % 9) + 5 + RANDOM % 25)),$((67 + 41 * (RANDOM % 9) + 5 + RANDOM % 33))"; }
anywhere() {  # in the window and a little beyond, never where the open 対局 menu could lie
    local x y
    while x=$((RANDOM % (WIDTH + 60) - 30)) y=$((RANDOM % (HEIGHT + 10) + 20)); ((x < 140 && y < 95)); do :; done
    echo "$((x < 0 ? 0 : x)),$y"
}

RANDOM=20261206
for _ in $(seq 500); do
    case $((RANDOM % 10)) in
        0) via ${menus[RANDOM % ${#menus[@]}]} ;;
        1) timeout 5 xdotool windowfocus "$window" key F1 2>/dev/null || true ;;
        2 | 3 | 4) button=$((RANDOM % 3 == 0 ? 3 : 1)) via "$(anywhere)" ;;
        *) via "$(board)" ;;
    esac
    sleep "0.0$((RANDOM % 6))"
    answer_boxes
done

# Lets everything queued run out, answering what comes and closing a menu left open; then a
# few quick moves of a new game, so that the board has something to prove.
settle() {
    local quiet=0 was
    for _ in $(seq 200); do
        was=$answered
        sleep 0.25
        answer_boxes
        [[ -z $(windows MENU) ]] || { xdotool mousemove $((X + 540)) $((Y + 520)) click 1; was=-1; }
        [[ $answered -eq $was ]] && quiet=$((quiet + 1)) || quiet=0
        ((quiet < 6)) || return 0
    done
    echo "boxes kept coming after the storm" >&2
    exit 1
}
settle
via ${menus[0]}
for _ in $(seq 12); do sleep 0.3; answer_boxes; via "$(board)"; done
settle
echo "boxes answered: $answered"

top=$(drawing_top "$X" "$Y")
xwd -root -silent | /usr/bin/convert xwd:- final.png
"$read_board" final.png "$X" $((Y + top))
key_to "$window" Escape
wait "$APP_PID" || { echo "quolvet ended with status $?" >&2; exit 1; }
APP_PID=
echo "click storm: passed"
