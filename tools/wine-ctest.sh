#!/bin/bash
# Runs the Windows tree's tests under Wine; expects DISPLAY and WINEPREFIX to be set
# (tools/test.sh runs it inside xvfb-run).
set -uo pipefail
cd "$(dirname "$0")/.."
wineserver -p
wine cmd /c exit >/dev/null 2>&1 || true
ctest --test-dir build/win --output-on-failure
rc=$?
wineserver -k || true
exit $rc
