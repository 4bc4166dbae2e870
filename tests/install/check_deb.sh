#!/usr/bin/env bash
# Packs the current build into a .deb, has lintian check it, unpacks it into a scratch root, checks
# its files and the dependencies it declares, and starts the unpacked program from another folder:
# it must find and play its own sounds. Debian's checks want the build configured for /usr, as the
# Makefile configures every build tree.
#   check_deb.sh BUILD_DIR SCRATCH PREFIX GAMESDIR DATADIR APP_ID VERSION
set -euo pipefail
build=$1 scratch=$2 prefix=$3 gamesdir=$4 datadir=$5 app=$6 version=$7
source "$(dirname "$0")/../support/session.sh"
faults=()
fault() { faults+=("$1"); }

rm -rf "$scratch"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch.log" 2>&1 || { cat "$scratch.log" >&2; exit 1; }
deb=$scratch/out/quolvet_${version}_$(dpkg --print-architecture).deb
# Debian's checks: no error and no warning (the informational tags are ours to weigh).
lintian --fail-on error,warning "$deb" >"$scratch/lintian" 2>&1 || fault "lintian: $(grep -v root "$scratch/lintian")"
dpkg -x "$deb" "$scratch/root"
top=$scratch/root$prefix

# The program, its sound library and the music are proved by the run at the end; lintian asks for
# the copyright, the changelog and the manual page.
for file in quolvet/{その他,禁止,駒打音}.wav applications/$app.desktop metainfo/$app.metainfo.xml; do
    [[ -s $top/$datadir/$file ]] || fault "no $file"
done
for size in 32 48 64 128 256; do
    icon=$top/$datadir/icons/hicolor/${size}x${size}/apps/$app.png
    [[ $(file -b "$icon" 2>/dev/null) == *"$size x $size"* ]] || fault "no ${size}x${size} icon"
done
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libsdl2-2.0-0 qt6-qpa-plugins fonts-ipafont-mincho; do
    [[ $depends == *"$needed"* ]] || fault "Depends lacks $needed: $depends"
done

# Started from a folder without sounds, the music reaches SDL's disk output within a few seconds.
start_xvfb
mkdir "$scratch/elsewhere"
(cd "$scratch/elsewhere" && exec env SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=out.raw "$top/$gamesdir/quolvet" 2>/dev/null) &
APP_PID=$!
sounded() { [[ -s $1 && $(tr -d '\0' <"$1" | head -c 1 | wc -c) -eq 1 ]]; }
await "sounded $scratch/elsewhere/out.raw" 80 ||
    fault "started from another folder, the unpacked program plays no sound"

[[ ${#faults[@]} -eq 0 ]] || { printf '%s\n' "${faults[@]}" >&2; exit 1; }
echo "the package is whole and plays"
