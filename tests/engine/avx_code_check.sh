#!/bin/sh
# The AVX code in the engine's object and in the plug-in binary: no fused
# multiply-add (every target runs the same arithmetic), and with `aligned`
# (Windows, where the stack is aligned to 16 bytes only) no aligned 256-bit
# load or store; and the binary does hold the AVX forms.
#   avx_code_check.sh OBJDUMP AR ENGINE_LIBRARY PLUGIN_BINARY [aligned]
set -u
objdump=$1 ar=$2 lib=$3 binary=$4 aligned=${5:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
member=$("$ar" t "$lib" | grep '^wide_kernels\.cpp\.o')
if [ -z "$member" ]; then echo "no AVX object in $lib"; exit 1; fi
"$ar" p "$lib" "$member" >"$work/$member" || exit 1
"$objdump" -d "$work/$member" >"$work/object.s" || exit 1
"$objdump" -d "$binary" >"$work/binary.s" || exit 1

status=0
for f in object binary; do
  if grep -E '\svfn?m(add|sub)' "$work/$f.s"; then
    echo "$f: fused multiply-add"
    status=1
  fi
  if [ -n "$aligned" ] && grep -E '\svmov(ap[sd]|dqa|nt[a-z]*)\s[^#]*%ymm' "$work/$f.s"; then
    echo "$f: aligned 256-bit move"
    status=1
  fi
  if ! grep -q '%ymm' "$work/$f.s"; then
    echo "$f: no 256-bit code"
    status=1
  fi
done
[ "$status" -eq 0 ] && echo "AVX code checked: $member in $lib, $binary"
exit "$status"
