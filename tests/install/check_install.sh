#!/usr/bin/env bash
# Installs the current build into a scratch DESTDIR and checks that the whole game is there.
#   check_install.sh BUILD_DIR SCRATCH PREFIX BINDIR LIBDIR DATADIR APP_ID
set -euo pipefail
build="$1" scratch="$2"
PREFIX="$3" BINDIR="$4" LIBDIR="$5" DATADIR="$6" APP_ID="$7"
source "$(dirname "$0")/installed_files.sh"

rm -rf "$scratch"
DESTDIR="$scratch" cmake --install "$build" >/dev/null
check_installed_tree "$scratch"
report_faults
