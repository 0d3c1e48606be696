# Sourced by the installer tests: a fresh Wine prefix of the test's own,
# removed when the test ends, and helpers to look into it.
# Wine's server and services get no ctest pipe: every wine command's output
# goes to the test's log file.
set -euo pipefail
: "${TMPDIR:=/tmp}"
work=$(mktemp -d "$TMPDIR/soravel-pkgtest.XXXXXX")
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
log="$work/wine.log"
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; echo "--- wine log:" >&2; tail -n 30 "$log" >&2 || true; exit 1; }
w() { wine "$@" </dev/null >>"$log" 2>&1; }
# Waits until every process of the prefix has ended (the uninstaller goes on
# from a copy of itself in the temporary folder after the first one returns).
settle() { wineserver -w >/dev/null 2>&1 || true; }
drive_c="$WINEPREFIX/drive_c"
pf="$drive_c/Program Files"
uninst='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Soravel'
# reg_get KEY NAME VIEW: the value's data (REG_DWORD as 0x...), empty when absent.
reg_get() {
  wine reg query "$1" /v "$2" "/reg:$3" </dev/null 2>/dev/null | tr -d '\r' |
    awk -v n="$2" '$1 == n { sub("^ *" n " +REG_[A-Z_]+ +", ""); print; exit }' || true
}
reg_key_exists() { wine reg query "$1" "/reg:$2" </dev/null >/dev/null 2>&1; }
wineboot -i </dev/null >>"$log" 2>&1 || fail "wineboot"
settle
