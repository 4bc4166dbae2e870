# Sourced by the install checks: what an installed Quolvet consists of, checked in a tree
# unpacked or installed under ROOT. Expects PREFIX, BINDIR, LIBDIR, DATADIR (relative to
# PREFIX) and APP_ID; records faults in FAULTS.
source "$(dirname "${BASH_SOURCE[0]}")/../support/session.sh"
FAULTS=()
fault() { FAULTS+=("$1"); }

# Width and height of a PNG from its header (big-endian, bytes 16 to 23).
png_size() {
    local bytes
    bytes=($(od -An -tu1 -j16 -N8 "$1"))
    echo "$(( (bytes[0] << 24) | (bytes[1] << 16) | (bytes[2] << 8) | bytes[3] ))x$(( (bytes[4] << 24) | (bytes[5] << 16) | (bytes[6] << 8) | bytes[7] ))"
}

check_installed_tree() {
    local root="$1" top="$1$PREFIX"
    local program="$top/$BINDIR/quolvet"
    local sounds="$top/$DATADIR/quolvet"

    [[ -x "$program" ]] || fault "no executable $program"
    [[ -f "$top/$LIBDIR/quolvet/libquolvet_sound.so" ]] || fault "no sound library in $LIBDIR/quolvet"
    local name
    for name in その他.wav 禁止.wav 駒打音.wav BGM.wav; do
        [[ -s "$sounds/$name" ]] || fault "no sound $name in $DATADIR/quolvet"
    done
    [[ -f "$top/$DATADIR/applications/$APP_ID.desktop" ]] || fault "no desktop entry"
    [[ -f "$top/$DATADIR/metainfo/$APP_ID.metainfo.xml" ]] || fault "no metainfo"
    local size icon
    for size in 32 48 64 128 256; do
        icon="$top/$DATADIR/icons/hicolor/${size}x${size}/apps/$APP_ID.png"
        if [[ ! -f "$icon" ]]; then
            fault "no ${size}x${size} icon"
        elif [[ $(png_size "$icon") != "${size}x${size}" ]]; then
            fault "the ${size}x${size} icon is $(png_size "$icon")"
        fi
    done
    [[ -x "$program" ]] || return 0

    # The library must come through the executable's own RPATH, wherever the tree lies.
    local missing
    missing=$(env -u LD_LIBRARY_PATH ldd "$program" | grep "not found" || true)
    [[ -z "$missing" ]] || fault "the installed program misses libraries: $missing"
    plays_its_sounds "$program"
}

# Started from a folder without sounds, wherever the tree lies, the program must find its own
# and play them: its music reaches SDL's disk output within a few seconds.
plays_its_sounds() {
    local elsewhere
    elsewhere=$(mktemp -d)
    [[ -n "${DISPLAY:-}" ]] || start_xvfb
    (cd "$elsewhere" && exec env SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$elsewhere/out.raw" "$1" 2>/dev/null) &
    APP_PID=$!
    await '[[ -s $elsewhere/out.raw && $(tr -d "\\0" <"$elsewhere/out.raw" | head -c 1 | wc -c) -eq 1 ]]' 80 ||
        fault "started from another folder, the installed program plays no sound"
    kill "$APP_PID" 2>/dev/null
    wait "$APP_PID" 2>/dev/null || true
    APP_PID=
    rm -rf "$elsewhere"
}

report_faults() {
    if [[ ${#FAULTS[@]} -gt 0 ]]; then
        printf '%s\n' "${FAULTS[@]}" >&2
        return 1
    fi
    echo "all installed files in place"
}
