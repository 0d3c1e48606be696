#!/bin/bash
# Debian's package checker finds no error and no warning in the .deb (the
# package keeps none, so there is no override to explain).
# Usage: deb_lintian.sh DEB
set -uo pipefail
command -v lintian >/dev/null || { echo "SKIP: lintian is not installed (tools/setup.sh installs it)"; exit 77; }
out=$(lintian --fail-on error,warning "$1" 2>&1)
rc=$?
out=$(grep -v "running with root privileges is not recommended" <<<"$out")
[ -z "$out" ] || echo "$out"
[ "$rc" = 0 ] || { echo "FAIL: lintian reported errors or warnings"; exit 1; }
echo "lintian: no errors, no warnings"
