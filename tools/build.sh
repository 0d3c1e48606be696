#!/bin/bash
# Configures and builds one of Soravel's build trees: native, asan, tsan or win.
# Usage: tools/build.sh KIND   (the tree lands in build/KIND)
set -euo pipefail
cd "$(dirname "$0")/.."
kind=${1:-native}
args=(-G Ninja -DCMAKE_BUILD_TYPE=Release)
case "$kind" in
  native) ;;
  asan) args=(-G Ninja -DCMAKE_BUILD_TYPE=Debug -DSORAVEL_SANITIZE=ON) ;;
  tsan) args=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSORAVEL_TSAN=ON) ;;
  win)
    tools/deps/libpng-mingw.sh build/deps/libpng-mingw
    args+=(-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake) ;;
  *) echo "unknown build kind: $kind (native, asan, tsan, win)" >&2; exit 2 ;;
esac
# Rebuilds of unchanged sources come from the compiler cache where there is one.
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR="$PWD"  # paths inside the tree hash alike in every clone
  args+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "build/$kind" "${args[@]}" >/dev/null
cmake --build "build/$kind" -j2
