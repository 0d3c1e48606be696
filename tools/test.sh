#!/bin/bash
# Builds every configuration and runs the whole test suite:
# native, with Address/UndefinedBehavior sanitizers, with ThreadSanitizer, and as
# Windows executables under Wine. Exits non-zero when any test fails.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh

status=0

# The X11 editor tests need a display: each native tree's tests run on a virtual one.
for kind in native asan tsan; do
  echo "== $kind (on a virtual X display) =="
  tools/build.sh "$kind"
  xvfb-run -a -s "-screen 0 1024x768x24" \
    ctest --test-dir "build/$kind" --output-on-failure --no-tests=error || status=1
done

echo "== win (under Wine, on a virtual X display) =="
tools/build.sh win
export WINEPREFIX="$PWD/build/win/wineprefix" WINEDEBUG=-all
# A fresh tree has no prefix yet; the server refuses to start without its folder.
mkdir -p "$WINEPREFIX"
# The frame window tests need a display: Xvfb serves the whole Wine session. Wine's
# server and services start outside ctest's pipes (tools/wine-ctest.sh), so that test
# processes do not wait for them to let go of the output pipe.
xvfb-run -a -s "-screen 0 1024x768x24" tools/wine-ctest.sh || status=1

if [ "$status" -ne 0 ]; then echo "test suite: FAILED"; else echo "test suite: all passed"; fi
exit "$status"
