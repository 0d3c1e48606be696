#!/bin/bash
# The installer as a user runs it, in a fresh Wine prefix: a silent install into
# the default folders, the Add/Remove entry in the 64-bit view, the version
# resources, a host holding the DLL, an install over the first, the uninstall.
# Usage: win_install.sh SETUP PROBE VERSION VENDOR
setup=$1 probe=$2 version=$3 vendor=$4
here=$(dirname "$0")
source "$here/wine_prefix.sh"

# A silent install puts the DLL into the VST 2 folder, the rest into the program folder.
w "$setup" /S || fail "silent install exited $?"
[ -f "$pf/VSTPlugins/Soravel.dll" ] || fail "Soravel.dll is not in C:\\Program Files\\VSTPlugins"
[ "$(ls "$pf/Soravel" | sort | tr '\n' ' ')" = "README.txt Uninstall.exe " ] ||
  fail "program folder holds: $(ls "$pf/Soravel")"
answer=$(wine "$probe" 'C:\Program Files\VSTPlugins\Soravel.dll' </dev/null 2>>"$log" | tr -d '\r')
[[ "$answer" == "Soravel|$vendor|Soravel|"* ]] || fail "the installed DLL answers '$answer'"

# The Add/Remove entry, natively in the 64-bit view and not in the 32-bit one.
expect() {
  local got
  got=$(reg_get "$uninst" "$1" 64)
  [ "$got" = "$2" ] || fail "entry value $1 is '$got', not '$2'"
}
expect DisplayName Soravel
expect DisplayVersion "$version"
expect Publisher "$vendor"
expect UninstallString '"C:\Program Files\Soravel\Uninstall.exe"'
expect QuietUninstallString '"C:\Program Files\Soravel\Uninstall.exe" /S'
expect InstallLocation 'C:\Program Files\Soravel'
expect NoModify 0x1
expect NoRepair 0x1
expect VST2Folder 'C:\Program Files\VSTPlugins'
size=$(( $(reg_get "$uninst" EstimatedSize 64) ))
# The DLL, and the VST 3 bundle where the installer has it.
files_kb=$(( $( { du -sb "$pf/VSTPlugins/Soravel.dll" "$pf/Common Files/VST3/Soravel.vst3" 2>/dev/null || true; } |
                awk '{ n += $1 } END { print n }') / 1024 ))
(( size >= files_kb && size < files_kb + 1024 )) || fail "EstimatedSize $size KB for $files_kb KB of plug-ins"
if reg_key_exists "$uninst" 32; then fail "the entry is in the 32-bit view"; fi

# Installer and uninstaller carry the product's name and version.
for exe in "$setup" "$pf/Soravel/Uninstall.exe"; do
  resource=$(python3 "$here/pe_version.py" "$exe") || fail "no version resource in $exe"
  grep -qx "ProductName=Soravel" <<<"$resource" && grep -qx "ProductVersion=$version" <<<"$resource" &&
    grep -qx "FixedFileVersion=$version" <<<"$resource" || fail "version resource of $exe: $resource"
done

# A running host holds the DLL: the install gives up (in a silent run; with pages it
# asks to retry) and leaves it; once the host is gone, the install goes through.
touch -d 2001-01-01 "$pf/VSTPlugins/Soravel.dll"
wine "$probe" 'C:\Program Files\VSTPlugins\Soravel.dll' --hold "Z:$work/stop" </dev/null \
  >"$work/held" 2>>"$log" &
host=$!
for _ in $(seq 600); do [ -s "$work/held" ] && break; sleep 0.1; done
[ -s "$work/held" ] || fail "the test host did not load the DLL"
rc=0; w "$setup" /S || rc=$?
[ "$rc" = 2 ] || fail "install over a DLL in use exited $rc, not 2"
[ "$(stat -c %Y "$pf/VSTPlugins/Soravel.dll")" = "$(date -d 2001-01-01 +%s)" ] ||
  fail "the DLL in use was changed"
touch "$work/stop"; wait $host

# A second install over the first: the DLL replaced where it was, one entry, one DLL.
w "$setup" /S || fail "second install exited $?"
[ "$(stat -c %Y "$pf/VSTPlugins/Soravel.dll")" != "$(date -d 2001-01-01 +%s)" ] ||
  fail "the second install did not replace the DLL"
[ "$(find "$drive_c" -iname Soravel.dll | wc -l)" = 1 ] || fail "DLLs: $(find "$drive_c" -iname Soravel.dll)"
entries=$(wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s /reg:64 </dev/null \
          2>/dev/null | tr -d '\r' | grep -c "DisplayName *REG_SZ *Soravel$" || true)
[ "$entries" = 1 ] || fail "$entries Add/Remove entries named Soravel"

# The uninstall removes the DLL, the program folder and the entry, and leaves
# another plug-in and the VST 2 folder that holds it.
echo other >"$pf/VSTPlugins/Other.dll"
w 'C:\Program Files\Soravel\Uninstall.exe' /S || fail "uninstall exited $?"
settle
[ ! -e "$pf/VSTPlugins/Soravel.dll" ] || fail "the uninstall left Soravel.dll"
[ "$(cat "$pf/VSTPlugins/Other.dll")" = other ] || fail "the uninstall touched another plug-in"
[ ! -e "$pf/Soravel" ] || fail "the uninstall left the program folder: $(ls "$pf/Soravel")"
if reg_key_exists "$uninst" 64; then fail "the uninstall left the Add/Remove entry"; fi
echo "installer: default folders, entry, version resources, DLL in use, reinstall, uninstall"
