#!/usr/bin/env bash
# What a blind player hears: the game and the Orca screen reader in a private desktop session
# (X server, session bus, accessibility bus), the keys given played one after another, and then
# every sentence Orca would have spoken, from its debug file. The speech goes to a sound server
# of its own that plays into nothing.
# Usage: scripts/screen-reader.sh [build-dir] [xdotool key names …]
#   With no keys: the cursor shows, a game against the computer starts from the menus (先手), the
#   greeting box is closed, and the square two rows up is played; the script ends once the news
#   of that move and the computer's answer has been spoken.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
game=$(cd "${1:-$top/build}" && pwd)/quolvet
shift || true
keys=("$@")
last_words=
if [[ ${#keys[@]} -eq 0 ]]; then
    keys=(Left alt Return Down Return Return Return Up Up Return)
    last_words="SPEECH OUTPUT: 'notification"
fi

source "$top/tests/support/session.sh"
start_xvfb
start_bus
start_atspi
start_pulse
export SDL_AUDIODRIVER=dummy

# Orca cannot start a speech server by itself here.
speech-dispatcher -s -t 0 >/dev/null 2>&1 &
SESSION_PIDS+=("$!")
# Orca writes its debug file in blocks of 8 KB and has to be ended with SIGKILL, which would
# lose the last sentences: it is started with that one file written line by line.
/usr/bin/python3 - "$SESSION_DIR/orca.log" >/dev/null 2>&1 <<'EOF' &
import builtins, runpy, sys
log = sys.argv[1]
plain_open = builtins.open
def open_log_by_lines(file, mode='r', *args, **kwargs):
    if file == log:
        return plain_open(file, mode, buffering=1)
    return plain_open(file, mode, *args, **kwargs)
builtins.open = open_log_by_lines
sys.argv = ['orca', '--debug-file', log]
runpy.run_path('/usr/bin/orca', run_name='__main__')
EOF
ORCA_PID=$!
await "grep -q 'Screen reader on' $SESSION_DIR/orca.log 2>/dev/null" 150 || { echo "Orca did not start" >&2; exit 1; }

# Until the file has not grown for two seconds, at most a minute.
settle() {
    local size=-1 quiet=0
    for _ in $(seq 300); do
        local now
        now=$(stat -c %s "$1")
        if [[ $now == "$size" ]]; then
            quiet=$((quiet + 1))
            [[ $quiet -ge 10 ]] && return 0
        else
            quiet=0 size=$now
        fi
        sleep 0.2
    done
}

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
    # Orca asks the game about each event, and the game answers once its move, its pauses and
    # the computer's answer are over: slower on a busy machine, so wait until Orca has fallen
    # quiet rather than for a fixed time.
    settle "$SESSION_DIR/orca.log"
done
# A move's pauses can keep Orca quiet for longer than that.
[[ -z $last_words ]] || await "grep -q \"$last_words\" $SESSION_DIR/orca.log" 600 || true
sed -n -E "s/^.*SPEECH OUTPUT: '(.*)' ?\{.*$/\1/p" "$SESSION_DIR/orca.log"
kill -9 "$ORCA_PID"  # it does not end on SIGTERM
