#!/bin/bash
# What an open editor costs Soravel.so's host natively: the whole machine's busy time
# over 10 s with the editor open in an X window (Xvfb) minus the same with it closed,
# audio processed at real-time pace and the editor idled every 20 ms in both; median
# of three runs each, in percent of one core.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${SORAVEL_BENCH_DISPLAY:-}" ]; then
  tools/build.sh native >/dev/null
  SORAVEL_BENCH_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
host=build/native/bench/editor_cpu_x11
plugin=build/native/plugin/Soravel.so
median() { printf '%s\n' "$@" | sort -g | sed -n 2p; }
opened=() closed=()
for run in 1 2 3; do
  closed+=("$($host $plugin closed 10)")
  opened+=("$($host $plugin open 10)")
done
o=$(median "${opened[@]}") c=$(median "${closed[@]}")
echo "busy cores, editor closed: ${closed[*]} (median $c)"
echo "busy cores, editor open:   ${opened[*]} (median $o)"
awk -v o="$o" -v c="$c" 'BEGIN { printf "open editor: %.2f %% of one core\n", 100 * (o - c) }'
