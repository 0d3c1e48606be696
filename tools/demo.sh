#!/bin/bash
# The main job on a fresh machine: installs what is missing, builds the
# plug-in for Linux (Soravel.so) and Windows (Soravel.dll), and renders the
# built-in demo through Soravel.so into soravel-demo.wav.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
tools/build.sh native
tools/build.sh win
build/native/tools/render/soravel-render --demo soravel-demo.wav
echo "demo: soravel-demo.wav"
echo "plug-ins: build/native/plugin/Soravel.so, build/win/plugin/Soravel.dll"
