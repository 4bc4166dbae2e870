#!/usr/bin/env bash
# Runs the fuzzer for a bounded time. New inputs go to a scratch corpus, never to the seeds.
set -euo pipefail
fuzzer=$1 seeds=$2 corpus=$3 seconds=$4
rm -rf "$corpus"
mkdir -p "$corpus"
exec "$fuzzer" -max_total_time="$seconds" -timeout=10 -max_len=4096 -print_final_stats=1 "$corpus" "$seeds"
