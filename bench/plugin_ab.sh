#!/bin/bash
# This tree's Soravel.so against the one built from a git revision (by default
# the late network's last one-sample-at-a-time loop, 4f58175), in one
# interleaved run: ROUNDS rounds (at least 7) of SECONDS of CPU time each, the
# order swapped every round; medians of the rounds and of their ratios.
#   bench/plugin_ab.sh [REVISION [ROUNDS [SECONDS]]]
# The revision is exported with `git archive` and built in a temporary folder.
set -euo pipefail
cd "$(dirname "$0")/.."
rev=${1:-4f58175}
rounds=${2:-7}
seconds=${3:-3}
if [ "$rounds" -lt 7 ]; then echo "at least 7 rounds" >&2; exit 2; fi

tools/build.sh native >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
git archive --format=tar "$rev" | tar -x -C "$work"
cmake -S "$work" -B "$work/build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$work/build" -j2 --target Soravel >/dev/null

echo "A: $rev ($(git log -1 --format=%h "$rev")), B: this tree ($(git rev-parse --short HEAD)$(git diff --quiet HEAD -- || echo ', with changes'))"
build/native/bench/plugin_ab "$work/build/plugin/Soravel.so" build/native/plugin/Soravel.so \
  "$rounds" "$seconds"
