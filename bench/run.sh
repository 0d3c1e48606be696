#!/bin/bash
# Runs the engine benchmarks (wall-clock medians, repeatable instruction and cache-miss
# counts) and the editor's paint times on the raster. The open editor's CPU under Wine is
# measured by bench/editor_cpu.sh, two builds of the plug-in side by side by
# bench/plugin_ab.sh, Soravel against the peer reverb by bench/peer_ab.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/build.sh native >/dev/null
build/native/bench/reverb_bench --benchmark_min_time=0.2 2>/dev/null | grep -E '_median|Benchmark'
build/native/bench/meter_paint_bench 2>/dev/null | grep -E '_median'

# Callgrind's counts per stereo frame inside MeasuredBlocks: instructions, and
# first-level data-cache misses (reads and writes) in its simulation of this
# machine's caches. Arguments: program, block, rate, forms.
count() {
  local out frames
  out=$(valgrind --tool=callgrind --cache-sim=yes --callgrind-out-file=/dev/null \
        --toggle-collect=MeasuredBlocks build/native/bench/reverb_count "$@" 2>&1)
  frames=$(echo "$out" | sed -n 's/^frames \([0-9]*\)/\1/p')
  echo "$out" | awk -v frames="$frames" '
    /Events *:/ { for (i = 4; i <= NF; ++i) name[i] = $i }
    /Collected :/ { for (i = 4; i <= NF; ++i) v[name[i]] = $i }
    END { printf "%.1f %.2f\n", v["Ir"] / frames, (v["D1mr"] + v["D1mw"]) / frames }'
}
for mode in default eq; do
  read -r ir d1 < <(count "$mode" 512 44100)
  echo "callgrind $mode, 44.1 kHz, 512-frame blocks: $ir instructions, $d1 D1 misses per stereo frame"
done
echo "callgrind default program, 48 kHz: instructions (D1 misses) per stereo frame"
printf '%-6s %-16s %-16s\n' block AVX "SSE2 alone"
for block in 32 64 512 4096; do
  read -r a ad < <(count default "$block" 48000)
  read -r s sd < <(count default "$block" 48000 sse2)
  printf '%-6s %-16s %-16s\n' "$block" "$a ($ad)" "$s ($sd)"
done
