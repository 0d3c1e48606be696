#!/bin/bash
# Soravel against the lightest peer reverb, Dragonfly Plate (Debian's
# dragonfly-reverb-vst, run as a black box), in our own host
# (bench/plugin_ab.cpp): one interleaved run per block size of
#   A Dragonfly Plate, B Soravel.so (AVX where the processor has it),
#   C Soravel.so with the SSE2 forms alone (as on processors without AVX),
#   D Soravel.dll under Wine (AVX where the processor has it),
# each at its default program, 48 kHz, noise; medians of the rounds and of the
# rounds' ratios (B/A, C/A, D/A against Plate, D/B the DLL against the .so).
#   bench/peer_ab.sh [ROUNDS [SECONDS [BLOCK...]]]    (7 rounds of 3 s, blocks 32 and 512)
# Needs the peer: apt-get install dragonfly-reverb-vst
set -euo pipefail
cd "$(dirname "$0")/.."
plate=/usr/lib/lxvst/DragonflyPlateReverb-vst.so
if [ ! -e "$plate" ]; then
  echo "needs Debian's Dragonfly Plate: apt-get install dragonfly-reverb-vst" >&2
  exit 2
fi
rounds=${1:-7}
seconds=${2:-3}
blocks=("${@:3}")
[ ${#blocks[@]} -gt 0 ] || blocks=(32 512)
if [ "$rounds" -lt 7 ]; then echo "at least 7 rounds" >&2; exit 2; fi

tools/build.sh native >/dev/null
tools/build.sh win >/dev/null
cmake -S . -B build/sse2 -G Ninja -DCMAKE_BUILD_TYPE=Release -DSORAVEL_WIDE_VECTORS=OFF >/dev/null
cmake --build build/sse2 -j2 --target Soravel >/dev/null

export WINEPREFIX="$PWD/build/win/wineprefix" WINEDEBUG=-all
mkdir -p "$WINEPREFIX"
wineserver -p >/dev/null 2>&1 </dev/null || true  # already running is fine
wine cmd /c exit >/dev/null 2>&1 || true
trap 'wineserver -k || true' EXIT

echo "this tree: $(git rev-parse --short HEAD)$(git diff --quiet HEAD -- || echo ', with changes')"
for block in "${blocks[@]}"; do
  build/native/bench/plugin_ab --block "$block" --rate 48000 --win-host build/win/bench/plugin_ab.exe \
    "$plate" build/native/plugin/Soravel.so build/sse2/plugin/Soravel.so build/win/plugin/Soravel.dll \
    "$rounds" "$seconds"
done
