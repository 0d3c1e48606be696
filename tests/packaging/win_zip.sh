#!/bin/bash
# The zip holds Soravel.dll (this version's, by its version resource) and the
# read-me, and nothing else but the VST 3 bundle when there is one.
# Usage: win_zip.sh ZIP VERSION
set -euo pipefail
zip=$1 version=$2
here=$(dirname "$0")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 -m zipfile -e "$zip" "$work"
extra=$(cd "$work" && find . -type f | sed 's|^\./||' | grep -v -x -e Soravel.dll -e README.txt |
        grep -v '^Soravel\.vst3/' || true)
[ -z "$extra" ] || { echo "FAIL: unexpected files in the zip: $extra"; exit 1; }
for f in Soravel.dll README.txt; do
  [ -s "$work/$f" ] || { echo "FAIL: $f missing from the zip"; exit 1; }
done
python3 "$here/pe_version.py" "$work/Soravel.dll" | grep -qx "ProductVersion=$version" ||
  { echo "FAIL: the zipped Soravel.dll is not version $version"; exit 1; }
# Windows' Notepad before 2018 shows a file with bare line feeds on one line.
if grep -q $'[^\r]$' "$work/README.txt"; then echo "FAIL: README.txt has lines without CRLF"; exit 1; fi
echo "zip: Soravel.dll $version and README.txt"
