#!/bin/bash
# Soravel.dll's engine counted under Wine: instructions per stereo frame of the
# Windows form of reverb_count (the engine as the DLL links it), default program
# at 48 kHz, AVX forms and SSE2 forms alone. Under Wine callgrind sees no
# function names, so each figure is the difference of two runs (FRAMES and
# twice FRAMES counted frames, the same warm-up) divided by FRAMES.
#   bench/dll_count.sh [BLOCK...]    (blocks 32, 64, 512 and 4096 by default)
set -euo pipefail
cd "$(dirname "$0")/.."
blocks=("$@")
[ ${#blocks[@]} -gt 0 ] || blocks=(32 64 512 4096)
tools/build.sh win >/dev/null
export WINEPREFIX="$PWD/build/win/wineprefix" WINEDEBUG=-all
mkdir -p "$WINEPREFIX"
work=$(mktemp -d)
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
wineserver -p >/dev/null 2>&1 </dev/null || true  # already running is fine
wine cmd /c exit >/dev/null 2>&1 || true
exe=build/win/bench/reverb_count.exe
frames=204800

# Instructions of the reverb_count process in one run: block, forms, frames.
run() {
  rm -f "$work"/cg.*
  valgrind --tool=callgrind --trace-children=yes --callgrind-out-file="$work/cg.%p" \
    wine "$exe" default "$1" 48000 "$2" "$3" >/dev/null 2>&1 </dev/null
  for f in "$work"/cg.*; do
    if grep -m1 '^cmd:' "$f" | grep -q reverb_count; then sed -n 's/^summary: //p' "$f"; fi
  done | sort -n | tail -1
}

echo "Soravel.dll's engine under Wine, default program, 48 kHz: instructions per stereo frame"
printf '%-6s %-8s %-8s\n' block AVX "SSE2 alone"
for block in "${blocks[@]}"; do
  line=$(printf '%-6s' "$block")
  for forms in avx sse2; do
    once=$(run "$block" "$forms" "$frames")
    twice=$(run "$block" "$forms" $((2 * frames)))
    line+=$(awk -v a="$once" -v b="$twice" -v f="$frames" 'BEGIN { printf " %-8.1f", (b - a) / f }')
  done
  echo "$line"
done
