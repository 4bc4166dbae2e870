#!/usr/bin/env bash
# The computer's moves on a Wayland compositor: each picture reaches it before its pause.
set -euo pipefail
source "$(dirname "$0")/../support/session.sh"
start_weston
start_bus
QT_QPA_PLATFORM=wayland QUOLVET_COMPOSITOR_LOG="$SESSION_DIR/weston.log" "$1" --gtest_filter='*Compositor*'
