#!/bin/bash
# The .deb installed and removed with dpkg on this machine, as root (as in CI):
# after dpkg -i, lv2ls without LV2_PATH lists the plug-in, the VST 2.x binary loads
# from /usr/lib/lxvst in a test host, soravel-render runs from PATH and finds it
# there, man finds the page; after dpkg -r none of the package's files remains.
# Usage: deb_install.sh DEB PROBE LV2_URI VERSION
set -uo pipefail
deb=$1 probe=$2 uri=$3 version=$4
if [ "$(id -u)" != 0 ]; then echo "SKIP: dpkg -i needs root (CI runs as root)"; exit 77; fi
if dpkg-query -W -f='${Status}' soravel 2>/dev/null | grep -q "ok installed"; then
  echo "SKIP: a soravel package is installed on this machine already; the test leaves it alone"
  exit 77
fi
fail() { echo "FAIL: $*" >&2; dpkg -r soravel >/dev/null 2>&1; exit 1; }
files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }')

dpkg -i "$deb" || fail "dpkg -i"
env -u LV2_PATH lv2ls | grep -qx "$uri" || fail "lv2ls does not list $uri"
answer=$("$probe" /usr/lib/lxvst/Soravel.so) || fail "the test host could not load /usr/lib/lxvst/Soravel.so"
[[ "$answer" == Soravel\|* ]] || fail "/usr/lib/lxvst/Soravel.so answers '$answer'"
[ "$(PATH=/usr/bin:/bin bash -c 'command -v soravel-render')" = /usr/bin/soravel-render ] ||
  fail "soravel-render is not on PATH"
[ "$(env PATH=/usr/bin:/bin soravel-render --version)" = "soravel-render $version" ] ||
  fail "soravel-render --version from PATH"
ld=$(env PATH=/usr/bin:/bin LD_DEBUG=files soravel-render --list 2>&1 >/dev/null) || fail "soravel-render --list"
grep -q "file=/usr/bin/../lib/lxvst/Soravel.so " <<<"$ld" || fail "the installed soravel-render loaded another Soravel.so"
[ "$(man -w soravel-render)" = /usr/share/man/man1/soravel-render.1.gz ] || fail "man -w soravel-render"

dpkg -r soravel || fail "dpkg -r"
left=""
for f in $files /usr/lib/lv2/Soravel.lv2 /usr/share/doc/soravel; do
  [ -e "$f" ] && left+=" $f"
done
[ -z "$left" ] || { echo "FAIL: after dpkg -r these remain:$left"; exit 1; }
echo "dpkg: installed, found by lv2ls, the test host, PATH and man; removed without a trace"
