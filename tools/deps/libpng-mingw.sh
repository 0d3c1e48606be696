#!/bin/bash
# Builds a static libpng for the Windows target from Debian's own source
# package, against the static zlib of libz-mingw-w64-dev. The source comes
# through a private apt configuration (deb-src entries made from the machine's
# own deb entries), so the system's apt configuration stays untouched.
# Skipped when already built. Usage: tools/deps/libpng-mingw.sh OUTDIR
set -euo pipefail
out=$(realpath -m "${1:?usage: libpng-mingw.sh OUTDIR}")
[ -f "$out/lib/libpng.a" ] && [ -f "$out/include/png.h" ] && exit 0

work="$out/work"
rm -rf "$work"
mkdir -p "$work/apt/sources" "$work/apt/lists/partial" "$work/apt/cache/archives/partial" "$work/src"

# deb-src twins of the machine's Debian entries (deb822 and one-line formats).
for f in /etc/apt/sources.list.d/*.sources; do
  [ -f "$f" ] || continue
  sed -e 's/^Types:.*deb.*/Types: deb-src/' "$f" > "$work/apt/sources/$(basename "$f")"
done
if [ -f /etc/apt/sources.list ]; then
  sed -n 's/^deb \(.*\)/deb-src \1/p' /etc/apt/sources.list > "$work/apt/sources/one-line.list"
fi
apt_opts=(-o "Dir::Etc::SourceList=/dev/null" -o "Dir::Etc::SourceParts=$work/apt/sources"
          -o "Dir::State::Lists=$work/apt/lists" -o "Dir::Cache=$work/apt/cache" -o "APT::Sandbox::User=root")
apt-get "${apt_opts[@]}" update -qq
# Unpacked with Debian's patches applied (dpkg-source, from dpkg-dev).
(cd "$work/src" && apt-get "${apt_opts[@]}" source -qq libpng1.6/bookworm >/dev/null)
srcdir=$(find "$work/src" -maxdepth 1 -type d -name 'libpng*' | head -n 1)

cc=x86_64-w64-mingw32-gcc-posix
cp "$srcdir/scripts/pnglibconf.h.prebuilt" "$srcdir/pnglibconf.h"
objs=()
for c in png pngerror pngget pngmem pngpread pngread pngrio pngrtran pngrutil pngset pngtrans \
         pngwio pngwrite pngwtran pngwutil; do
  "$cc" -O2 -march=x86-64 -ffp-contract=off -I"$srcdir" -c "$srcdir/$c.c" -o "$work/$c.o"
  objs+=("$work/$c.o")
done
mkdir -p "$out/lib" "$out/include"
rm -f "$out/lib/libpng.a"
x86_64-w64-mingw32-ar rcs "$out/lib/libpng.a" "${objs[@]}"
cp "$srcdir/png.h" "$srcdir/pngconf.h" "$srcdir/pnglibconf.h" "$out/include/"
rm -rf "$work"
echo "libpng for Windows: $out"
