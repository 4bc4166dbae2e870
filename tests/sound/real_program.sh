#!/usr/bin/env bash
# The real program in a private X server, as a player would start it.
#   real_program.sh GAME CALL_TIMER badstarts|fast|servers   (the library and sounds beside GAME)
# badstarts: no sound files and no Japanese font; no sound device and a broken file: each start
#   shows exactly the warnings due, then the game answers a press and ends with 0 on Esc.
# The other parts run against a private PulseAudio whose null sink's monitor is recorded.
# fast: switched off, and on again the moment the idle device closes, no sound call works or
#   waits over 5 ms on the window's thread; once quiet the game uses no CPU; the music is heard
#   again; Esc ends the game, and so does losing the X server.
# servers: with no server at start-up the game warns once; a server started later, then killed
#   and started again, plays the music by itself. With the server stopped during the music, around
#   an idle close, at Esc and before start-up, the window answers at once and Esc ends the game.
set -euo pipefail
game=$1 timer=$2 part=$3 sounds=$(dirname "$1")
source "$(dirname "$0")/../support/session.sh"
start_xvfb
cd "$SESSION_DIR"
# A copy of the program, so that only the sounds a case puts in its current folder are found.
mkdir bin cwd
cp "$game" "$sounds/libquolvet_sound.so" bin/
failures=0
fail() { echo "FAILED: $*; the game's stderr ends:" >&2; tail -n 5 game.err >&2; failures=$((failures + 1)); }
key() { key_to "$(wait_window '^Quolvet$')" "$1"; }

# start_game [ENV=VALUE ...]
start_game() {
    (cd cwd && exec env QUOLVET_CALL_LOG="$SESSION_DIR/calls.log" LD_PRELOAD="$timer" \
        ASAN_OPTIONS="${ASAN_OPTIONS:-}:verify_asan_link_order=0" "$@" ../bin/quolvet 2>../game.err) &
    APP_PID=$!
}

# start_expecting WARNINGS CASE [ENV=VALUE ...]: starts the game and answers every warning until the
# main window is up (they all come before it shows).
start_expecting() {
    local box count=0
    start_game "${@:3}"
    for _ in $(seq 200); do
        box=$(xdotool search --onlyvisible --name '^Quolvet\.dll$' 2>/dev/null | head -n 1) || true
        [[ -z $box ]] || { key_to "$box" Return && sleep 0.2 && count=$((count + 1)) && continue; }
        xdotool search --onlyvisible --name '^Quolvet$' >/dev/null 2>&1 && break
        sleep 0.1
    done
    ((count == $1)) || fail "$count warnings at start, not $1, $2"
}

# A press with no game running opens a message box (and plays the refusal sound) at once; a
# window held by the sound would never open it, and a busy machine may take a second.
answers_press() {
    xdotool mousemove 300 300 click 1
    await "xdotool search --onlyvisible --name '^開始$' >/dev/null 2>&1" 20 || fail "no box within 2 s of a press, $1"
    key_to "$(wait_window '^開始$')" Return
    sleep 0.2
}

# ends_within MILLISECONDS WHAT [STATUS]
ends_within() {
    local status=0
    await "! kill -0 $APP_PID 2>/dev/null" $(($1 / 100 + 1)) || { fail "still running $1 ms after $2"; return; }
    wait "$APP_PID" || status=$?; APP_PID=
    ((status == ${3:-0})) || fail "ended with status $status after $2"
}

answers_and_quits() { answers_press "$1" && key Escape && ends_within 1000 "Esc, $1"; }

# Whether the sink plays a loud sample within $1 seconds (the monitor of a null sink starts slowly).
hears() {
    local -
    set +o pipefail
    timeout "$1" parec -d quolvet_sink.monitor --latency-msec=20 --raw --format=s16le --channels=1 |
        od -An -v -td2 -w2 | awk '$1 > 1000 || $1 < -1000 { heard = 1; exit } END { exit !heard }'
}

