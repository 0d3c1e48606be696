#!/bin/bash
# What an open editor costs Soravel.so's host natively: the whole machine's busy time
# over 10 s with the editor open in an X window (Xvfb) minus the same with it closed,
# audio processed at real-time pace and the editor idled every 20 ms in both; median
# of three runs each, in percent of one core. Also the same difference for the CPU time
# of the host process and the X server only, which other work on a shared machine
# leaves alone. SORAVEL_BENCH_ZOOM=2 opens the editor at 200 % (on a screen large
# enough for it, SORAVEL_BENCH_SCREEN=1600x1000x24).
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${SORAVEL_BENCH_DISPLAY:-}" ]; then
  tools/build.sh native >/dev/null
  SORAVEL_BENCH_DISPLAY=1 exec xvfb-run -a -s "-screen 0 ${SORAVEL_BENCH_SCREEN:-1024x768x24}" "$0" "$@"
fi
host=build/native/bench/editor_cpu_x11
plugin=build/native/plugin/Soravel.so
# The virtual server of this run (xvfb-run names its display in the command line).
SORAVEL_XSERVER_PID=$(pgrep -f "^Xvfb ${DISPLAY}( |$)" | head -n1 || true)
export SORAVEL_XSERVER_PID
median() { printf '%s\n' "$@" | sort -g | sed -n 2p; }
mc=() pc=() mo=() po=()
for run in 1 2 3; do
  read -r m p < <($host $plugin closed 10); mc+=("$m"); pc+=("$p")
  read -r m p < <($host $plugin open 10); mo+=("$m"); po+=("$p")
done
echo "whole machine, busy cores, editor closed: ${mc[*]}; open: ${mo[*]}"
echo "host process + X server, cores, editor closed: ${pc[*]}; open: ${po[*]}"
awk -v o="$(median "${mo[@]}")" -v c="$(median "${mc[@]}")" \
  'BEGIN { printf "open editor, whole machine: %.2f %% of one core\n", 100 * (o - c) }'
awk -v o="$(median "${po[@]}")" -v c="$(median "${pc[@]}")" \
  'BEGIN { printf "open editor, host process + X server: %.2f %% of one core\n", 100 * (o - c) }'
