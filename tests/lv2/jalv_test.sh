#!/bin/bash
# A real host: jalv runs Soravel.lv2 on a JACK server with the dummy back end
# (no sound card, no realtime), applies a factory program as a preset, and
# processes the clicks of jack_metro, recorded at its outputs by jack_rec.
# Checks the preset's values as jalv reports them, the output meter and a
# reverb tail between the clicks. Every process has a timeout.
# Usage: jalv_test.sh BUNDLE URI WORKDIR
set -euo pipefail
# JACK keeps a machine-wide registry in /dev/shm that never frees the slot of a
# server that was killed, and refuses a ninth server: where we may (as root),
# the test runs in a mount namespace with a /dev/shm of its own, which goes with it.
if [ -z "${SORAVEL_JACK_SHM:-}" ] && [ "$(id -u)" -eq 0 ] && unshare -m true 2>/dev/null; then
  export SORAVEL_JACK_SHM=private
  exec unshare -m --propagation private bash -c \
    'mount -t tmpfs -o size=256m tmpfs /dev/shm && exec "$0" "$@"' "$0" "$@"
fi
bundle=$1 uri=$2 work=$3
fail() { echo "jalv_test: $*" >&2; [ -f "$work/jalv.out" ] && tail -20 "$work/jalv.out" >&2; exit 1; }
for tool in jackd jalv jack_metro jack_rec jack_connect jack_lsp jack_wait; do
  command -v "$tool" >/dev/null || fail "$tool is not installed"
done
rm -rf "$work" && mkdir -p "$work"

# A server of our own, by name, so that other tests and users are not disturbed;
# in the shared registry always the same name, so that a killed run's slot is reused.
server="soravel-test-$$"
[ "${SORAVEL_JACK_SHM:-}" = private ] || server="soravel-test"
client="soravel-$$"
metro="metro-$$"
export JACK_DEFAULT_SERVER=$server JACK_NO_AUDIO_RESERVATION=1
export LV2_PATH="$(dirname "$bundle"):/usr/lib/lv2"
pids=()
cleanup() {
  exec 3>&-
  # Each timeout leads a process group of its own, but jackd starts a session
  # of its own: each tool is ended by its id, with its timeout.
  local all=()
  for pid in "${pids[@]}"; do all+=("$pid" $(ps -o pid= --ppid "$pid" 2>/dev/null || true)); done
  for pid in "${all[@]}"; do kill -TERM "$pid" 2>/dev/null || true; done
  # jackd takes a moment to release its shared memory; then whatever is left goes.
  for _ in $(seq 50); do
    local alive=0
    for pid in "${all[@]}"; do kill -0 "$pid" 2>/dev/null && alive=1; done
    [ "$alive" -eq 0 ] && break
    sleep 0.1
  done
  for pid in "${all[@]}"; do kill -KILL "$pid" 2>/dev/null || true; done
  # The semaphores JACK names after our server.
  rm -f /dev/shm/jack_sem.*_"${server}"_* /dev/shm/jack_"${server}"_* 2>/dev/null || true
}
trap cleanup EXIT

timeout -k 3 120 jackd --no-realtime -n "$server" -d dummy -r 44100 -p 256 >"$work/jackd.out" 2>&1 &
pids+=($!)
disown
timeout -k 3 15 jack_wait -s "$server" -w -t 10 >/dev/null || fail "the JACK server did not start"

# jalv reads its commands from a pipe.
mkfifo "$work/commands"
timeout -k 3 90 stdbuf -oL jalv -n "$client" -x "$uri" <"$work/commands" >"$work/jalv.out" 2>&1 &
jalv=$!
pids+=($jalv)
disown
exec 3>"$work/commands"
waitport() {
  for _ in $(seq 100); do
    timeout -k 3 5 jack_lsp 2>/dev/null | grep -qxF "$1" && return 0
    sleep 0.1
  done
  fail "no port $1"
}
waitport "$client:out_right"

# As a user would: list the presets (which loads them), then choose one.
echo "presets" >&3
for _ in $(seq 100); do grep -q "(Large Hall)" "$work/jalv.out" && break; sleep 0.1; done
echo "preset $uri/preset/large-hall" >&3
timeout -k 3 60 jack_metro -n "$metro" -b 120 -f 1000 -A 0.5 -D 20 >/dev/null 2>&1 &
pids+=($!)
disown
waitport "$metro:120_bpm"
timeout -k 3 10 jack_connect "$metro:120_bpm" "$client:in_left"
timeout -k 3 10 jack_connect "$metro:120_bpm" "$client:in_right"
timeout -k 3 30 jack_rec -f "$work/out.wav" -d 3 -b 16 "$client:out_left" "$client:out_right" >/dev/null 2>&1 ||
  fail "jack_rec failed"
echo "controls" >&3
echo "monitors" >&3
exec 3>&-
# At the end of its commands jalv closes the plug-in and leaves.
for _ in $(seq 100); do kill -0 "$jalv" 2>/dev/null || break; sleep 0.1; done

out=$(cat "$work/jalv.out")
# Large Hall's values as jalv holds them after the preset: 4.62 s, 55 %.
grep -q "^decay_time = 4.6" <<<"$out" || fail "the preset's decay time did not arrive"
grep -q "^size = 55.000000" <<<"$out" || fail "the preset's size did not arrive"
grep -Eq "meter_out_left = 0\.[0-9]*[1-9]" <<<"$out" || fail "the output meter does not move"

# The clicks are 20 ms long every 500 ms: most of what lies between them is the tail.
python3 - "$work/out.wav" <<'PY' || fail "no reverb tail in the recording"
import struct, sys, wave
w = wave.open(sys.argv[1])
n, ch = w.getnframes(), w.getnchannels()
s = struct.unpack("<%dh" % (n * ch), w.readframes(n))
left = s[0::ch]
loud = sum(1 for x in left if abs(x) > 3)
print("jalv_test: %d of %d frames carry sound, peak %d" % (loud, len(left), max(abs(x) for x in left)))
sys.exit(0 if n > 44100 and loud > 0.6 * n else 1)
PY
echo "jalv_test: ok"
