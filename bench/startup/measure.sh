#!/usr/bin/env bash
# Start-up time and CPU, memory, idle CPU and pacing of the game next to a bare Qt window and
# two desktop games, each run in its own fresh Xvfb; prints Markdown tables. The game and the
# bare window start in pairs, one right after the other, at scale 1 and at scale 2
# (QT_SCALE_FACTOR), so that both of a pair meet the same load on the machine.
#
# Usage: bench/startup/measure.sh [build-dir]     (RUNS=10 repetitions, median reported;
#        PEERS=0 leaves out the two desktop games; AUDIO=pulse gives every session a private
#        PulseAudio with a null sink instead of SDL's dummy driver)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
build=$(realpath -m "${1:-$repo/build-measure}")
runs=${RUNS:-10}
peers=${PEERS:-1}
audio=${AUDIO:-dummy}
work=$(mktemp -d)

# --- what the measuring needs -------------------------------------------------------------
needed=(xvfb xdotool x11-apps imagemagick strace dbus libx11-dev)
((peers)) && needed+=(gnome-mines kmines)
missing=()
for p in "${needed[@]}"; do
    [[ $(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true) == "install ok installed" ]] || missing+=("$p")
done
if [[ ${#missing[@]} -gt 0 ]]; then
    echo "Installing for the measurements: ${missing[*]}" >&2
    sudo=(); [[ $(id -u) -eq 0 ]] || sudo=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
fi

[[ -f "$build/CMakeCache.txt" ]] || cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target quolvet quolvet_sound_data bare_window first_paint -j2 >/dev/null

game=$build/quolvet
bare=$build/bench/bare_window
first_paint=$build/bench/first_paint

source "$repo/tests/support/session.sh"
trap 'stop_session; rm -rf "$work"' EXIT

# --- helpers ------------------------------------------------------------------------------
# Each session (a subshell): a fresh X server and session bus of its own, stopped on its exit.
open_session() {
    SESSION_PIDS=()
    SESSION_DIR=$(mktemp -d -p "$work")
    trap stop_session EXIT
    start_xvfb
    start_bus
    if [[ $audio == pulse ]]; then start_pulse; else export SDL_AUDIODRIVER=dummy; fi
}

cpu_ticks() {  # utime + stime, in clock ticks
    local stat
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || { echo -1; return; }
    stat=${stat##*) }
    awk '{ print $12 + $13 }' <<<"$stat"
}
tick_ms=$((1000 / $(getconf CLK_TCK)))
rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status" 2>/dev/null || echo -1; }
# Shared libraries mapped, the program's own included.
libraries() { awk '$6 ~ /\.so/ { print $6 }' "/proc/$1/maps" 2>/dev/null | sort -u | wc -l; }
# CPU milliseconds of every thread alive, from the scheduler's own account (nanoseconds); a
# thread that has ended by then is not counted (neither program ends one during start-up).
cpu_ms() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ ns += $1 } END { if (NR == 0) print -1; else printf "%.1f", ns / 1e6 }'; }

# Launches, waits for the first painted window; sets APP_PID and STARTUP_MS.
launch() {
    "$first_paint" 30 "$@" >"$work/launch" 2>>"$work/programs.log" || echo "no painted window from $*" >&2
    APP_PID=$(sed -E 's/^pid=([0-9]+).*/\1/' "$work/launch")
    STARTUP_MS=$(sed -E 's/.*painted_ms=([0-9.-]+).*/\1/' "$work/launch")
}

# CPU milliseconds used over the given seconds.
cpu_over() {
    local before after
    before=$(cpu_ticks "$1")
    sleep "$2"
    after=$(cpu_ticks "$1")
    if ((before < 0 || after < 0)); then echo -1; else echo $(((after - before) * tick_ms)); fi
}

# 対局 › 対局(COM) › 後手 by pointer; the drawing area starts below the 19-pixel menu bar and
# the window stands at 0,0. The last click starts the computer's move.
open_gote_menu() {
    xdotool mousemove 16 9 click 1
    sleep 0.5
    xdotool mousemove 40 51
    sleep 0.6
    xdotool mousemove 170 51
    sleep 0.3
    xdotool mousemove 170 73
    sleep 0.3
}

median() { sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) print "n/a"; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
stats() { sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) { print "n/a n/a n/a"; exit } m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; printf "%.1f %.1f %.1f\n", v[1], m, v[NR] }'; }

# --- sessions -------------------------------------------------------------------------------
# Launches, then reads CPU, memory and libraries 2 s after the first painted window (the CPU
# from the launch on); sets APP_PID and STARTED to "STARTUP_MS START_CPU_MS RSS_KB LIBRARIES".
start_and_settle() {
    launch "$@"
    sleep 2
    STARTED="$STARTUP_MS $(cpu_ms "$APP_PID") $(rss_kb "$APP_PID") $(libraries "$APP_PID")"
}

# A peer or the bare window at scale $1: start-up, start CPU, memory, then CPU over 10 s idle
# (at scale 1 only).
measure_plain() (
    open_session
    cd "$work"
    export QT_SCALE_FACTOR=$1
    shift
    start_and_settle "$@"
    if [[ $QT_SCALE_FACTOR == 1 ]]; then echo "$STARTED $(cpu_over "$APP_PID" 10)"; else echo "$STARTED -1"; fi
)

# The game at scale 1: as above, then the CPU of one computer move.
measure_game() (
    open_session
    cd "$work"
    local idle move
    start_and_settle "$game"
    idle=$(cpu_over "$APP_PID" 10)
    open_gote_menu
    local before
    before=$(cpu_ticks "$APP_PID")
    xdotool click 1
    sleep 3  # the 0.7 s pause and four 0.1 s frames lie well inside
    move=$((($(cpu_ticks "$APP_PID") - before) * tick_ms))
    echo "$STARTED $idle $move"
)

# The game at scale 2: start-up, start CPU, memory, libraries.
measure_game_at_two() (
    open_session
    cd "$work"
    export QT_SCALE_FACTOR=2
    start_and_settle "$game"
    echo "$STARTED"
)

# The game with a driver that mixes in real time: idle with the music on, then off (F1).
measure_music() (
    open_session
    cd "$work"
    export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null
    launch "$game"
    sleep 2
    local on off
    on=$(cpu_over "$APP_PID" 10)
    xdotool search --onlyvisible --name '^Quolvet$' windowfocus --sync key F1
    sleep 1
    off=$(cpu_over "$APP_PID" 10)
    echo "$on $off"
)

# The game under strace, timing its sleeps during the computer's move: prints
# "pause SECONDS" and "gap SECONDS" / "frame SECONDS" lines.
measure_pacing() (
    open_session
    cd "$work"
    local trace=$work/trace.$BASHPID
    strace --seccomp-bpf -f -ttt -T -e trace=clock_nanosleep,nanosleep -o "$trace" "$game" 2>/dev/null &
    local tracer=$!
    local window
    window=$(wait_window '^Quolvet$')
    APP_PID=$(pgrep -P "$tracer" | head -n 1)
    sleep 1
    open_gote_menu
    xdotool click 1
    sleep 3
    local main=$APP_PID
    kill "$APP_PID"; wait "$tracer" 2>/dev/null || true
    APP_PID=
    # Only the window thread; a sleep split by another thread's call is joined up again.
    awk -v main="$main" '
        $1 != main { next }
        /unfinished/ { start = $2; next }
        /resumed>/ { match($0, /<[0-9.]+>$/); print start, substr($0, RSTART + 1, RLENGTH - 2); next }
        /clock_nanosleep|nanosleep/ { match($0, /<[0-9.]+>$/); print $2, substr($0, RSTART + 1, RLENGTH - 2) }
    ' "$trace" |
    awk '
        $2 > 0.5 { paused = 1; print "pause", $2; last = ""; next }
        paused && $2 > 0.05 && $2 < 0.2 {
            print "frame", $2
            if (last != "") print "gap", $1 - last
            last = $1
        }
    '
)

# --- runs -------------------------------------------------------------------------------------
bare_cmd=("$bare")
declare -A rows
# One pair: the game and the bare window at the scale $1, in the order $2 ("game" or "bare"
# first); adds their rows and the ratios of the pair.
pair() {
    local scale=$1 first=$2 g b
    if [[ $first == game ]]; then
        if [[ $scale == 1 ]]; then g=$(measure_game); else g=$(measure_game_at_two); fi
        b=$(measure_plain "$scale" "${bare_cmd[@]}")
    else
        b=$(measure_plain "$scale" "${bare_cmd[@]}")
        if [[ $scale == 1 ]]; then g=$(measure_game); else g=$(measure_game_at_two); fi
    fi
    rows[game$scale]+="$g"$'\n'
    rows[bare$scale]+="$b"$'\n'
    # start-up and start CPU of the game over the bare window's; a failed start counts for neither
    rows[ratio$scale]+=$(awk -v g="$g" -v b="$b" 'BEGIN {
        split(g, x, " "); split(b, y, " ")
        if (x[1] > 0 && y[1] > 0 && x[2] > 0 && y[2] > 0) printf "%.3f %.3f", x[1] / y[1], x[2] / y[2]
        else printf "-1 -1" }')$'\n'
}

for i in $(seq "$runs"); do
    echo "run $i of $runs" >&2
    first=game; ((i % 2)) || first=bare
    pair 1 "$first"
    pair 2 "$first"
    read -r on off < <(measure_music)
    rows[music]+="$on $off"$'\n'
    measure_pacing >>"$work/pacing" || echo "run $i: no pacing figures (the traced game did not start)" >&2
    if ((peers)); then
        rows[gnome]+="$(measure_plain 1 /usr/games/gnome-mines)"$'\n'
        rows[kmines]+="$(measure_plain 1 /usr/games/kmines)"$'\n'
    fi
done

# A run whose program died or showed nothing left -1 behind; it does not count.
column_median() { awk -v c="$2" 'NF && $c >= 0 { print $c }' <<<"${rows[$1]}" | median; }
mib() { awk '{ printf "%.1f", $1 / 1024 }' <<<"$1"; }
two_places() { awk '$1 == "n/a" { print; next } { printf "%.2f", $1 }'; }
percent() { awk '{ printf "%.2f", $1 / 100 }' <<<"$1"; }  # CPU ms over 10 s → % of a core

g_move=$(column_median game1 6)
on=$(column_median music 1); off=$(column_median music 2)

echo
echo "Medians of $runs runs, each program in its own fresh Xvfb (1024×768×24, no window manager)."
echo "Start CPU: every thread's CPU (schedstat) from the launch to 2 s after the first painted window."
echo
echo "| Program | Scale | Start-up to first painted window (ms) | Start CPU (ms) | Resident memory 2 s after (MiB) | Shared libraries | CPU in 10 s idle (ms, % of a core) |"
echo "|---|---:|---:|---:|---:|---:|---:|"
row() {  # name, rows key, scale
    local c
    c=$(column_median "$2" 5)
    [[ $c == n/a ]] && c="" || c="$c ($(percent "$c") %)"
    echo "| $1 | $3 | $(column_median "$2" 1) | $(column_median "$2" 2) | $(mib "$(column_median "$2" 3)") | $(column_median "$2" 4) | $c |"
}
row "quolvet ($audio audio, music on)" game1 1
row "bare_window (Qt + SDL_mixer, $audio audio)" bare1 1
row "quolvet ($audio audio, music on)" game2 2
row "bare_window (Qt + SDL_mixer, $audio audio)" bare2 2
if ((peers)); then
    row "gnome-mines $(dpkg-query -W -f='${Version}' gnome-mines)" gnome 1
    row "kmines $(dpkg-query -W -f='${Version}' kmines)" kmines 1
fi
echo "| quolvet, music on (SDL disk audio → /dev/null) | 1 | | | | | $on ($(percent "$on") %) |"
echo "| quolvet, music off by F1 (SDL disk audio) | 1 | | | | | $off ($(percent "$off") %) |"
echo
echo "CPU used by quolvet over one computer move (後手 from the menu: fresh deal, choice, 0.7 s pause, four frames): median $g_move ms."
echo
read -r pmin pmed pmax < <(awk '$1 == "pause" { print $2 * 1000 }' "$work/pacing" | stats)
read -r gmin gmed gmax < <(awk '$1 == "gap" { print $2 * 1000 }' "$work/pacing" | stats)
read -r fmin fmed fmax < <(awk '$1 == "frame" { print $2 * 1000 }' "$work/pacing" | stats)
echo "| Pacing (strace, window thread) | samples | min (ms) | median (ms) | max (ms) | target |"
echo "|---|---:|---:|---:|---:|---|"
echo "| computer's pause (sleep length) | $(grep -c '^pause' "$work/pacing" || true) | $pmin | $pmed | $pmax | 700 ± 5 |"
echo "| pick-up frame interval (start to start of consecutive frame sleeps) | $(grep -c '^gap' "$work/pacing" || true) | $gmin | $gmed | $gmax | 100 ± 2 |"
echo "| pick-up frame sleep length | $(grep -c '^frame' "$work/pacing" || true) | $fmin | $fmed | $fmax | 100 ± 2 |"
echo

verdict() { if awk "BEGIN { exit !($1) }"; then echo met; else echo "**missed**"; fi; }
echo "| Target | Figure (median of the pairs' ratios) | Result |"
echo "|---|---|---|"
for scale in 1 2; do
    t=$(column_median "ratio$scale" 1 | two_places); c=$(column_median "ratio$scale" 2 | two_places)
    echo "| start-up ≤ 1.05 × bare window, scale $scale | $(column_median "game$scale" 1) ms vs $(column_median "bare$scale" 1) ms, ${t}× | $(verdict "$t <= 1.05") |"
    echo "| start CPU ≤ 1.0 × bare window, scale $scale | $(column_median "game$scale" 2) ms vs $(column_median "bare$scale" 2) ms, ${c}× | $(verdict "$c <= 1.0") |"
    g_rss=$(column_median "game$scale" 3); b_rss=$(column_median "bare$scale" 3)
    echo "| memory ≤ 1.3 × bare window, scale $scale | $(mib "$g_rss") vs $(mib "$b_rss") MiB ($(awk "BEGIN { printf \"%.2f\", $g_rss / $b_rss }")×) | $(verdict "$g_rss <= 1.3 * $b_rss") |"
done
echo "| zero CPU idle, music off | $off ms in 10 s | $(verdict "$off == 0") |"
echo "| music-on idle < 1 % of a core | $(percent "$on") % | $(verdict "$on < 100") |"
echo "| computer's pause 700 ± 5 ms | $pmin … $pmax ms | $(verdict "$pmin >= 695 && $pmax <= 705") |"
echo "| frame interval 100 ± 2 ms | $gmin … $gmax ms | $(verdict "$gmin >= 98 && $gmax <= 102") |"
