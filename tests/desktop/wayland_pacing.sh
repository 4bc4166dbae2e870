#!/usr/bin/env bash
# The computer's moves on a Wayland compositor: its choice reaches the compositor at once and
# stays 0.7 s, then each of the four pick-up frames stays 0.1 s, within 20 ms.
set -euo pipefail
source "$(dirname "$0")/../support/session.sh"
start_weston
start_bus
moves=$(QT_QPA_PLATFORM=wayland "$1" --gtest_filter='*ComputerMoves*' | sed -n 's/^computer moves: //p')
client=$(grep -m 1 'set_title("Quolvet")' "$SESSION_DIR/weston.log" | grep -o 'client 0x[0-9a-f]*')
grep "$client rq wl_surface@[0-9]*\.commit" "$SESSION_DIR/weston.log" | cut -c13-24 | awk -F: -v moves="$moves" '
    function held(i, want) { return i > 1 && i <= NR && (t[i] - t[i - 1] - want) ^ 2 <= 400 }
    { t[NR] = ($1 * 3600 + $2 * 60 + $3) * 1000 }
    END {
        for (i = 2; i <= NR; i++) shown += held(i, 700) && held(i + 1, 100) && held(i + 2, 100) && held(i + 3, 100) && held(i + 4, 100)
        print shown " of " moves " computer moves shown at their pace"
        exit !(moves > 0 && shown == moves)
    }'
