# Sourced by the end-to-end scripts: a private X server for the length of one script, started
# here and stopped by its PID on exit, whatever happens.
start_xvfb() {
    local n
    for n in $(seq 90 140); do
        [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] && continue
        # -noreset: by default the server resets whenever its last client leaves, and a
        # program started in that moment finds no display.
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
        XVFB_PID=$!
        for _ in $(seq 100); do
            # Scripts starting side by side may race for one number: the server that wrote
            # its PID into the lock file owns the display; the other one gives up.
            [[ -e /tmp/.X11-unix/X$n && "$(tr -d ' \n' </tmp/.X$n-lock 2>/dev/null)" == "$XVFB_PID" ]] &&
                { export DISPLAY=":$n"; trap stop_xvfb EXIT; return 0; }
            kill -0 "$XVFB_PID" 2>/dev/null || break
            sleep 0.05
        done
    done
    echo "could not start Xvfb" >&2
    return 1
}

stop_xvfb() {
    [[ -n "${APP_PID:-}" ]] && kill "$APP_PID" 2>/dev/null
    [[ -n "${XVFB_PID:-}" ]] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
    return 0
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

# Gives a window the keyboard (there is no window manager to do it) and presses a key there.
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

# A checksum of a rectangle of the screen: width height x y.
region_sum() {
    xwd -root -silent | /usr/bin/convert xwd:- -crop "${1}x${2}+${3}+${4}" rgb:- | md5sum | cut -d' ' -f1
}
