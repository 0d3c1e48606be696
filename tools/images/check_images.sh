#!/bin/sh
# Regenerate the editor images into a temporary folder and compare them byte
# for byte with the committed ones.  Usage: check_images.sh [DIR]
# (DIR defaults to editor/images of this repository).
here=$(cd "$(dirname "$0")" && pwd)
dir=${1:-$here/../../editor/images}

# The generator needs cairo and pypng; a python3 earlier on PATH (a version
# manager's shim, say) may lack them, so prefer one that has both.
py=
for cand in python3 /usr/bin/python3; do
    if command -v "$cand" >/dev/null 2>&1 &&
       "$cand" -c 'import cairo, png' >/dev/null 2>&1; then
        py=$cand
        break
    fi
done
if [ -z "$py" ]; then
    echo "check_images: no python3 with the cairo and png modules" \
         "(Debian: python3-cairo python3-png)" >&2
    exit 2
fi
exec "$py" "$here/make_images.py" --check "$dir"
