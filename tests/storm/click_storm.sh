#!/usr/bin/env bash
# The real program under 500 random presses and menu commands in quick succession, also during
# the computer's pause and the pick-up animation. It must stay alive, every box it opens is
# answered, the board it shows at the end must be a lawful one, and Esc must end it with 0.
set -euo pipefail
game=$1 read_board=$2
here=$(dirname "$0")
source "$here/../support/session.sh"
start_xvfb

export SDL_AUDIODRIVER=dummy
workdir=$(mktemp -d)
cd "$workdir"
"$game" 2>"$workdir/stderr.txt" &
APP_PID=$!

window=$(wait_window '^Quolvet$')
xdotool windowmove --sync "$window" 0 0
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$window")"  # X Y WIDTH HEIGHT
root=$(xdotool search --maxdepth 0 --name '' 2>/dev/null | head -n 1)

alive() {
    kill -0 "$APP_PID" 2>/dev/null && return 0
    echo "quolvet died; its last words:" >&2
    tail -n 40 "$workdir/stderr.txt" >&2
    exit 1
}

# Visible windows of a kind: "DIALOG" for message boxes, "MENU" for open menus.
windows_of_type() {
    local w
    for w in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
        [[ "$w" == "$window" || "$w" == "$root" ]] && continue
        xprop -id "$w" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q "_NET_WM_WINDOW_TYPE_$1" && echo "$w"
    done
    return 0
}

boxes_answered=0
answer_boxes() {
    local box
    for box in $(windows_of_type DIALOG); do
        timeout 5 xdotool windowfocus "$box" key Return 2>/dev/null || true
        boxes_answered=$((boxes_answered + 1))
    done
}

pause() { sleep "0.0$(printf '%02d' $((RANDOM % 61)))"; }

click_at() { xdotool mousemove "$((X + $1))" "$((Y + $2))" click "$3"; }

# The menu bar lies along the top; a menu's items open 22 pixels apart below it and its
# submenus to the right of x = 131. 終わり (対局, third item) is never pressed.
menu_command() {
    case $((RANDOM % 9)) in
        0) click_at 21 9 1; sleep 0.1; xdotool mousemove $((X + 40)) $((Y + 30)); sleep 0.2; click_at 170 30 1 ;;  # スタート
        1) click_at 21 9 1; sleep 0.1; xdotool mousemove $((X + 40)) $((Y + 52)); sleep 0.2; click_at 170 52 1 ;;  # 先手
        2) click_at 21 9 1; sleep 0.1; xdotool mousemove $((X + 40)) $((Y + 52)); sleep 0.2
           xdotool mousemove $((X + 170)) $((Y + 52)); sleep 0.1; click_at 170 74 1 ;;                            # 後手
        3) click_at 60 9 1; sleep 0.1; click_at 75 30 1 ;;    # 局面 › 最初
        4|5) click_at 92 9 1 ;;                                # 戻
        6) click_at 117 9 1 ;;                                 # 進
        7) click_at 155 9 1; sleep 0.1; click_at 170 30 1 ;;  # ｵﾌﾟｼｮﾝ › BGM
        8) timeout 5 xdotool windowfocus "$window" key F1 2>/dev/null || true ;;
    esac
}

# Anywhere in the window and a little beyond, but never where the 対局 menu could hang open
# over 終わり, nor on the menu bar.
random_press() {
    local x y
    while :; do
        x=$((RANDOM % (WIDTH + 60) - 30)) y=$((RANDOM % (HEIGHT - 20 + 30) + 20))
        ((x < 140 && y < 95)) || break
    done
    ((x < 0)) && x=0
    click_at "$x" "$y" $((RANDOM % 3 == 0 ? 3 : 1))
}

# Presses on the board squares, where moves happen.
board_press() {
    click_at $((80 + 33 * (RANDOM % 9) + 5 + RANDOM % 25)) $((19 + 48 + 41 * (RANDOM % 9) + 5 + RANDOM % 33)) 1
}

RANDOM=20261206
for i in $(seq 500); do
    case $((RANDOM % 10)) in
        0|1) menu_command ;;
        2|3|4) random_press ;;
        *) board_press ;;
    esac
    pause
    alive
    answer_boxes
done

# Lets everything queued run out, answering what it opens and closing a menu left open.
settle() {
    local quiet=0
    for _ in $(seq 200); do
        alive
        if [[ -n "$(windows_of_type DIALOG)" ]]; then
            answer_boxes; quiet=0
        elif [[ -n "$(windows_of_type MENU)" ]]; then
            click_at 540 520 1; quiet=0
        else
            quiet=$((quiet + 1))
            ((quiet >= 6)) && return 0
        fi
        sleep 0.25
    done
    echo "boxes kept coming after the storm" >&2
    exit 1
}
settle

# The storm may well have ended on a fresh deal; a few quick moves of a new game give the
# board something to prove.
click_at 21 9 1; sleep 0.2; xdotool mousemove $((X + 40)) $((Y + 30)); sleep 0.4; click_at 170 30 1
for _ in $(seq 12); do
    sleep 0.3
    answer_boxes
    board_press
done
settle
echo "boxes answered: $boxes_answered"

# The drawing area begins below the menu bar: the first row of the striped background.
top=$(drawing_top "$X" "$Y")
[[ -n "$top" ]] || { echo "could not find the drawing area" >&2; exit 1; }
xwd -root -silent | /usr/bin/convert xwd:- "$workdir/final.png"
"$read_board" "$workdir/final.png" "$X" $((Y + top))

key_to "$window" Escape
status=0
wait "$APP_PID" || status=$?
APP_PID=
[[ $status -eq 0 ]] || { echo "quolvet ended with status $status" >&2; exit 1; }
rm -rf "$workdir"
echo "click storm: passed"
