#!/bin/bash
# Whether this tree's engine renders every sample bit for bit as a git
# revision's does (by default main's): bench/render_hash.cpp, built against
# both, prints a hash of every output bit and meter value of 520 renders; the
# script compares the two lists.
#   bench/render_hash.sh [REVISION]
# The revision is exported with `git archive` and its engine built in a
# temporary folder, with this tree's bench/render_hash.cpp.
set -euo pipefail
cd "$(dirname "$0")/.."
rev=${1:-main}
tools/build.sh native >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
git archive --format=tar "$rev" | tar -x -C "$work"
cp bench/render_hash.cpp "$work/bench/"
if ! grep -q render_hash "$work/bench/CMakeLists.txt"; then
  printf '\nadd_executable(render_hash render_hash.cpp)\ntarget_link_libraries(render_hash PRIVATE soravel_engine)\n' \
    >>"$work/bench/CMakeLists.txt"
fi
cmake -S "$work" -B "$work/build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$work/build" -j2 --target render_hash >/dev/null
"$work/build/bench/render_hash" >"$work/theirs.txt"
build/native/bench/render_hash >"$work/ours.txt"
if diff "$work/theirs.txt" "$work/ours.txt"; then
  echo "bit for bit: this tree ($(git rev-parse --short HEAD)) and $rev, $(wc -l <"$work/ours.txt") hashes of 13 renders each"
else
  echo "the renders differ from $rev's (above: < $rev, > this tree)"
  exit 1
fi
