#!/bin/bash
# Runs the engine benchmarks (wall-clock medians, repeatable instruction and cache-miss
# counts) and the editor's paint times on the raster. The open editor's CPU under Wine is
# measured by bench/editor_cpu.sh, two builds of the plug-in side by side by
# bench/plugin_ab.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/build.sh native >/dev/null
build/native/bench/reverb_bench --benchmark_min_time=0.2 2>/dev/null | grep -E '_median|Benchmark'
build/native/bench/meter_paint_bench 2>/dev/null | grep -E '_median'
# Instructions and first-level data-cache misses (reads and writes) per stereo frame,
# from callgrind's cache simulation of this machine's caches.
for mode in default eq; do
  out=$(valgrind --tool=callgrind --cache-sim=yes --callgrind-out-file=/dev/null \
        --toggle-collect=MeasuredBlocks build/native/bench/reverb_count "$mode" 2>&1)
  frames=$(echo "$out" | sed -n 's/^frames \([0-9]*\)/\1/p')
  echo "$out" | awk -v frames="$frames" -v mode="$mode" '
    /Events *:/ { for (i = 4; i <= NF; ++i) name[i] = $i }
    /Collected :/ { for (i = 4; i <= NF; ++i) v[name[i]] = $i }
    END { printf "callgrind %s: %.0f instructions, %.2f D1 misses per stereo frame\n",
                 mode, v["Ir"] / frames, (v["D1mr"] + v["D1mw"]) / frames }'
done
