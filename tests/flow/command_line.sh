#!/usr/bin/env bash
# The command line as a user meets it, with no display unless one is named: each case gives the
# exit status, a pattern over the whole of stdout and one over stderr ('' leaves it unchecked),
# then the arguments. The last one starts the game: Qt's options go through to Qt, and with
# --no-music nothing but silence reaches SDL's disk output before it is stopped.
#   command_line.sh PROGRAM VERSION
set -uo pipefail
program=$1 version=$2 failed=0
cd "$(mktemp -d)" && trap 'rm -rf "$PWD"' EXIT
usage="Usage: quolvet \[options\]
.*  --no-music  "

check() {
    local status=$1 out=$2 err=$3 got
    shift 3
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=out.raw \
        timeout -k 2 2 "$program" "$@" >stdout 2>stderr
    got=$?
    [[ $got == "$status" && $(<stdout) =~ $out && ( -z $err || $(<stderr) =~ $err ) ]] && return
    printf 'quolvet %s: status %s, wanted %s\n--- stdout\n%s\n--- stderr\n%s\n' "$*" "$got" "$status" "$(<stdout)" "$(<stderr)"
    failed=1
}

check 0 "^$usage" '^$' --help
check 0 "^quolvet $version\$" '^$' --version
check 2 '^$' "^quolvet: Unknown option 'bogus'\.
$usage" --bogus
check 2 '^$' "^quolvet: Unexpected argument 'stray'\.
$usage" --no-music stray
check 2 '^$' "^quolvet: Missing value after '-platform'\." -platform
check 1 '^$' '^quolvet: no display found' --no-music
check 124 '^$' '' -platform offscreen -style fusion -reverse -qwindowgeometry 640x480+0+0 --no-music
[[ $(tr -d '\0' <out.raw 2>/dev/null | wc -c) == 0 ]] || { echo "--no-music: the music played"; failed=1; }
exit $failed
