#!/bin/bash
# Which folders the installer takes, in a fresh Wine prefix: the hosts' registered
# VST 2 folder, /VST2DIR= and /D= (moving an earlier install there), the folders of
# the last install offered again; the uninstall takes away the folders it made
# and no other.
# Usage: win_folders.sh SETUP
setup=$1
here=$(dirname "$0")
source "$here/wine_prefix.sh"
expect() {
  local got
  got=$(reg_get "$uninst" "$1" 64)
  [ "$got" = "$2" ] || fail "$3: entry value $1 is '$got', not '$2'"
}
dlls() { find "$drive_c" -iname Soravel.dll | sed "s|^$drive_c/||" | sort | tr '\n' ' '; }

# A host registered its folder (with a trailing backslash, as some write it).
mkdir -p "$drive_c/Hosts/VST Plugins"
w reg add 'HKLM\SOFTWARE\VST' /v VSTPluginsPath /t REG_SZ /d 'C:\Hosts\VST Plugins\' /f /reg:64 ||
  fail "reg add"
w "$setup" /S || fail "install exited $?"
[ "$(dlls)" = "Hosts/VST Plugins/Soravel.dll " ] || fail "registered folder: DLLs at $(dlls)"
expect VST2Folder 'C:\Hosts\VST Plugins' "registered folder"

# /VST2DIR= and /D= (a folder name with a space, passed as one argument): the
# earlier files go, the new folders are remembered.
w "$setup" /S '/VST2DIR=C:\My Plugins' '/D=C:\Apps\Soravel' || fail "install with /VST2DIR= exited $?"
[ "$(dlls)" = "My Plugins/Soravel.dll " ] || fail "/VST2DIR=: DLLs at $(dlls)"
[ ! -e "$pf/Soravel" ] || fail "the earlier program folder stayed"
[ -f "$drive_c/Apps/Soravel/Uninstall.exe" ] || fail "/D= did not take the uninstaller to C:\\Apps\\Soravel"
expect VST2Folder 'C:\My Plugins' "/VST2DIR="
expect InstallLocation 'C:\Apps\Soravel' "/D="

# Installing again without options takes the remembered folders, not the registered one.
w "$setup" /S || fail "third install exited $?"
[ "$(dlls)" = "My Plugins/Soravel.dll " ] || fail "remembered folder: DLLs at $(dlls)"
expect InstallLocation 'C:\Apps\Soravel' "remembered program folder"

# The uninstall removes C:\My Plugins, which it made and which is empty again,
# and keeps the host's folder.
w 'C:\Apps\Soravel\Uninstall.exe' /S || fail "uninstall exited $?"
settle
[ -z "$(dlls)" ] || fail "the uninstall left $(dlls)"
[ ! -e "$drive_c/My Plugins" ] || fail "the uninstall left the folder it made"
[ -d "$drive_c/Hosts/VST Plugins" ] || fail "the uninstall removed the host's folder"
[ ! -e "$drive_c/Apps/Soravel" ] || fail "the uninstall left C:\\Apps\\Soravel"
echo "installer folders: registered, /VST2DIR=, /D=, remembered, removed when made"
