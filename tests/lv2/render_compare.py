#!/usr/bin/env python3
"""lv2apply renders through Soravel.lv2 what soravel-render renders through
Soravel.so: with the default port values and the default program, and with the
port values of several presets and those programs.

A fresh engine fades every path in over its first block, and lv2apply runs the
plug-in one frame at a time: the input begins with a second of silence and the
renders are compared from there on, sample for sample within float rounding.

Usage: render_compare.py SORAVEL-RENDER BUNDLE URI WORKDIR
"""
import os
import struct
import subprocess
import sys

RATE = 44100
PROGRAMS = [1, 5, 10, 15]  # Cathedral, Large Hall, Metal And Vacuum, Deep Underground
TIMEOUT = 120


def fail(text):
    sys.stderr.write("render_compare: %s\n" % text)
    sys.exit(1)


def write_wav(path, left, right):
    frames = len(left)
    data = b"".join(struct.pack("<ff", l, r) for l, r in zip(left, right))
    fmt = struct.pack("<HHIIHH", 3, 2, RATE, RATE * 8, 8, 32)
    with open(path, "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", 4 + 8 + len(fmt) + 8 + len(data)) + b"WAVE")
        f.write(b"fmt " + struct.pack("<I", len(fmt)) + fmt)
        f.write(b"data" + struct.pack("<I", len(data)) + data)
    return frames


def read_wav(path):
    """Interleaved stereo 32-bit float frames of a WAV file."""
    with open(path, "rb") as f:
        blob = f.read()
    if blob[:4] != b"RIFF" or blob[8:12] != b"WAVE":
        fail("%s is not a WAV file" % path)
    pos, fmt, data = 12, None, None
    while pos + 8 <= len(blob):
        kind, size = blob[pos:pos + 4], struct.unpack("<I", blob[pos + 4:pos + 8])[0]
        body = blob[pos + 8:pos + 8 + size]
        if kind == b"fmt ":
            fmt = struct.unpack("<HHIIHH", body[:16])
        elif kind == b"data":
            data = body
        pos += 8 + size + (size & 1)
    if not fmt or data is None or fmt[1] != 2 or fmt[5] != 32 or fmt[0] not in (3, 0xFFFE):
        fail("%s is not stereo 32-bit float: %s" % (path, fmt))
    return struct.unpack("<%df" % (len(data) // 4), data)


def test_signal():
    """A second of silence, then plucks and noise bursts, then a little quiet."""
    seed = 12345
    left, right = [0.0] * RATE, [0.0] * RATE
    for n in range(2 * RATE):
        seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
        noise = seed / float(0x3FFFFFFF) - 1.0
        t = n % 11025
        env = 0.5 * (0.9995 ** t)
        tone = 0.3 * (0.9998 ** t) * (1.0 if (n // 50) % 2 else -1.0)
        left.append(env * noise + tone if n < int(1.5 * RATE) else 0.0)
        right.append(env * noise * 0.7 - tone * 0.5 if n < int(1.5 * RATE) else 0.0)
    return left, right


def preset_values(bundle):
    """{program name: {port symbol: value}} from presets.ttl, read by sordi."""
    out = subprocess.run(["sordi", os.path.join(bundle, "presets.ttl")], capture_output=True,
                         text=True, timeout=TIMEOUT, check=True).stdout
    triples = []
    for line in out.splitlines():
        line = line.strip()
        if not line.endswith(" ."):
            continue
        s, p, o = line[:-2].split(" ", 2)
        triples.append((s, p, o))
    label, ports, symbol, value = {}, {}, {}, {}
    for s, p, o in triples:
        if p.endswith("rdf-schema#label>"):
            label[s] = o.strip('"')
        elif p.endswith("lv2core#port>"):
            ports.setdefault(s, []).append(o)
        elif p.endswith("lv2core#symbol>"):
            symbol[s] = o.strip('"')
        elif p.endswith("presets#value>"):
            value[s] = o.split("^^")[0].strip('"')
    return {label[s]: {symbol[b]: value[b] for b in ports[s]} for s in label}


def program_names(render):
    out = subprocess.run([render, "--list"], capture_output=True, text=True, timeout=TIMEOUT,
                         check=True).stdout
    names = {}
    for line in out.splitlines():
        head, _, rest = line.strip().partition(" ")
        if head.rstrip(":").isdigit() and rest:
            names[int(head.rstrip(":"))] = rest.strip().strip('"')
    return names


def compare(a, b, what):
    if len(a) != len(b):
        fail("%s: %d against %d samples" % (what, len(a), len(b)))
    start = 2 * RATE  # interleaved: the first second
    peak = max(abs(x) for x in a[start:])
    worst = max(abs(x - y) for x, y in zip(a[start:], b[start:]))
    if peak < 1e-3:
        fail("%s: the render is silent" % what)
    # Float rounding: the two plug-ins' arithmetic is the same except for the
    # decay time's way through seconds and back.
    if worst > 1e-5 * max(peak, 1.0):
        fail("%s: differs by %g (peak %g)" % (what, worst, peak))
    print("%s: largest difference %g, peak %g" % (what, worst, peak))


def main():
    if len(sys.argv) != 5:
        fail("usage: render_compare.py SORAVEL-RENDER BUNDLE URI WORKDIR")
    render, bundle, uri, work = sys.argv[1:]
    os.makedirs(work, exist_ok=True)
    env = dict(os.environ, LV2_PATH=os.path.dirname(os.path.abspath(bundle)))
    source = os.path.join(work, "in.wav")
    write_wav(source, *test_signal())
    presets = preset_values(bundle)
    names = program_names(render)

    def lv2apply(out, controls):
        args = ["lv2apply", "-i", source, "-o", out]
        for symbol, value in sorted(controls.items()):
            args += ["-c", symbol, value]
        subprocess.run(args + [uri], env=env, timeout=TIMEOUT, check=True,
                       stdout=subprocess.DEVNULL)
        return read_wav(out)

    def soravel_render(out, program):
        subprocess.run([render, source, out, "--program", str(program), "--tail", "0"],
                       timeout=TIMEOUT, check=True, stdout=subprocess.DEVNULL)
        return read_wav(out)

    reference = soravel_render(os.path.join(work, "vst-0.wav"), 0)
    compare(reference, lv2apply(os.path.join(work, "lv2-default.wav"), {}), "default ports")
    for k in PROGRAMS:
        name = names.get(k)
        if name not in presets:
            fail("no preset for program %d (%s)" % (k, name))
        vst = soravel_render(os.path.join(work, "vst-%d.wav" % k), k)
        lv2 = lv2apply(os.path.join(work, "lv2-%d.wav" % k), presets[name])
        compare(vst, lv2, "preset %s" % name)
    print("render_compare: ok")


if __name__ == "__main__":
    main()
