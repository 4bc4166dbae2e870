#!/usr/bin/env bash
# What a blind player hears: the game and the Orca screen reader in a private desktop session
# (X server, session bus, accessibility bus), the keys given played one after another, and then
# every sentence Orca would have spoken, from its debug file. The speech goes to a sound server
# of its own that plays into nothing.
# Usage: scripts/screen-reader.sh [build-dir] [xdotool key names …]
#   With no keys: the cursor shows, a game against the computer starts from the menus (先手), the
#   greeting box is closed, and the square two rows up is played.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
game=$(cd "${1:-$top/build}" && pwd)/quolvet
shift || true
keys=("$@")
[[ ${#keys[@]} -gt 0 ]] || keys=(Left alt Return Down Return Return Return Up Up Return)

source "$top/tests/support/session.sh"
start_xvfb
start_bus
start_atspi
start_pulse
export SDL_AUDIODRIVER=dummy

# Orca cannot start a speech server by itself here.
speech-dispatcher -s -t 0 >/dev/null 2>&1 &
SESSION_PIDS+=("$!")
orca --debug-file "$SESSION_DIR/orca.log" >/dev/null 2>&1 &
ORCA_PID=$!
await "grep -q 'Screen reader on' $SESSION_DIR/orca.log 2>/dev/null" 150 || { echo "Orca did not start" >&2; exit 1; }

cd "$SESSION_DIR"
"$game" &
APP_PID=$!
window=$(wait_window '^Quolvet$')
timeout 5 xdotool windowfocus "$window" || true
# A key that comes while Orca is still busy with the new window is held by Qt until the
# accessibility bus gives up on it, and may come out of order.
await "grep -q 'SPEECH OUTPUT: .Quolvet frame' $SESSION_DIR/orca.log" 150 || { echo "Orca never saw the window" >&2; exit 1; }
sleep 2
for key in "${keys[@]}"; do
    # Through the accessibility bus Qt sees a key only after the screen reader has: an Alt
    # pressed and let go at once never reaches the menu bar.
    if [[ $key == alt ]]; then
        xdotool keydown alt sleep 0.3 keyup alt
    else
        timeout 5 xdotool key "$key" || true
    fi
    # Orca asks the game about each event; the game answers once its move and pauses are over.
    sleep 2.5
done
sed -n -E "s/^.*SPEECH OUTPUT: '(.*)' ?\{.*$/\1/p" "$SESSION_DIR/orca.log"
kill -9 "$ORCA_PID"  # it does not end on SIGTERM
