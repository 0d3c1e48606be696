#!/bin/sh
# Runs a Windows executable under Wine with the build folder's private prefix.
# WINEPREFIX may be set by the caller; otherwise it lives next to the executable's build tree.
: "${WINEPREFIX:=${SORAVEL_WINEPREFIX:-$PWD/wineprefix}}"
export WINEPREFIX WINEDEBUG=-all
exec wine "$@"
