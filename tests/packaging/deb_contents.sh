#!/bin/bash
# The .deb's files and control fields, and the tarball's: every file at its place
# and none elsewhere, Depends computed from the binaries (the editor's libraries,
# no -dev package), and the tarball's soravel-render finding the Soravel.so beside it.
# Usage: deb_contents.sh DEB TARBALL VERSION
set -euo pipefail
deb=$1 tgz=$2 version=$3
fail() { echo "FAIL: $*" >&2; exit 1; }

files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' | sort)
for f in usr/lib/lxvst/Soravel.so usr/lib/lv2/Soravel.lv2/manifest.ttl usr/lib/lv2/Soravel.lv2/soravel.ttl \
         usr/lib/lv2/Soravel.lv2/presets.ttl usr/lib/lv2/Soravel.lv2/soravel_dsp.so \
         usr/lib/lv2/Soravel.lv2/soravel_ui.so usr/bin/soravel-render \
         usr/share/man/man1/soravel-render.1.gz usr/share/doc/soravel/copyright \
         usr/share/doc/soravel/changelog.gz; do
  grep -qx "$f" <<<"$files" || fail "$f is not in the package"
done
outside=$(grep -v -e '^usr/lib/lxvst/' -e '^usr/lib/lv2/Soravel\.lv2/' -e '^usr/lib/vst3/Soravel\.vst3/' \
          -e '^usr/bin/soravel-render$' -e '^usr/share/man/man1/' -e '^usr/share/doc/soravel/' <<<"$files" || true)
[ -z "$outside" ] || fail "files outside the listed folders: $outside"
# Hosts load the plug-ins; nothing runs them.
modes=$(dpkg-deb -c "$deb" | awk '$6 ~ /\.so$/ && $1 ~ /x/ { print $6 }')
[ -z "$modes" ] || fail "executable plug-in modules: $modes"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = soravel ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = amd64 ] || fail "Architecture: $(field Architecture)"
[ "$(field Section)" = sound ] || fail "Section: $(field Section)"
depends=$(field Depends)
for lib in libc6 libstdc++6 libx11-6 libfreetype6 libfontconfig1 libpng16-16 libsndfile1; do
  tr ',' '\n' <<<"$depends" | awk '{ print $1 }' | grep -qxF "$lib" || fail "Depends lacks $lib: $depends"
done
if grep -q -- '-dev' <<<"$depends"; then fail "Depends names a -dev package: $depends"; fi
[ -z "$(dpkg-deb -I "$deb" | grep -E '^ +[0-9]+ bytes.* (preinst|postinst|prerm|postrm)' || true)" ] ||
  fail "the package has maintainer scripts"

# The tarball: one folder with the binaries side by side and the read-me.
top="Soravel-$version-linux-x86_64"
listed=$(tar -tzf "$tgz" | grep -v '/$' | sort)
for f in Soravel.so Soravel.lv2/manifest.ttl Soravel.lv2/soravel_dsp.so Soravel.lv2/soravel_ui.so \
         soravel-render soravel-render.1 README.txt; do
  grep -qx "$top/$f" <<<"$listed" || fail "$top/$f is not in the tarball"
done
outside=$(grep -v "^$top/" <<<"$listed" || true)
[ -z "$outside" ] || fail "tarball files outside $top/: $outside"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tar -xzf "$tgz" -C "$work"
LD_DEBUG=files "$work/$top/soravel-render" --list >"$work/list" 2>"$work/ld" || fail "soravel-render --list failed"
grep -q "file=$work/$top/Soravel.so " "$work/ld" || fail "the tarball's soravel-render did not load the Soravel.so beside it"
echo "package contents: files, control fields, Depends ($depends), tarball"
