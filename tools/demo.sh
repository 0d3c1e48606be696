#!/bin/bash
# The main job: builds everything (Linux and Windows) and renders the built-in
# demo (plucks and claps through the default program) to soravel-demo.wav.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
tools/build.sh native
tools/build.sh win
build/native/tools/soravel-engine-demo "${1:-soravel-demo.wav}"
