#!/usr/bin/env bash
# The game's sound against real sound servers, beside paplay playing the same music: a private
# PulseAudio and, when it starts without a desktop, a private PipeWire, each with a null sink
# whose monitor is recorded. Prints a Markdown table; about 3 minutes a server.
#
#   bench/sound/measure.sh [build-dir]
#   SOUND_LIBRARY=other/libquolvet_sound.so bench/sound/measure.sh   (another build of the library,
#       e.g. one configured with -DCMAKE_CXX_FLAGS=-DQUOLVET_MIX_BUFFER_FRAMES=4096)
#
# CPU is utime + stime of the process (the server: all its processes) over 20 s with the music on
# and 10 s with it off, once the idle device has closed. The worst call is the longest play, loop
# or stop on the window's thread while the music is switched off, and on again as the device
# closes, five times. Latency is from the window's dsPlay to the sound in the sink's monitor,
# median of 8 presses with the device open and of 5 after it closed. Gaps are silences of 5 ms
# or more in 45 s of music with four busy loops on the two cores.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
build=$(realpath "${1:-$repo/build}")
cmake --build "$build" --target quolvet quolvet_sound quolvet_call_timer -j2 >/dev/null
timeline="$here/timeline.py"
source "$repo/tests/support/session.sh"
start_xvfb
work=$SESSION_DIR
mkdir "$work/bin" "$work/cwd"
cp "$build/quolvet" "$work/bin/"
cp "${SOUND_LIBRARY:-$build/libquolvet_sound.so}" "$work/bin/libquolvet_sound.so"
cp "$repo"/sound/data/*.wav "$work/cwd/"
timer=$build/tests/sound/libquolvet_call_timer.so

ticks() { local t=0 pid; for pid in "$@"; do t=$((t + $(awk '{ print $14 + $15 }' "/proc/$pid/stat"))); done; echo $t; }
# percent of one core used by the PIDs over $1 seconds
cpu() { local s=$1 before; shift; before=$(ticks "$@"); sleep "$s"; echo "scale=2; ($(ticks "$@") - $before) / $s" | bc; }
median() { sort -n | awk '{ v[NR] = $1 } END { if (NR) print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2); else print "-" }'; }
press() { xdotool mousemove 300 300 click 1; key_to "$(wait_window '^開始$')" Return; }

start_game() {
    : >"$work/calls.log"
    (cd "$work/cwd" && exec env LD_LIBRARY_PATH="$work/bin" LD_PRELOAD="$timer" QUOLVET_CALL_LOG="$work/calls.log" \
        "$work/bin/quolvet" 2>>"$work/game.err") &
    APP_PID=$!
    window=$(wait_window '^Quolvet$')
}
stop_game() { key_to "$window" Escape; wait "$APP_PID" || true; APP_PID=; }

# measure SERVER-PIDS...: one column of figures, "name=value" lines.
measure() {
    start_game
    sleep 2
    echo "game_on=$(cpu 20 "$APP_PID")"
    echo "server_on=$(cpu 20 "$@")"
    for _ in 1 2 3 4 5; do
        key_to "$window" F1
        for _ in $(seq 300); do grep -qs SDLAudio /proc/"$APP_PID"/task/*/comm || break; sleep 0.01; done
        xdotool key F1
        sleep 0.5
    done
    echo "worst_call=$(awk '$3 > w { w = $3 } END { printf "%.2f", w / 1000 }' "$work/calls.log")"
    key_to "$window" F1
    sleep 3
    echo "game_off=$(cpu 10 "$APP_PID")"
    echo "server_off=$(cpu 10 "$@")"
    : >"$work/calls.log"
    python3 "$timeline" record "$work/taps.raw" "$work/taps.times" 22 &
    local recorder=$!
    sleep 1.5
    for _ in $(seq 8); do press; sleep 0.8; done  # the device stays open between presses
    wait "$recorder"
    echo "latency_open=$(python3 "$timeline" latency "$work/taps.raw" "$work/taps.times" "$work/calls.log" | median)"
    : >"$work/calls.log"
    python3 "$timeline" record "$work/taps.raw" "$work/taps.times" 20 &
    recorder=$!
    for _ in $(seq 5); do sleep 3.2; press; done  # each after the idle close
    wait "$recorder"
    echo "latency_closed=$(python3 "$timeline" latency "$work/taps.raw" "$work/taps.times" "$work/calls.log" | median)"
    key_to "$window" F1
    local busy=()
    for _ in 1 2 3 4; do sh -c 'while :; do :; done' & busy+=($!); done
    python3 "$timeline" record "$work/music.raw" "$work/music.times" 45
    kill "${busy[@]}"
    echo "gaps=$(python3 "$timeline" gaps "$work/music.raw" | awk '{ print $1 " (" $2 " ms)" }')"
    stop_game
    sox "$work/cwd/BGM.wav" "$work/cwd/BGM.wav" "$work/twice.wav"  # long enough for both figures
    paplay "$work/twice.wav" &
    local paplay=$!
    sleep 2
    echo "paplay_on=$(cpu 20 "$paplay")"
    echo "paplay_server_on=$(cpu 20 "$@")"
    kill "$paplay" || true
}

start_pipewire() {
    start_bus
    export XDG_RUNTIME_DIR=$SESSION_DIR/pw-runtime HOME=$SESSION_DIR/pw-home
    mkdir -p -m 700 "$XDG_RUNTIME_DIR" "$HOME"
    local program
    for program in pipewire wireplumber pipewire-pulse; do
        "$program" >"$SESSION_DIR/$program.log" 2>&1 &
        SESSION_PIDS+=("$!")
        sleep 0.5
    done
    PIPEWIRE_PIDS=("${SESSION_PIDS[@]: -3}")
    await 'pactl info >/dev/null 2>&1' || return 1
    pactl load-module module-null-sink sink_name=quolvet_sink >/dev/null
    pactl set-default-sink quolvet_sink
    unset SDL_AUDIODRIVER
}

columns=()
start_pulse
columns+=("PulseAudio $(pulseaudio --version | awk '{ print $2 }')")
measure "$PULSE_PID" >"$work/pulse.txt"
kill "$PULSE_PID"
if start_pipewire; then
    columns+=("PipeWire $(pipewire --version | awk '/^Linked/ { print $4 }')")
    measure "${PIPEWIRE_PIDS[@]}" >"$work/pipewire.txt"
fi

value() { sed -n "s/^$2=//p" "$work/$1.txt"; }
row() {
    local line="| $1 |" file
    for file in pulse pipewire; do [[ -f $work/$file.txt ]] && line+=" $(value $file "$2") |"; done
    echo "$line"
}
printf '| |'; printf ' %s |' "${columns[@]}"; echo
printf '|---|'; printf -- '---:|%.0s' "${columns[@]}"; echo
row "game CPU, music on (% of a core)" game_on
row "paplay CPU, same music" paplay_on
row "server CPU, game's music on" server_on
row "server CPU, paplay playing" paplay_server_on
row "game CPU, music off" game_off
row "server CPU, music off" server_off
row "worst play/loop/stop on the window's thread (ms)" worst_call
row "press to sound, device open (ms, median)" latency_open
row "press to sound, device closed (ms, median)" latency_closed
row "gaps in 45 s under 4 busy loops" gaps
