# Sourced by every script that drives the real program: a private desktop for the length of one
# script. Each piece is started on demand and stopped by its PID on exit, whatever happens:
#   start_xvfb        an X server (DISPLAY), no window manager; XVFB_SCREEN=WxHxD for another size
#   start_bus         a session D-Bus (DBUS_SESSION_BUS_ADDRESS)
#   start_atspi       the accessibility bus and its registry, as a desktop starts them for a
#                     screen reader (needs start_bus)
#   start_pulse       a PulseAudio server with one null sink, in its own runtime folder and home
#   start_weston      a headless Wayland compositor (WAYLAND_DISPLAY) logging every request it
#                     gets, with the time, to $SESSION_DIR/weston.log
# A script sets APP_PID for the program it started; it is killed first.

SESSION_PIDS=()
SESSION_DIR=$(mktemp -d)
chmod 700 "$SESSION_DIR"
trap stop_session EXIT

stop_session() {
    [[ -n "${APP_PID:-}" ]] && kill -9 "$APP_PID" 2>/dev/null
    for ((i = ${#SESSION_PIDS[@]} - 1; i >= 0; i--)); do
        kill -CONT "${SESSION_PIDS[i]}" 2>/dev/null || true  # a test may have stopped it (or ended it)
        stop_pid "${SESSION_PIDS[i]}"
    done
    rm -rf "$SESSION_DIR"
    return 0
}

# SIGTERM, and SIGKILL for a server that has not ended two seconds later (a speech server whose
# module died does not).
stop_pid() {
    kill "$1" 2>/dev/null || return 0
    for _ in $(seq 20); do
        local state
        state=$(ps -o stat= -p "$1" || true)
        [[ -z $state || $state == *Z* ]] && break
        sleep 0.1
    done
    kill -9 "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}

# Waits up to $2 tenths of a second for the command in $1 to succeed.
await() {
    for _ in $(seq "${2:-100}"); do eval "$1" && return 0; sleep 0.1; done
    return 1
}

start_xvfb() {
    # The server takes the first free display number itself and writes it once it accepts
    # connections. -noreset: by default the server resets whenever its last client leaves, and a
    # program started in that moment finds no display.
    : >"$SESSION_DIR/display"
    Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-1024x768x24}" -nolisten tcp -noreset 3>"$SESSION_DIR/display" >/dev/null 2>&1 &
    XVFB_PID=$!
    SESSION_PIDS+=("$XVFB_PID")
    await "[[ -s '$SESSION_DIR/display' ]]" || { echo "could not start Xvfb" >&2; return 1; }
    export DISPLAY=":$(<"$SESSION_DIR/display")"
}

start_bus() {
    local bus=$SESSION_DIR/bus
    dbus-daemon --session --nofork --address="unix:path=$bus" >/dev/null 2>&1 &
    SESSION_PIDS+=("$!")
    await "[[ -S $bus ]]" || { echo "no session bus" >&2; return 1; }
    export DBUS_SESSION_BUS_ADDRESS="unix:path=$bus"
}

start_atspi() {
    /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
    SESSION_PIDS+=("$!")
    await 'dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q true' ||
        { echo "no accessibility bus" >&2; return 1; }
}

# The server runs as whoever runs the test (root in CI), so it is told not to refuse that, and
# it must never exit on idle while a test stops it on purpose.
start_pulse() {
    export XDG_RUNTIME_DIR=$SESSION_DIR/runtime HOME=$SESSION_DIR/home
    mkdir -p -m 700 "$XDG_RUNTIME_DIR" "$HOME"
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --system=false \
        --log-target=file:"$SESSION_DIR/pulse.log" \
        -L "module-null-sink sink_name=quolvet_sink" -L "module-native-protocol-unix" \
        >/dev/null 2>&1 &
    PULSE_PID=$!
    SESSION_PIDS+=("$PULSE_PID")
    await 'pactl info >/dev/null 2>&1' || { echo "PulseAudio did not start" >&2; return 1; }
    unset SDL_AUDIODRIVER
}

start_weston() {
    export XDG_RUNTIME_DIR=$SESSION_DIR/runtime WAYLAND_DISPLAY=wayland-quolvet
    mkdir -p -m 700 "$XDG_RUNTIME_DIR"
    weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" --idle-time=0 --no-config --logger-scopes=proto \
        --log="$SESSION_DIR/weston.log" >/dev/null 2>&1 &
    SESSION_PIDS+=("$!")
    await "[[ -S $XDG_RUNTIME_DIR/$WAYLAND_DISPLAY ]]" || { echo "weston did not start" >&2; return 1; }
}

# Waits up to 10 s for a visible window whose name matches, and prints its id.
wait_window() {
    local id
    for _ in $(seq 200); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
        [[ -n "$id" ]] && { echo "$id"; return 0; }
        sleep 0.05
    done
    echo "no window named '$1' appeared" >&2
    return 1
}

# Gives a window the keyboard (without a window manager nobody does) and presses a key there.
# `windowfocus --sync` can wait for ever on a window that is closing, so no --sync.
key_to() {
    timeout 5 xdotool windowfocus "$1" || true
    sleep 0.1
    timeout 5 xdotool key "$2" || true
}

# How far below a window's top (its client X, Y given) the drawing starts: the first row of the
# striped background under the menu bar.
drawing_top() {
    xwd -root -silent | /usr/bin/convert xwd:- -crop "1x60+$(($1 + 5))+$2" txt:- |
        awk -F'[(,)]' 'NR > 1 && $3 < 60 && $4 > 150 { print $2 + 0; exit }'
}
