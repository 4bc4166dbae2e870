#!/usr/bin/env bash
# The real program in a real X server: it starts, a two-person game is started from the menu,
# the first message box is answered, a press on a piece changes the board, Esc ends it with 0.
set -euo pipefail
game=$1
here=$(dirname "$0")
source "$here/../support/session.sh"
start_xvfb

export SDL_AUDIODRIVER=dummy
workdir=$(mktemp -d)
cd "$workdir"
"$game" &
APP_PID=$!

window=$(wait_window '^Quolvet$')
xdotool windowmove --sync "$window" 0 0
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$window")"  # X Y WIDTH HEIGHT
# The drawing starts below the menu bar: the first row of the striped background.
top=$(drawing_top "$X" "$Y")
[[ -n "$top" ]] || { echo "could not find the drawing area" >&2; exit 1; }
view_y=$((Y + top))

# 対局 › 対局(人間) › スタート, by pointer as a player would.
xdotool mousemove $((X + 16)) $((Y + top / 2)) click 1
sleep 0.5
xdotool mousemove $((X + 40)) $((Y + top + 10))
sleep 0.6
xdotool mousemove $((X + 170)) $((Y + top + 10))
sleep 0.3
xdotool click 1

box=$(wait_window '^ $')
key_to "$box" Return
sleep 0.5

# Square (5, 5): on a full board every kind there picks something up.
board="$((33 * 9 + 1)) $((41 * 9 + 1)) $((X + 80)) $((view_y + 48))"
before=$(region_sum $board)
xdotool mousemove $((X + 80 + 33 * 4 + 16)) $((view_y + 48 + 41 * 4 + 20)) click 1
sleep 1.5
after=$(region_sum $board)
[[ "$before" != "$after" ]] || { echo "the board did not change after a press on a piece" >&2; exit 1; }

key_to "$window" Escape
status=0
wait "$APP_PID" || status=$?
APP_PID=
[[ $status -eq 0 ]] || { echo "quolvet ended with status $status" >&2; exit 1; }
echo "end-to-end: passed"
