#!/bin/bash
# What an open editor costs while audio runs: Soravel.dll under Wine on a virtual X
# display, in a plain host (bench/editor_cpu_host.cpp) that processes audio at
# real-time pace and idles the editor every 20 ms, with the editor open and closed.
# Busy time is read from /proc/stat over the same SECONDS of each run, so that Wine,
# its server and the X server all count. The busy time of this session's own processes
# (Wine's and the X server's, from /proc/PID/stat) is shown too: it is not disturbed by
# whatever else the machine runs, and it comes from the scheduler's exact run times,
# where /proc/stat samples at clock ticks, which a tickless kernel stops while idle, so
# that short wake-ups such as a 20 ms timer's mostly go unseen there. Medians of RUNS
# runs, as % of one core.
#
#   bench/editor_cpu.sh [SECONDS [RUNS [PATH/Soravel.dll]]]     (defaults: 10, 3, this tree's)
#
# SORAVEL_NO_BUILD=1 skips building the Windows tree. SORAVEL_BENCH_ZOOM=2 opens the
# editor at 200 % (on a screen large enough for it, SORAVEL_BENCH_SCREEN=1600x1000x24).
set -euo pipefail
self=$(realpath "$0")
cd "$(dirname "$self")/.."
seconds=${1:-10}
runs=${2:-3}
dll=$(realpath "${3:-build/win/plugin/Soravel.dll}")

if [ -z "${SORAVEL_IN_XVFB:-}" ]; then
  [ -n "${SORAVEL_NO_BUILD:-}" ] || tools/build.sh win >/dev/null
  export WINEPREFIX="$PWD/build/win/wineprefix" WINEDEBUG=-all SORAVEL_IN_XVFB=1
  mkdir -p "$WINEPREFIX"
  exec xvfb-run -a -s "-screen 0 ${SORAVEL_BENCH_SCREEN:-1024x768x24}" "$self" "$seconds" "$runs" "$dll"
fi

host=build/win/bench/editor_cpu_host.exe
hz=$(getconf CLK_TCK)

# This session's processes: Wine's (they carry our prefix) and our display's X server.
session_pids() {
  {
    grep -lzxF "WINEPREFIX=$WINEPREFIX" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3 || true
    pgrep -f "^(/usr/bin/)?Xvfb $DISPLAY( |\$)" || true
  } | sort -un
}
# One line, read in one go: the uptime in seconds, the machine's busy clock ticks (all but
# idle and iowait), then PID:TICKS (user + system) for each given process still alive.
sample() {
  awk -v pids="$*" 'BEGIN {
    getline up < "/proc/uptime"; split(up, u, " ")
    while ((getline l < "/proc/stat") > 0) if (l ~ /^cpu /) break
    split(l, c, " ")
    out = u[1] " " (c[2] + c[3] + c[4] + c[7] + c[8] + c[9])
    n = split(pids, p, " ")
    for (i = 1; i <= n; ++i) {
      f = "/proc/" p[i] "/stat"
      if ((getline s < f) <= 0) continue
      close(f)
      sub(/^.*\) /, "", s)  # past the command name, which may hold spaces
      split(s, v, " ")
      out = out " " p[i] ":" (v[12] + v[13])
    }
    print out
  }'
}

# One run: prints "machine% session%" over the host's measured seconds; a process of the
# session counts only when it lived through the whole of them.
run_once() {
  local mode=$1 line pids=() a="" b=""
  while IFS= read -r line; do
    line=${line%$'\r'}  # Windows line ends
    case "$line" in
      start)
        mapfile -t pids < <(session_pids)
        a=$(sample "${pids[@]}") ;;
      end) b=$(sample "${pids[@]}") ;;
      blocks*) echo "  $mode: $line" >&2 ;;
    esac
  done < <(wine "$host" "$dll" "$mode" "$seconds" </dev/null 2>/dev/null)
  if [ -z "$a" ] || [ -z "$b" ]; then
    echo "the host did not run ($mode)" >&2
    exit 1
  fi
  printf '%s\n%s\n' "$a" "$b" | awk -v hz="$hz" '
    NR == 1 { t0 = $1; m0 = $2; for (i = 3; i <= NF; ++i) { split($i, p, ":"); s0[p[1]] = p[2] } }
    NR == 2 { t = $1 - t0; m = $2 - m0
              for (i = 3; i <= NF; ++i) { split($i, p, ":"); if (p[1] in s0) s += p[2] - s0[p[1]] } }
    END { printf "%.1f %.1f\n", 100 * m / hz / t, 100 * s / hz / t }'
}

median() { printf '%s\n' "$@" | sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

# Wine's server and services start outside any pipe of ours: they would hold it open.
wineserver -p </dev/null >/dev/null 2>&1
trap 'wineserver -k </dev/null >/dev/null 2>&1 || true' EXIT
wine cmd /c exit </dev/null >/dev/null 2>&1 || true
wine "$host" "$dll" closed 1 0 >/dev/null 2>&1 || true  # first start-up of the host: uncounted

declare -a closed_m closed_s open_m open_s
for ((i = 1; i <= runs; ++i)); do
  read -r m s < <(run_once closed)
  closed_m+=("$m"); closed_s+=("$s")
  read -r m s < <(run_once open)
  open_m+=("$m"); open_s+=("$s")
  echo "run $i (machine/session): closed ${closed_m[-1]}/${closed_s[-1]}, open ${open_m[-1]}/${open_s[-1]}" >&2
done

cm=$(median "${closed_m[@]}"); om=$(median "${open_m[@]}")
cs=$(median "${closed_s[@]}"); os=$(median "${open_s[@]}")
echo
echo "Soravel.dll: $dll"
echo "busy time over ${seconds} s, % of one core, median of $runs runs"
printf '%-34s %8s %8s %12s\n' "" "closed" "open" "editor adds"
printf '%-34s %8.1f %8.1f %12.1f\n' "whole machine (/proc/stat)" "$cm" "$om" "$(awk -v a="$om" -v b="$cm" 'BEGIN{print a-b}')"
printf '%-34s %8.1f %8.1f %12.1f\n' "Wine and X server processes" "$cs" "$os" "$(awk -v a="$os" -v b="$cs" 'BEGIN{print a-b}')"
