#!/bin/sh
# Checks what a built plug-in exports (exactly VSTPluginMain and main, or the
# names given) and, for Windows, that it imports nothing beyond the DLLs Windows
# ships.
# Usage: check_binary.sh so|dll FILE [EXPORT...]
set -eu
kind=$1 file=$2
shift 2
if [ $# -gt 0 ]; then
  expected=$(printf '%s\n' "$@" | sort | tr '\n' ' ')
else
  expected="VSTPluginMain main "
fi
fail() { echo "check_binary: $*" >&2; exit 1; }
[ -f "$file" ] || fail "no such file: $file"

case "$kind" in
  so)
    exports=$(nm -D --defined-only "$file" | awk '{print $3}' | sort | tr '\n' ' ')
    [ "$exports" = "$expected" ] || fail "exports are: $exports"
    if [ "$expected" = "VSTPluginMain main " ]; then
      # Both names are one function.
      addrs=$(nm -D --defined-only "$file" | awk '{print $1}' | sort -u | wc -l)
      [ "$addrs" -eq 1 ] || fail "VSTPluginMain and main differ"
    fi
    ;;
  dll)
    dump=$(x86_64-w64-mingw32-objdump -p "$file")
    exports=$(printf '%s\n' "$dump" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
      sed -n '/Table/!s/.*\] //p' | sort | tr '\n' ' ')
    [ "$exports" = "$expected" ] || fail "exports are: $exports"
    imports=$(printf '%s\n' "$dump" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')
    for dll in $imports; do
      case "$dll" in
        kernel32.dll | msvcrt.dll | user32.dll | gdi32.dll | advapi32.dll | ole32.dll | \
          shell32.dll | msimg32.dll | ntdll.dll | ucrtbase.dll | api-ms-win-*.dll) ;;
        *) fail "imports a DLL Windows does not ship: $dll" ;;
      esac
    done
    ;;
  *) fail "unknown kind $kind" ;;
esac
echo "check_binary: $kind ok"
