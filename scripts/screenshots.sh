#!/usr/bin/env bash
# Renews the README's pictures: the program under a private X server, a dealt board (also at
# twice the density), a game in progress and the end of a game with its winner box.
# Usage: scripts/screenshots.sh [build-dir]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
game=$(cd "${1:-$top/build}" && pwd)/quolvet
out=$top/docs
source "$top/tests/support/session.sh"
XVFB_SCREEN=1280x1200x24 start_xvfb  # room for the window at twice the density

export SDL_AUDIODRIVER=dummy
cd "$(mktemp -d)"

# The window after start-up on a screen of twice the density, as on most laptops sold today.
QT_SCALE_FACTOR=2 "$game" &
APP_PID=$!
window=$(wait_window '^Quolvet$')
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$window")"
xwd -root -silent | /usr/bin/convert xwd:- -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/window-2x.png"
key_to "$window" Escape
wait "$APP_PID" || true
"$game" &
APP_PID=$!
window=$(wait_window '^Quolvet$')
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$window")"
top_of_view=$(drawing_top "$X" "$Y")
view_y=$((Y + top_of_view))

# The screen as a player sees it: the root picture with every visible window of the game laid
# over it (the server's root picture leaves dialogs out).
shoot() {
    local scratch
    scratch=$(mktemp -d)
    xwd -root -silent | /usr/bin/convert xwd:- "$scratch/screen.png"
    for id in $(xdotool search --onlyvisible --class quolvet); do
        eval "$(xdotool getwindowgeometry --shell "$id" | sed 's/^/W_/')"
        [[ $W_WIDTH -gt 10 ]] || continue
        xwd -id "$id" -silent | /usr/bin/convert xwd:- "$scratch/w.png"
        /usr/bin/convert "$scratch/screen.png" "$scratch/w.png" -geometry "+$W_X+$W_Y" -composite "$scratch/screen.png"
    done
    /usr/bin/convert "$scratch/screen.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/$1"
    rm -rf "$scratch"
}

# The title of the box the game is showing, if any.
box_title() { xdotool search --onlyvisible --class quolvet getwindowname %@ 2>/dev/null | grep -v '^Quolvet$' | head -n 1 || true; }
answer_box() { local id; id=$(xdotool search --onlyvisible --name "^$1\$" | head -n 1); key_to "$id" Return; sleep 0.3; }

press_square() {
    xdotool mousemove $((X + 80 + 33 * ($1 - 1) + 16)) $((view_y + 48 + 41 * ($2 - 1) + 20)) click 1
    sleep 0.8
}

shoot window.png

# 対局 › 対局(人間) › スタート
xdotool mousemove $((X + 16)) $((Y + top_of_view / 2)) click 1; sleep 0.5
xdotool mousemove $((X + 40)) $((Y + top_of_view + 10)); sleep 0.6
xdotool mousemove $((X + 170)) $((Y + top_of_view + 10)); sleep 0.3
xdotool click 1; sleep 0.5
answer_box ' '

# Moves from the middle outwards until the game ends, answering refusals on the way.
moves=0
for sweep in 1 2 3 4 5 6; do
    for y in 5 6 4 7 3 8 2 9 1; do
        for x in 5 4 6 3 7 2 8 1 9; do
            press_square "$x" "$y"
            title=$(box_title)
            if [[ "$title" == "終了" ]]; then
                sleep 0.3; answer_box 終了; sleep 0.3
                shoot game-end.png
                answer_box 終了
                key_to "$window" Escape
                wait "$APP_PID" || true
                APP_PID=
                echo "pictures written to $out"
                exit 0
            fi
            if [[ -n "$title" ]]; then answer_box "$title"; continue; fi
            moves=$((moves + 1))
            [[ $moves -eq 6 ]] && shoot game-in-progress.png
        done
    done
done
echo "the game did not end" >&2
exit 1