[[ $part == badstarts ]] || { start_pulse; cp "$sounds"/*.wav cwd/; }
if [[ $part == badstarts ]]; then
    export SDL_AUDIODRIVER=dummy
    # No sound files, and only DejaVu: no face with kanji.
    printf '<fontconfig><dir>/usr/share/fonts/truetype/dejavu</dir><cachedir>%s</cachedir></fontconfig>' \
        "$SESSION_DIR/fontcache" >fonts.conf
    start_expecting 0 "every sound missing" FONTCONFIG_FILE="$SESSION_DIR/fonts.conf"
    answers_and_quits "every sound missing"
    [[ $(grep -c fonts-ipafont-mincho game.err) -eq 1 ]] || fail "no font warning, or more than one"
    # No device, and one file cut short: a sound is made without a device, so only that one is
    # warned of besides the device.
    cp "$sounds"/*.wav cwd/
    head -c 100 "$sounds/禁止.wav" >cwd/禁止.wav
    start_expecting 2 "no sound device, one file cut short" SDL_AUDIODRIVER=nonexistent
    answers_and_quits "no sound device"
    ! grep -q fonts-ipafont-mincho game.err || fail "a font warning with the fonts installed"
elif [[ $part == fast ]]; then
    start_expecting 0 "music on"
    # The desktop's mixer shows whose stream it is.
    stream=$(pactl list sink-inputs)
    for property in 'application.name = "Quolvet"' 'application.icon_name = "example.quolvet.Quolvet"' 'media.role = "game"' \
        'media.name = "Quolvet"' 'module-stream-restore.id = "sink-input-by-application-id:example.quolvet.Quolvet"'; do
        grep -qF "$property" <<<"$stream" || fail "the stream lacks $property"
    done
    for _ in 1 2 3; do
        key F1
        # The thread feeding the server is the first thing to go when the device closes.
        for _ in $(seq 300); do grep -qs SDLAudio /proc/"$APP_PID"/task/*/comm || break; sleep 0.01; done
        xdotool key F1
        sleep 0.5
    done
    key F1
    sleep 2.5
    ticks() { awk '{ print $14 + $15 }' "/proc/$APP_PID/stat"; }
    before=$(ticks) && sleep 2
    (($(ticks) == before)) || fail "$(($(ticks) - before)) ticks of CPU once quiet"
    key F1
    hears 3 || fail "no music reached the sink after the device was closed"
    # A call that worked or slept (waited) long fails; one a busy machine merely preempted does not.
    worst=$(awk '($5 > 0 || $4 > 5000) && $3 > worst { worst = $3 } END { print worst + 0 }' calls.log)
    ((worst <= 5000)) || fail "a sound call took $worst µs: $(sort -k3 -n calls.log | tail -n 3 | paste -sd,)"
    key Escape && ends_within 1000 "Esc, music on"
    # Qt ends the process by exit() when its display goes away, and leaves the window's objects.
    ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0" start_expecting 0 "before the X server goes away"
    kill "$XVFB_PID"
    ends_within 2000 "the X server went away" 1
else
    kill "$PULSE_PID" && wait "$PULSE_PID" || true
    start_expecting 1 "no server at start-up"
    sleep 3  # the music waits through a try that finds no server either
    start_pulse
    hears 6 || fail "the music did not come with a server started after the game"
    kill -KILL "$PULSE_PID" && wait "$PULSE_PID" 2>/dev/null || true
    start_pulse
    hears 5 || fail "the music did not come back within 5 s of the server"
    kill -STOP "$PULSE_PID"
    answers_press "server stopped during the music"
    key F1
    sleep 2.5
    answers_press "server stopped, device idle"
    key F1
    answers_and_quits "server stopped, music on again"
    start_game
    await "xdotool search --onlyvisible --name '^Quolvet$' >/dev/null 2>&1" 20 || fail "no window within 2 s, server stopped"
    answers_and_quits "server stopped before start-up"
fi
((failures == 0)) || exit 1
echo "real program ($part): passed"
