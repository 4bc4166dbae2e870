#!/usr/bin/env bash
# Packs the current build into a .deb in a scratch folder, unpacks it into a scratch root and
# checks its files and its control fields.
#   check_deb.sh BUILD_DIR SCRATCH PREFIX BINDIR LIBDIR DATADIR APP_ID VERSION
set -euo pipefail
build="$1" scratch="$2"
PREFIX="$3" BINDIR="$4" LIBDIR="$5" DATADIR="$6" APP_ID="$7" version="$8"
source "$(dirname "$0")/installed_files.sh"

rm -rf "$scratch"
mkdir -p "$scratch"
if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1; then
    cat "$scratch/cpack.log" >&2
    exit 1
fi
deb="$scratch/out/quolvet_${version}_$(dpkg --print-architecture).deb"
[[ -f "$deb" ]] || { echo "no $deb; cpack made: $(ls "$scratch/out")" >&2; exit 1; }

dpkg -x "$deb" "$scratch/root"
check_installed_tree "$scratch/root"
[[ -f "$scratch/root$PREFIX/$DATADIR/doc/quolvet/copyright" ]] || fault "no copyright file"

field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == quolvet ]] || fault "Package is '$(field Package)'"
[[ $(field Version) == "$version" ]] || fault "Version is '$(field Version)'"
[[ $(field Section) == games ]] || fault "Section is '$(field Section)'"
[[ -n $(field Maintainer) ]] || fault "no Maintainer"
[[ -n $(field Description) ]] || fault "no Description"
depends=$(field Depends)
for needed in libqt6widgets6 libsdl2-2.0 qt6-qpa-plugins fonts-ipafont-mincho; do
    [[ $depends == *"$needed"* ]] || fault "Depends lacks $needed: $depends"
done
[[ $depends != *quolvet* ]] || fault "Depends names the game's own library: $depends"
report_faults
