#!/usr/bin/env bash
# The real program started in bad conditions: sound files missing or broken, no sound device,
# no Japanese font. Each time it must show exactly the warnings due, then play, then end with 0.
#
#   bad_starts.sh GAME SOUND_LIBRARY SOUND_DATA_FOLDER
#
# A copy of the program runs from a scratch folder, so the sounds of the build tree are not
# found; the current directory holds whatever sounds a case wants.
set -euo pipefail
game=$1 library=$2 sounds=$3
here=$(dirname "$0")
source "$here/../support/session.sh"
start_xvfb

scratch=$(mktemp -d)
mkdir "$scratch/bin"
cp "$game" "$library" "$scratch/bin/"
export SDL_AUDIODRIVER=dummy
failures=0

fail() {
    echo "FAILED ($case): $*; its stderr:" >&2
    tail -n 20 "$scratch/stderr.txt" >&2
    failures=$((failures + 1))
}

# Visible message boxes, by window id.
boxes() {
    local w
    for w in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
        xprop -id "$w" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q _NET_WM_WINDOW_TYPE_DIALOG && echo "$w"
    done
    return 0
}

# Answers every box until the main window is up and no box has come for a second; prints
# the boxes' titles, one a line.
answer_start_boxes() {
    local quiet=0 box
    for _ in $(seq 200); do
        box=$(boxes | head -n 1)
        if [[ -n "$box" ]]; then
            xdotool getwindowname "$box"
            key_to "$box" Return 2>/dev/null
            quiet=0
            sleep 0.3
            continue
        fi
        if xdotool search --onlyvisible --name '^Quolvet$' >/dev/null 2>&1; then
            quiet=$((quiet + 1))
            ((quiet >= 10)) && return 0
        fi
        sleep 0.1
    done
}

# A two-person game from the menu, one press on a piece: the board must change. Esc → 0.
play_and_quit() {
    local window top board before after status=0
    window=$(wait_window '^Quolvet$') || { fail "no main window"; return; }
    xdotool windowmove --sync "$window" 0 0
    sleep 0.3
    eval "$(xdotool getwindowgeometry --shell "$window")"
    top=$(drawing_top "$X" "$Y")
    [[ -n "$top" ]] || { fail "no drawing area"; return; }
    xdotool mousemove $((X + 21)) $((Y + top / 2)) click 1
    sleep 0.3
    xdotool mousemove $((X + 40)) $((Y + top + 11))
    sleep 0.4
    xdotool mousemove $((X + 170)) $((Y + top + 11)) click 1
    local box
    box=$(wait_window '^ $') || { fail "no game started"; return; }
    key_to "$box" Return
    sleep 0.3
    # Square (5, 5): on a full board every kind there picks something up.
    board="$((33 * 9)) $((41 * 9)) $((X + 80)) $((Y + top + 48))"
    before=$(region_sum $board)
    xdotool mousemove $((X + 80 + 33 * 4 + 16)) $((Y + top + 48 + 41 * 4 + 20)) click 1
    sleep 1.5
    after=$(region_sum $board)
    [[ "$before" != "$after" ]] || fail "the board did not change after a press on a piece"
    [[ -z "$(boxes)" ]] || fail "a box came up during the move"
    key_to "$window" Escape
    wait "$APP_PID" || status=$?
    APP_PID=
    [[ $status -eq 0 ]] || fail "quolvet ended with status $status"
}

# run CASE EXPECTED_TITLES [ENV=VALUE ...]: starts the copy in $scratch/cwd.
run() {
    case=$1 expected=$2
    shift 2
    (cd "$scratch/cwd" && exec env "$@" "$scratch/bin/$(basename "$game")" 2>"$scratch/stderr.txt") &
    APP_PID=$!
    local titles
    titles=$(answer_start_boxes | paste -sd '|')
    [[ "$titles" == "$expected" ]] || fail "boxes at start: '$titles', expected '$expected'"
    play_and_quit
    if [[ -n "${APP_PID:-}" ]]; then
        kill "$APP_PID" 2>/dev/null || true
        wait "$APP_PID" 2>/dev/null || true
        APP_PID=
    fi
    echo "$case: done"
}

with_sounds() {
    rm -rf "$scratch/cwd"
    mkdir "$scratch/cwd"
    local name
    for name in "$@"; do cp "$sounds/$name" "$scratch/cwd/"; done
}

all=(その他.wav 禁止.wav 駒打音.wav BGM.wav)

with_sounds
run "every sound missing" ""

with_sounds "${all[@]}"
run "every sound present" ""

# Each file broken in its own way: empty, cut short, not a wave at all, a header that lies.
with_sounds "${all[@]}"
: >"$scratch/cwd/その他.wav"
run "empty その他.wav" "Quolvet.dll"

with_sounds "${all[@]}"
head -c 100 "$sounds/禁止.wav" >"$scratch/cwd/禁止.wav"
run "truncated 禁止.wav" "Quolvet.dll"

with_sounds "${all[@]}"
printf 'this is no wave file\n' >"$scratch/cwd/駒打音.wav"
run "text as 駒打音.wav" "Quolvet.dll"

with_sounds "${all[@]}"
printf 'RIFF\377\377\377\177WAVEfmt \020\000\000\000\001\000\000\000' >"$scratch/cwd/BGM.wav"
run "lying header in BGM.wav" "Quolvet.dll"

with_sounds
for name in "${all[@]}"; do head -c 30 "$sounds/$name" >"$scratch/cwd/$name"; done
run "all four broken" "Quolvet.dll|Quolvet.dll|Quolvet.dll|Quolvet.dll"

with_sounds "${all[@]}"
run "no sound device" "Quolvet.dll" SDL_AUDIODRIVER=nonexistent

# Only DejaVu: no face with kanji.
mkdir -p "$scratch/fontcache"
cat >"$scratch/fonts.conf" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <dir>/usr/share/fonts/truetype/dejavu</dir>
  <cachedir>$scratch/fontcache</cachedir>
</fontconfig>
CONF
with_sounds "${all[@]}"
run "no Japanese font" "" FONTCONFIG_FILE="$scratch/fonts.conf"
grep -q 'fonts-ipafont-mincho' "$scratch/stderr.txt" || fail "no word of the font package on stderr"
[[ $(grep -c 'fonts-ipafont-mincho' "$scratch/stderr.txt") -eq 1 ]] || fail "the font warning came more than once"

with_sounds "${all[@]}"
run "Japanese fonts present" ""
! grep -q 'fonts-ipafont-mincho' "$scratch/stderr.txt" || fail "a font warning with the fonts installed"

rm -rf "$scratch"
[[ $failures -eq 0 ]] || { echo "$failures failures" >&2; exit 1; }
echo "bad starts: passed"
