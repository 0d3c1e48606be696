#!/usr/bin/env python3
"""Soravel.vst3 in a real host: Ardour 7 (Debian), headless.

ardour-vst3-scanner scans the bundle; then a session on the Dummy back end
(ardour7-lua, ardour/session.lua) puts test clicks, Soravel and a tap on a stereo
track, lists the 18 parameters and 16 programs, selects "Large Hall", sets Size to
70 %, renders 3 s and saves; a second process loads the session and renders again.
Checked: the scan's record, the names (against soravel-render --list), the values
after loading (each exactly as saved), and the second render equal to the first,
with the reverb's tail in it.

Equal means within 1e-4 of the peak, not bit for bit: the engine's gain ramps end
within float rounding of their targets, and where exactly depends on where they
started. The first session came to its settings through a program change and a
Size change; the reloaded one came straight from the saved state. (A wrong value
anywhere differs by orders of magnitude more.)

Ardour runs on a copy of the bundle in a home of its own under WORKDIR; every
process has a timeout and is ended by its process id (a host that deadlocks fails
the test, it does not hang).

Usage: ardour_test.py BUNDLE SORAVEL-RENDER WORKDIR
"""
import os
import re
import shutil
import struct
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ARDOUR_LIB = "/usr/lib/ardour7"
SCANNER = os.path.join(ARDOUR_LIB, "ardour-vst3-scanner")
CLASS_ID = "565354514D4E4C736F726176656C0000"
TIMEOUT = 180


def fail(text):
    sys.stderr.write("ardour_test: %s\n" % text)
    sys.exit(1)


def run(args, env, what):
    try:
        p = subprocess.run(args, env=env, capture_output=True, text=True, timeout=TIMEOUT)
    except subprocess.TimeoutExpired:
        fail("%s did not finish in %d s (a deadlock?)" % (what, TIMEOUT))
    if p.returncode != 0:
        fail("%s exited with %d:\n%s%s" % (what, p.returncode, p.stdout, p.stderr))
    return p.stdout


def read_render(path):
    """The tap's capture: interleaved stereo little-endian 32-bit floats."""
    with open(path, "rb") as f:
        blob = f.read()
    return struct.unpack("<%df" % (len(blob) // 4), blob)


def lines(out, kind):
    found = {}
    for line in out.splitlines():
        m = re.match(r"^%s (\d+) (.*)$" % kind, line)
        if m:
            found[int(m.group(1))] = m.group(2)
    return found


def main():
    if len(sys.argv) != 4:
        fail("usage: ardour_test.py BUNDLE SORAVEL-RENDER WORKDIR")
    built, render, work = (os.path.abspath(a) for a in sys.argv[1:])
    if os.path.exists(work):
        shutil.rmtree(work)
    # Ardour scans a module again when it is newer than the scan's record: the copy
    # is dated a minute back, so that the record written now is newer.
    plugins = os.path.join(work, "vst3")
    bundle = os.path.join(plugins, os.path.basename(built))
    shutil.copytree(built, bundle)
    past = time.time() - 60
    for d, _, fs in os.walk(bundle):
        for f in fs:
            os.utime(os.path.join(d, f), (past, past))
    home = os.path.join(work, "home")
    config = os.path.join(home, ".config", "ardour7")
    for sub, src in (("", "config"), ("scripts", "clicks.lua"), ("scripts", "tap.lua")):
        os.makedirs(os.path.join(config, sub), exist_ok=True)
        shutil.copy(os.path.join(HERE, "ardour", src), os.path.join(config, sub, src))
    env = dict(os.environ, HOME=home, VST3_PATH=plugins, LD_LIBRARY_PATH=ARDOUR_LIB)

    # The scan, out of process as Ardour makes it.
    out = run([SCANNER, "-f", bundle], env, "ardour-vst3-scanner")
    if "Found Plugin: Soravel" not in out:
        fail("the scanner found no Soravel:\n" + out)
    caches = [os.path.join(d, f) for d, _, fs in os.walk(os.path.join(home, ".cache")) for f in fs
              if f.endswith(".v3i")]
    record = open(caches[0]).read() if len(caches) == 1 else ""
    for want in ('uid="%s"' % CLASS_ID, 'name="Soravel"', 'vendor="Quellmark"', 'category="Fx|Reverb"',
                 'n_inputs="2"', 'n_outputs="2"'):
        if want not in record:
            fail("the scan's record lacks %s:\n%s" % (want, record))

    session = os.path.join(work, "session")
    lua = os.path.join(HERE, "ardour", "session.lua")
    renders = [os.path.join(work, "render-%d.f32" % n) for n in (1, 2)]
    first = run(["ardour7-lua", lua, "create", session, renders[0], CLASS_ID], env, "the first session")
    second = run(["ardour7-lua", lua, "reload", session, renders[1], CLASS_ID], env, "the reloaded session")
    for out in (first, second):
        if not out.rstrip().endswith("done"):
            fail("a session script stopped early:\n" + out)

    # The parameters and programs as Soravel.so names them.
    listing = subprocess.run([render, "--list"], capture_output=True, text=True, timeout=TIMEOUT,
                             check=True).stdout
    params, programs = lines(first, "param"), lines(first, "program")
    if len(params) != 18:
        fail("Ardour lists %d parameters: %s" % (len(params), params))
    for name in params.values():
        if name not in listing:
            fail("parameter %r is not Soravel.so's" % name)
    names = {}
    for line in listing.splitlines():
        head, _, rest = line.strip().partition(" ")
        if head.rstrip(":").isdigit() and rest:
            names[int(head.rstrip(":"))] = rest.strip().strip('"')
    if programs != {k: names.get(k) for k in range(16)}:
        fail("Ardour lists the programs %s, Soravel.so %s" % (programs, names))

    # Every value comes back, and the reloaded session renders the same samples.
    saved, loaded = lines(first, "value"), lines(second, "value")
    if saved != loaded or len(saved) != 18:
        fail("values saved %s, loaded %s" % (saved, loaded))
    if abs(float(saved[9]) - 70.0) > 1e-3 or abs(float(saved[5]) - 42.0) > 1e-3:
        fail("Size %s and Predelay Left %s are not Large Hall's with Size 70 %%" % (saved[9], saved[5]))
    a, b = read_render(renders[0]), read_render(renders[1])
    if len(a) != len(b) or len(a) != 2 * 3 * 48000:
        fail("renders of %d and %d samples" % (len(a), len(b)))
    peak = max(abs(x) for x in a)
    tail = max(abs(x) for x in a[2 * 6100:2 * 12000])
    if peak < 0.1 or tail < 1e-3:
        fail("no clicks (peak %g) or no reverb tail after the first one (%g)" % (peak, tail))
    worst = max(abs(x - y) for x, y in zip(a, b))
    if worst > 1e-4 * peak:
        fail("the reloaded session renders differently (largest difference %g, peak %g)" % (worst, peak))
    print("renders: largest difference %g, peak %g" % (worst, peak))
    print("ardour_test: ok (scan, 18 parameters, 16 programs, values and render after reload)")


if __name__ == "__main__":
    main()
