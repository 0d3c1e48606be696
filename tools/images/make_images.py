#!/usr/bin/env python3
"""Draw the seven editor images of Soravel from code, at each zoom.

    make_images.py OUTDIR            write the PNG files into OUTDIR: the seven
                                     images at 1x (NAME.png), 1.5x
                                     (NAME@1.5x.png) and 2x (NAME@2x.png)
    make_images.py --check DIR       regenerate into a temporary folder and
                                     compare byte for byte with DIR
    make_images.py --print-vu-table  print the meter's 257 lit colours as a
                                     C++ array initialiser

Needs python3-cairo and python3-png (Debian) and the Liberation Sans font
(fonts-liberation2).  The output must be byte-for-byte reproducible, so the
drawing uses no clock and no randomness, and the PNG compression level is
fixed.

Each zoom is drawn, not resampled: the same drawing code runs on a surface
of the zoomed size under a cairo scale, so lines, text and gradients are
sharp at every size.  An edge at u layout pixels lies at floor(u * zoom +
1/2) pixels, as in the editor; filmstrip frames are laid out at their
zoomed height each.
"""

import math
import os
import re
import shutil
import sys
import tempfile
from fractions import Fraction


def zooms():
    """The editor's zooms, as written once in editor/zoom.h (zoom::kZooms), each
    with the suffix of its images' names: "" at 1, else "@" + the zoom as %g
    writes it + "x"."""
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "editor", "zoom.h")
    with open(path, encoding="utf-8") as f:
        found = re.search(r"kZooms\[\] = \{([0-9., ]+)\}", f.read())
    if not found:
        raise SystemExit("make_images: editor/zoom.h lacks the kZooms line")
    values = [Fraction(v.strip()) for v in found.group(1).split(",")]
    values = [int(z) if z.denominator == 1 else z for z in values]  # whole zooms as ints
    return tuple((z, "" if z == 1 else "@%gx" % float(z)) for z in values)


ZOOMS = zooms()


def px(units, zoom):
    """Where the edge at `units` layout pixels lies at `zoom`."""
    return math.floor(Fraction(units) * Fraction(zoom) + Fraction(1, 2))

try:
    import cairo
    import png
except ImportError:  # --print-vu-table needs neither
    cairo = png = None

# ---------------------------------------------------------------------------
# Geometry shared with the editor code.  Rectangles are left, top, right,
# bottom in frame pixels, right and bottom exclusive.

WIDTH, HEIGHT = 773, 491

# (label, unit, scale minimum, scale maximum, knob rectangle, value display
# rectangle)
MINUS = "\u2212"
INF = MINUS + "\u221e"
KNOBS = [
    ("INPUT", "dB", INF, "0", (633, 78, 681, 126), (633, 126, 681, 140)),
    ("OUTPUT", "dB", INF, "0", (682, 78, 730, 126), (682, 126, 730, 140)),
    ("DRY", "dB", INF, "0", (350, 49, 422, 121), (362, 126, 410, 140)),
    ("ER", "dB", INF, "0", (440, 49, 512, 121), (452, 126, 500, 140)),
    ("LATE", "dB", INF, "0", (530, 49, 602, 121), (542, 126, 590, 140)),
    ("LEFT", "ms", "0", "200", (54, 188, 126, 260), (66, 265, 114, 279)),
    ("RIGHT", "ms", "0", "200", (144, 188, 216, 260), (156, 265, 204, 279)),
    ("DECAY TIME", "s", "0.1", "100", (255, 167, 351, 263), (279, 265, 327, 279)),
    ("SIZE", "%", "0", "100", (440, 188, 512, 260), (452, 265, 500, 279)),
    ("WIDE", "%", "0", "200", (530, 188, 602, 260), (542, 265, 590, 279)),
    ("BASS RATIO", "\u00d7", "0", "3", (54, 362, 126, 434), (66, 439, 114, 453)),
    ("CROSSOVER", "Hz", "50", "2k", (144, 362, 216, 434), (156, 439, 204, 453)),
    ("HIGH DAMPING", "Hz", "500", "20k", (235, 362, 307, 434), (247, 439, 295, 453)),
    ("LEVEL", "dB", MINUS + "15", "+15", (348, 362, 420, 434), (360, 439, 408, 453)),
    ("FREQ", "Hz", "30", "3k", (424, 390, 472, 438), (424, 439, 472, 453)),
    ("LEVEL", "dB", MINUS + "15", "+15", (482, 362, 554, 434), (494, 439, 542, 453)),
    ("FREQ", "Hz", "160", "10k", (558, 390, 606, 438), (558, 439, 606, 453)),
]

SWITCH_RECT = (354, 206, 410, 265)
FREEZE_TEXT_RECT = (360, 267, 405, 277)
METER_LEFT, METER_TOP = 648, 178
METER_BAR_OFFSETS = (0, 9, 49, 58)
METER_BAR_WIDTH, METER_ROWS = 5, 257
LOGO_RECT = (66, 39, 310, 121)

# Active areas of the about view.
ABOUT_CLOSE = (167, 78, 187, 98)
ABOUT_WEB = (425, 307, 569, 326)
ABOUT_DONATE = (399, 340, 591, 396)
ABOUT_PANEL = (146, 60, 627, 416)



def product_facts():
    """The product name, vendor, version and vendor web host, as written once
    in the top-level CMakeLists.txt."""
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "CMakeLists.txt")
    with open(path, encoding="utf-8") as f:
        text = f.read()
    project = re.search(r"project\((\w+) VERSION ([0-9.]+)", text)
    vendor = re.search(r'set\(SORAVEL_VENDOR "([^"]*)"\)', text)
    host = re.search(r'set\(SORAVEL_VENDOR_HOST "([^"]*)"', text)
    if not (project and vendor and host):
        raise SystemExit("make_images: CMakeLists.txt lacks the project's version, vendor or host")
    return project.group(1), vendor.group(1), project.group(2), host.group(1)


PRODUCT, VENDOR, VERSION, WEB_TEXT = product_facts()

# The knob pointer sweeps 270 degrees: frame 0 points to the lower left
# (225 degrees, counter-clockwise from 3 o'clock), the last frame to the
# lower right (-45 degrees).
KNOB_FRAMES = 129
ANGLE_MIN = 225.0
ANGLE_SWEEP = 270.0

# Radii as fractions of the knob image's half width.  The knob image holds
# the body, its shadow and the value arc; the tick ring outside the arc is
# part of the background, so it must stay clear of both.
BODY_R = 0.62
ARC_R = 0.76
TICK_R0 = 0.86
TICK_R1 = 0.98

# ---------------------------------------------------------------------------
# Palette: dark graphite with one warm amber accent.

def rgb(hexstr, a=1.0):
    v = int(hexstr.lstrip("#"), 16)
    return ((v >> 16) / 255.0, ((v >> 8) & 255) / 255.0, (v & 255) / 255.0, a)


BG_TOP = rgb("#24272c")
BG_BOTTOM = rgb("#17191c")
CARD_TOP = rgb("#2d3137")
CARD_BOTTOM = rgb("#25282d")
FIELD = rgb("#111316")
TEXT = rgb("#d9dde3")
# The small print (range labels, units, sub-captions, the meter's scale) keeps
# a contrast of at least 4.5:1 on every surface it lies on; TEXT_FAINT is for
# minor tick marks, not text.
TEXT_DIM = rgb("#9ea5ae")
TEXT_FAINT = rgb("#5d636b")
TEXT_UNIT = rgb("#9aa1aa")
ACCENT = rgb("#ffa733")
ACCENT_DEEP = rgb("#e07b12")
TICK = rgb("#8a919a")
TICK_MAJOR = rgb("#c3c8cf")

SMALL_PRINT = {"TEXT_DIM": TEXT_DIM, "TEXT_UNIT": TEXT_UNIT}
SMALL_PRINT_GROUNDS = (CARD_TOP, CARD_BOTTOM, BG_TOP, BG_BOTTOM, rgb("#2e3238"),
                       rgb("#1e2125"))
MIN_CONTRAST = 4.5


def contrast(a, b):
    """Contrast ratio of two opaque colours (relative luminance, sRGB)."""
    def lum(c):
        lin = [v / 12.92 if v <= 0.03928 else ((v + 0.055) / 1.055) ** 2.4 for v in c[:3]]
        return 0.2126 * lin[0] + 0.7152 * lin[1] + 0.0722 * lin[2]
    la, lb = lum(a), lum(b)
    return (max(la, lb) + 0.05) / (min(la, lb) + 0.05)


def check_small_print():
    for name, c in SMALL_PRINT.items():
        for g in SMALL_PRINT_GROUNDS:
            if contrast(c, g) < MIN_CONTRAST:
                raise SystemExit("make_images: %s has a contrast of %.2f:1 on %s"
                                 % (name, contrast(c, g), g))


FONT = "Liberation Sans"
LOGO_FONT = "Liberation Sans"

# ---------------------------------------------------------------------------
# Meter colours.  Row 0 is the top of a bar (0 dB), row 256 its bottom.

VU_ANCHORS = [
    (0, (255, 0, 0)), (1, (255, 0, 0)), (32, (255, 179, 0)),
    (64, (255, 255, 0)), (96, (215, 255, 0)), (128, (78, 255, 0)),
    (160, (0, 242, 19)), (192, (0, 191, 96)), (216, (0, 154, 154)),
    (224, (0, 141, 173)), (240, (0, 116, 211)), (256, (0, 91, 250)),
]


def vu_lit_table():
    """257 lit colours: the anchors, linear per channel in between, rounded
    half up in exact arithmetic so that every platform agrees."""
    table = []
    for row in range(METER_ROWS):
        for (r0, c0), (r1, c1) in zip(VU_ANCHORS, VU_ANCHORS[1:]):
            if r0 <= row <= r1:
                t = Fraction(row - r0, r1 - r0)
                table.append(tuple(math.floor(a + (b - a) * t + Fraction(1, 2))
                                   for a, b in zip(c0, c1)))
                break
    return table


def vu_unlit_table(lit):
    """Unlit bar: a very dark glass with a faint tint of the lit colour, so
    the meter reads as a row of dormant segments rather than a hole."""
    out = []
    for (r, g, b) in lit:
        out.append(tuple(int((14 + c * 0.11) + 0.5) for c in (r, g, b)))
    return out


def print_vu_table(stream=sys.stdout):
    lit = vu_lit_table()
    stream.write("// Lit meter colours, row 0 (0 dB, top) to row 256 (bottom),\n")
    stream.write("// generated by tools/images/make_images.py --print-vu-table;\n")
    stream.write("// equal row for row to columns 5-9 of VU_SCALE.png.\n")
    stream.write("{\n")
    for i, (r, g, b) in enumerate(lit):
        stream.write("    {%3d, %3d, %3d, 255}, // %d\n" % (r, g, b, i))
    stream.write("}\n")


# ---------------------------------------------------------------------------
# Drawing helpers.

def font_options():
    # Fixed options: the result must not depend on a desktop's settings.
    fo = cairo.FontOptions()
    fo.set_antialias(cairo.ANTIALIAS_GRAY)
    fo.set_hint_style(cairo.HINT_STYLE_SLIGHT)
    fo.set_hint_metrics(cairo.HINT_METRICS_OFF)
    return fo


def new_context(surface):
    ctx = cairo.Context(surface)
    ctx.set_font_options(font_options())
    return ctx


def set_font(ctx, size, bold=False, family=FONT):
    ctx.select_font_face(family, cairo.FONT_SLANT_NORMAL,
                         cairo.FONT_WEIGHT_BOLD if bold else cairo.FONT_WEIGHT_NORMAL)
    ctx.set_font_size(size)


def text_width(ctx, s, spacing=0.0):
    w = 0.0
    for ch in s:
        w += ctx.text_extents(ch).x_advance + spacing
    return w - spacing if s else 0.0


def draw_text(ctx, s, x, y, color, align="center", spacing=0.0):
    """Draw s with its baseline at y; x is the left, centre or right end."""
    w = text_width(ctx, s, spacing) if spacing else ctx.text_extents(s).x_advance
    if align == "center":
        x -= w / 2.0
    elif align == "right":
        x -= w
    ctx.set_source_rgba(*color)
    if not spacing:
        ctx.move_to(x, y)
        ctx.show_text(s)
        return
    for ch in s:
        ctx.move_to(x, y)
        ctx.show_text(ch)
        x += ctx.text_extents(ch).x_advance + spacing


def rounded_rect(ctx, x, y, w, h, r):
    ctx.new_sub_path()
    ctx.arc(x + w - r, y + r, r, -math.pi / 2, 0)
    ctx.arc(x + w - r, y + h - r, r, 0, math.pi / 2)
    ctx.arc(x + r, y + h - r, r, math.pi / 2, math.pi)
    ctx.arc(x + r, y + r, r, math.pi, 3 * math.pi / 2)
    ctx.close_path()


def vgrad(y0, y1, c0, c1):
    g = cairo.LinearGradient(0, y0, 0, y1)
    g.add_color_stop_rgba(0, *c0)
    g.add_color_stop_rgba(1, *c1)
    return g


def polar(cx, cy, r, deg):
    """Point at angle deg (counter-clockwise from 3 o'clock, y grows down)."""
    a = math.radians(deg)
    return cx + r * math.cos(a), cy - r * math.sin(a)


def soft_shadow(ctx, x, y, w, h, r, spread, alpha):
    """A soft drop shadow under a rounded rectangle, built from stacked
    translucent outlines (cairo has no blur)."""
    steps = max(1, int(spread))
    for i in range(steps, 0, -1):
        a = alpha * (1.0 - i / (steps + 1.0)) / steps * 2.0
        rounded_rect(ctx, x - i, y - i + spread * 0.5, w + 2 * i, h + 2 * i, r + i)
        ctx.set_source_rgba(0, 0, 0, a)
        ctx.fill()


# ---------------------------------------------------------------------------
# Conversion of cairo surfaces into PNG rows.

def rows_rgb(surface):
    """RGB24 surface (B, G, R, x bytes in memory) -> list of RGB rows."""
    surface.flush()
    w, h, stride = surface.get_width(), surface.get_height(), surface.get_stride()
    data = bytes(surface.get_data())
    rows = []
    for y in range(h):
        src = data[y * stride:y * stride + 4 * w]
        out = bytearray(3 * w)
        out[0::3] = src[2::4]
        out[1::3] = src[1::4]
        out[2::3] = src[0::4]
        rows.append(out)
    return rows


def rows_rgba(surface):
    """ARGB32 surface (premultiplied B, G, R, A bytes) -> straight RGBA rows."""
    surface.flush()
    w, h, stride = surface.get_width(), surface.get_height(), surface.get_stride()
    data = bytes(surface.get_data())
    rows = []
    for y in range(h):
        src = data[y * stride:y * stride + 4 * w]
        out = bytearray(4 * w)
        out[0::4] = src[2::4]
        out[1::4] = src[1::4]
        out[2::4] = src[0::4]
        alpha = src[3::4]
        out[3::4] = alpha
        if alpha.count(255) + alpha.count(0) != w:
            for i, a in enumerate(alpha):
                if 0 < a < 255:
                    j = 4 * i
                    half = a // 2
                    for c in range(3):
                        v = (out[j + c] * 255 + half) // a
                        out[j + c] = 255 if v > 255 else v
        rows.append(out)
    return rows


def write_png(path, width, height, rows, alpha, interlace):
    writer = png.Writer(width, height, greyscale=False, alpha=alpha,
                        bitdepth=8, interlace=interlace, compression=9)
    with open(path, "wb") as f:
        writer.write(f, rows)


# ---------------------------------------------------------------------------
# Knobs.

def draw_knob(ctx, size, k):
    """One filmstrip frame of a knob, k = 0..128, into a size x size area
    at the context's origin."""
    h = size / 2.0
    cx = cy = h
    body = BODY_R * h
    angle = ANGLE_MIN - ANGLE_SWEEP * k / (KNOB_FRAMES - 1)

    # Soft shadow, a little below the body: concentric translucent discs.
    steps = 8
    spread = 0.11 * h
    for i in range(steps, 0, -1):
        r = body + spread * i / steps
        ctx.arc(cx, cy + 0.05 * h, r, 0, 2 * math.pi)
        ctx.set_source_rgba(0, 0, 0, 0.09)
        ctx.fill()

    # Value arc: a dim track over the whole sweep, amber up to the pointer.
    arc_w = max(1.6, 0.055 * h)
    ctx.set_line_cap(cairo.LINE_CAP_BUTT)
    ctx.set_line_width(arc_w)
    ctx.arc(cx, cy, ARC_R * h, math.radians(-ANGLE_MIN),
            math.radians(-ANGLE_MIN + ANGLE_SWEEP))
    ctx.set_source_rgba(0.0, 0.0, 0.0, 0.55)
    ctx.stroke()
    if k > 0:
        ctx.arc(cx, cy, ARC_R * h, math.radians(-ANGLE_MIN), math.radians(-angle))
        ctx.set_source_rgba(*ACCENT)
        ctx.stroke()

    # Rim: a bevel lit from above.
    ctx.arc(cx, cy, body, 0, 2 * math.pi)
    ctx.set_source(vgrad(cy - body, cy + body, rgb("#5b626b"), rgb("#15171a")))
    ctx.fill()
    # Face, slightly concave: darker at the top than the rim.
    face = body - max(1.5, 0.07 * h)
    ctx.arc(cx, cy, face, 0, 2 * math.pi)
    ctx.set_source(vgrad(cy - face, cy + face, rgb("#24282d"), rgb("#363b42")))
    ctx.fill()
    # A soft sheen on the upper face.
    sheen = cairo.RadialGradient(cx, cy - face * 0.55, 0, cx, cy - face * 0.55, face * 0.9)
    sheen.add_color_stop_rgba(0, 1, 1, 1, 0.07)
    sheen.add_color_stop_rgba(1, 1, 1, 1, 0.0)
    ctx.arc(cx, cy, face, 0, 2 * math.pi)
    ctx.set_source(sheen)
    ctx.fill()
    # Fine edge between rim and face.
    ctx.set_line_width(max(0.8, 0.02 * h))
    ctx.arc(cx, cy, face, 0, 2 * math.pi)
    ctx.set_source_rgba(0, 0, 0, 0.45)
    ctx.stroke()

    # Pointer: an amber line from near the centre to the face's edge.
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    x0, y0 = polar(cx, cy, face * 0.30, angle)
    x1, y1 = polar(cx, cy, face * 0.84, angle)
    ctx.set_line_width(max(2.0, 0.075 * h) + 1.2)
    ctx.move_to(x0, y0)
    ctx.line_to(x1, y1)
    ctx.set_source_rgba(0, 0, 0, 0.5)
    ctx.stroke()
    ctx.set_line_width(max(2.0, 0.075 * h))
    ctx.move_to(x0, y0)
    ctx.line_to(x1, y1)
    ctx.set_source_rgba(*ACCENT)
    ctx.stroke()


def make_filmstrip(width, height, frames, zoom, draw):
    """frames of width x height layout pixels, one under the other, each at
    its zoomed height."""
    fw, fh = px(width, zoom), px(height, zoom)
    surface = cairo.ImageSurface(cairo.FORMAT_ARGB32, fw, fh * frames)
    ctx = new_context(surface)
    for k in range(frames):
        ctx.save()
        ctx.translate(0, k * fh)
        ctx.rectangle(0, 0, fw, fh)
        ctx.clip()
        ctx.scale(float(zoom), float(zoom))
        draw(ctx, k)
        ctx.restore()
    return surface


def make_knob(size, zoom=1):
    return make_filmstrip(size, size, KNOB_FRAMES, zoom, lambda ctx, k: draw_knob(ctx, size, k))


def draw_knob_scale(ctx, rect, unit, lo, hi):
    """Tick marks of a knob, in the background, on the ring just outside
    the knob's value arc; the range ends at the ends of the sweep and the
    unit in the gap at the bottom."""
    l, t, r, b = rect
    h = (r - l) / 2.0
    cx, cy = l + h, t + h
    n = 10
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    for i in range(n + 1):
        deg = ANGLE_MIN - ANGLE_SWEEP * i / n
        major = i in (0, n // 2, n)
        r0 = TICK_R0 * h - (0.04 * h if major else 0.0)
        x0, y0 = polar(cx, cy, r0, deg)
        x1, y1 = polar(cx, cy, TICK_R1 * h, deg)
        ctx.set_line_width(1.5 if major else 1.1)
        ctx.move_to(x0, y0)
        ctx.line_to(x1, y1)
        ctx.set_source_rgba(*(TICK_MAJOR if major else TICK))
        ctx.stroke()

    set_font(ctx, 7.5)
    if h >= 30:
        # Under the two ends of the sweep.
        y = cy + 0.69 * h + 9.5
        draw_text(ctx, lo, cx - 0.69 * h - 1, y, TEXT_DIM)
        draw_text(ctx, hi, cx + 0.69 * h + 1, y, TEXT_DIM)
        draw_text(ctx, unit, cx, cy + (0.95 if h > 40 else 0.93) * h, TEXT_UNIT)
    # Small knobs sit right on their display, between close neighbours:
    # no room for range text, the display shows value and unit.


# ---------------------------------------------------------------------------
# Freeze switch.

def draw_switch(ctx, on):
    bx, by, bw, bh = 8, 6, 40, 44
    # Shadow and well.
    soft_shadow(ctx, bx, by, bw, bh, 7, 4, 0.35)
    # Button body.
    rounded_rect(ctx, bx, by, bw, bh, 7)
    if on:
        ctx.set_source(vgrad(by, by + bh, rgb("#2a2e34"), rgb("#363b42")))
    else:
        ctx.set_source(vgrad(by, by + bh, rgb("#4a5058"), rgb("#2a2e34")))
    ctx.fill()
    rounded_rect(ctx, bx + 0.5, by + 0.5, bw - 1, bh - 1, 6.5)
    ctx.set_line_width(1.0)
    ctx.set_source_rgba(0, 0, 0, 0.7)
    ctx.stroke()
    rounded_rect(ctx, bx + 1.5, by + 1.5, bw - 3, bh - 3, 5.5)
    ctx.set_source_rgba(1, 1, 1, 0.03 if on else 0.09)
    ctx.stroke()

    # LED bar at the top of the button.
    lx, ly, lw, lh = bx + 10, by + 6, bw - 20, 3
    if on:
        glow = cairo.RadialGradient(bx + bw / 2, ly + 1.5, 0, bx + bw / 2, ly + 1.5, 16)
        glow.add_color_stop_rgba(0, ACCENT[0], ACCENT[1], ACCENT[2], 0.45)
        glow.add_color_stop_rgba(1, ACCENT[0], ACCENT[1], ACCENT[2], 0.0)
        rounded_rect(ctx, bx + 1, by + 1, bw - 2, bh - 2, 6)
        ctx.set_source(glow)
        ctx.fill()
    rounded_rect(ctx, lx, ly, lw, lh, 1.5)
    ctx.set_source_rgba(*(rgb("#ffc36b") if on else rgb("#15171a")))
    ctx.fill()

    # Snowflake glyph in the middle of the button.
    gx, gy, gr = bx + bw / 2, by + 27, 9.0
    color = ACCENT if on else rgb("#9aa1aa")
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    ctx.set_line_width(1.6)
    ctx.set_source_rgba(*color)
    for i in range(3):
        deg = 90 + 60 * i
        x0, y0 = polar(gx, gy, gr, deg)
        x1, y1 = polar(gx, gy, gr, deg + 180)
        ctx.move_to(x0, y0)
        ctx.line_to(x1, y1)
    ctx.stroke()
    ctx.set_line_width(1.2)
    for i in range(6):
        deg = 90 + 60 * i
        px, py = polar(gx, gy, gr * 0.62, deg)
        for side in (-1, 1):
            qx, qy = polar(px, py, gr * 0.32, deg + side * 45)
            ctx.move_to(px, py)
            ctx.line_to(qx, qy)
    ctx.stroke()


def make_switch(zoom=1):
    return make_filmstrip(56, 59, 2, zoom, lambda ctx, k: draw_switch(ctx, k == 1))


# ---------------------------------------------------------------------------
# Meter scale image.

def unit_of(pixel, zoom):
    """The layout pixel whose zoomed pixels hold `pixel`."""
    u = 0
    while px(u + 1, zoom) <= pixel:
        u += 1
    return u


def make_vu_scale(zoom=1):
    """Unlit columns, then as many lit ones; each row the colour of the
    layout row it belongs to, so the meter's rows stay exact at any zoom."""
    lit = vu_lit_table()
    unlit = vu_unlit_table(lit)
    half = px(METER_BAR_WIDTH, zoom)
    rows = []
    for y in range(px(METER_ROWS, zoom)):
        r = unit_of(y, zoom)
        row = bytearray()
        row += bytes(unlit[r]) * half
        row += bytes(lit[r]) * half
        rows.append(row)
    return rows


# ---------------------------------------------------------------------------
# Background.

def card(ctx, x, y, w, h, caption=None):
    soft_shadow(ctx, x, y, w, h, 8, 6, 0.45)
    rounded_rect(ctx, x, y, w, h, 8)
    ctx.set_source(vgrad(y, y + h, CARD_TOP, CARD_BOTTOM))
    ctx.fill()
    # Hairline highlight along the top edge, dark outline around.
    rounded_rect(ctx, x + 0.5, y + 0.5, w - 1, h - 1, 7.5)
    ctx.set_line_width(1.0)
    ctx.set_source_rgba(0, 0, 0, 0.55)
    ctx.stroke()
    ctx.save()
    rounded_rect(ctx, x + 1.5, y + 1.5, w - 3, h - 3, 6.5)
    ctx.clip()
    ctx.move_to(x + 8, y + 1.5)
    ctx.line_to(x + w - 8, y + 1.5)
    ctx.set_source_rgba(1, 1, 1, 0.08)
    ctx.stroke()
    ctx.restore()
    if caption:
        set_font(ctx, 9, bold=True)
        draw_text(ctx, caption, x + 12, y + 12, ACCENT, align="left", spacing=1.6)


def value_field(ctx, rect):
    """A plain recessed field under a value display: the plug-in draws the
    value text there, so nothing but the field itself."""
    l, t, r, b = rect
    rounded_rect(ctx, l, t, r - l, b - t, 3)
    ctx.set_source_rgba(*FIELD)
    ctx.fill()
    # Inner shadow at the top, faint light at the bottom edge.
    ctx.set_line_width(1.0)
    ctx.move_to(l + 2, t + 0.5)
    ctx.line_to(r - 2, t + 0.5)
    ctx.set_source_rgba(0, 0, 0, 0.8)
    ctx.stroke()
    ctx.move_to(l + 2, b + 0.5)
    ctx.line_to(r - 2, b + 0.5)
    ctx.set_source_rgba(1, 1, 1, 0.07)
    ctx.stroke()


def knob_label(ctx, name, display_rect):
    l, t, r, b = display_rect
    set_font(ctx, 9, bold=True)
    draw_text(ctx, name, (l + r) / 2.0, b + 10.5, TEXT, spacing=0.9)


def draw_logo_mark(ctx, cx, cy, scale, color=ACCENT):
    """The Soravel mark: a source dot and three widening arcs, a sound
    spreading into a room."""
    ctx.arc(cx, cy, 3.2 * scale, 0, 2 * math.pi)
    ctx.set_source_rgba(*color)
    ctx.fill()
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    for i, (r, a) in enumerate(((8.0, 1.0), (13.5, 0.7), (19.0, 0.42))):
        ctx.set_line_width(2.4 * scale)
        ctx.arc(cx, cy, r * scale, math.radians(-50), math.radians(50))
        ctx.set_source_rgba(color[0], color[1], color[2], a)
        ctx.stroke()


def draw_meter_scale(ctx):
    # dB scale between the input pair and the output pair.
    set_font(ctx, 8, bold=False)
    marks = [0, -3, -6, -9, -12, -18, -24, -30, -36, -50, -70]
    labelled = {0, -6, -12, -18, -24, -30, -36, -50, -70}
    xl = METER_LEFT + 19    # ticks start clear of the input pair's well
    xr = METER_LEFT + 45    # and end clear of the output pair's
    for db in marks:
        row = -6 * db if db >= -36 else 216 + (-36 - db)
        y = METER_TOP + row + 0.5
        ctx.set_line_width(1.0)
        ctx.set_source_rgba(*(TICK if db in labelled else TEXT_FAINT))
        ctx.move_to(xl, y)
        ctx.line_to(xl + 3, y)
        ctx.move_to(xr - 3, y)
        ctx.line_to(xr, y)
        ctx.stroke()
        if db in labelled:
            s = "0" if db == 0 else MINUS + "%d" % -db
            draw_text(ctx, s, METER_LEFT + 31.5, y + 3.0, TEXT_DIM)
    set_font(ctx, 7.5, bold=True)
    draw_text(ctx, "dB", METER_LEFT + 31.5, METER_TOP - 6, TEXT_DIM)


def put_meter_bars(surface, unlit, zoom):
    """Copy the unlit column of VU_SCALE into the background, pixel for
    pixel, where the meter draws its bars."""
    surface.flush()
    data = surface.get_data()
    stride = surface.get_stride()
    for off in METER_BAR_OFFSETS:
        x0 = px(METER_LEFT + off, zoom)
        x1 = px(METER_LEFT + off + METER_BAR_WIDTH, zoom)
        for row in range(METER_ROWS):
            r, g, b = unlit[row]
            for y in range(px(METER_TOP + row, zoom), px(METER_TOP + row + 1, zoom)):
                for x in range(x0, x1):
                    i = y * stride + 4 * x
                    data[i:i + 4] = bytes((b, g, r, 255))
    surface.mark_dirty()


def make_background(zoom=1):
    lit = vu_lit_table()
    unlit = vu_unlit_table(lit)
    surface = cairo.ImageSurface(cairo.FORMAT_RGB24, px(WIDTH, zoom), px(HEIGHT, zoom))
    ctx = new_context(surface)
    ctx.scale(float(zoom), float(zoom))

    # Panel: graphite, lighter at the top, with a faint warm glow behind
    # the logo.
    ctx.rectangle(0, 0, WIDTH, HEIGHT)
    ctx.set_source(vgrad(0, HEIGHT, BG_TOP, BG_BOTTOM))
    ctx.fill()
    glow = cairo.RadialGradient(150, 60, 0, 150, 60, 260)
    glow.add_color_stop_rgba(0, ACCENT[0], ACCENT[1], ACCENT[2], 0.06)
    glow.add_color_stop_rgba(1, ACCENT[0], ACCENT[1], ACCENT[2], 0.0)
    ctx.rectangle(0, 0, WIDTH, HEIGHT)
    ctx.set_source(glow)
    ctx.fill()
    # Thin top and bottom edges, as on a hardware faceplate.
    ctx.rectangle(0, 0, WIDTH, 1)
    ctx.set_source_rgba(1, 1, 1, 0.07)
    ctx.fill()
    ctx.rectangle(0, HEIGHT - 1, WIDTH, 1)
    ctx.set_source_rgba(0, 0, 0, 0.6)
    ctx.fill()

    # Group cards.
    card(ctx, 336, 16, 282, 139, "MIX")
    card(ctx, 626, 16, 117, 139, "GAIN")
    card(ctx, 40, 159, 188, 141, "PRE-DELAY")
    card(ctx, 238, 159, 380, 141, "DECAY")
    card(ctx, 40, 310, 280, 164, "DAMPING")
    card(ctx, 332, 310, 286, 164, "EQUALISER")
    card(ctx, 626, 159, 117, 315)

    # Logo, in the about area: mark, name, vendor.
    lx, ly = LOGO_RECT[0], LOGO_RECT[1]
    draw_logo_mark(ctx, lx + 8, ly + 36, 1.25)
    set_font(ctx, 42, family=LOGO_FONT)
    draw_text(ctx, PRODUCT, lx + 42, ly + 52, TEXT, align="left", spacing=2.0)
    set_font(ctx, 9.5, bold=True)
    draw_text(ctx, VENDOR.upper(), lx + 45, ly + 72, TEXT_DIM, align="left", spacing=3.2)

    # Sub-captions inside cards that hold more than one kind of control.
    set_font(ctx, 8.5, bold=True)
    draw_text(ctx, "LOW BAND", 410, 354, TEXT_DIM, spacing=1.2)
    draw_text(ctx, "HIGH BAND", 544, 354, TEXT_DIM, spacing=1.2)
    draw_text(ctx, "LOW SHELF", 135, 354, TEXT_DIM, spacing=1.2)
    draw_text(ctx, "HIGH CUT", 271, 354, TEXT_DIM, spacing=1.2)
    ctx.set_line_width(1.0)
    ctx.set_source_rgba(1, 1, 1, 0.07)
    for x0, x1 in ((348, 378), (442, 472), (482, 508), (580, 606),
                   (54, 93), (177, 216), (235, 240), (302, 307)):
        ctx.move_to(x0, 350.5)
        ctx.line_to(x1, 350.5)
    ctx.stroke()
    # Divider between decay and the room controls.
    ctx.set_source_rgba(0, 0, 0, 0.35)
    ctx.move_to(424.5, 176)
    ctx.line_to(424.5, 292)
    ctx.stroke()
    ctx.set_source_rgba(1, 1, 1, 0.05)
    ctx.move_to(425.5, 176)
    ctx.line_to(425.5, 292)
    ctx.stroke()
    ctx.move_to(475.5, 328)
    ctx.line_to(475.5, 462)
    ctx.stroke()
    ctx.set_source_rgba(0, 0, 0, 0.35)
    ctx.move_to(474.5, 328)
    ctx.line_to(474.5, 462)
    ctx.stroke()

    # Knob scales, value fields and labels.
    for name, unit, lo, hi, rect, disp in KNOBS:
        draw_knob_scale(ctx, rect, unit, lo, hi)
        value_field(ctx, disp)
        knob_label(ctx, name, disp)

    # Freeze switch: a recessed well, the On/Off field below, its label.
    sl, st, sr, sb = SWITCH_RECT
    rounded_rect(ctx, sl + 4, st + 2, sr - sl - 8, sb - st - 6, 9)
    ctx.set_source_rgba(0, 0, 0, 0.28)
    ctx.fill()
    value_field(ctx, (FREEZE_TEXT_RECT[0] - 1, FREEZE_TEXT_RECT[1] - 1,
                      FREEZE_TEXT_RECT[2] + 1, FREEZE_TEXT_RECT[3] + 2))
    knob_label(ctx, "FREEZE", (360, 265, 405, 279))

    # Meter.
    draw_meter_scale(ctx)
    set_font(ctx, 8, bold=True)
    for off, s in zip(METER_BAR_OFFSETS, "LRLR"):
        draw_text(ctx, s, METER_LEFT + off + 2.5, METER_TOP + METER_ROWS + 10, TEXT_DIM)
    set_font(ctx, 9, bold=True)
    draw_text(ctx, "IN", METER_LEFT + 7, METER_TOP + METER_ROWS + 24, TEXT, spacing=0.9)
    draw_text(ctx, "OUT", METER_LEFT + 56, METER_TOP + METER_ROWS + 24, TEXT, spacing=0.9)
    # A dark well around each bar pair.
    for off in (0, 49):
        x = METER_LEFT + off - 2
        rounded_rect(ctx, x - 0.5, METER_TOP - 2.5, 19, METER_ROWS + 5, 2)
        ctx.set_line_width(1.0)
        ctx.set_source_rgba(0, 0, 0, 0.6)
        ctx.stroke()
    for off in (0, 49):
        ctx.rectangle(METER_LEFT + off - 2, METER_TOP - 2, 18, METER_ROWS + 4)
        ctx.set_source_rgba(*FIELD)
        ctx.fill()
    put_meter_bars(surface, unlit, zoom)
    return surface


# ---------------------------------------------------------------------------
# About panel.

def make_about(zoom=1):
    pl, pt, pr, pb = ABOUT_PANEL
    pw, ph = pr - pl, pb - pt
    width, height = px(WIDTH, zoom), px(HEIGHT, zoom)

    # Colour layer, drawn opaque; the alpha is set afterwards from the
    # panel's coverage so that the margin is exactly 60 % opaque.
    color = cairo.ImageSurface(cairo.FORMAT_RGB24, width, height)
    ctx = new_context(color)
    ctx.scale(float(zoom), float(zoom))
    ctx.rectangle(0, 0, WIDTH, HEIGHT)
    ctx.set_source_rgba(0.03, 0.035, 0.04, 1)
    ctx.fill()
    soft_shadow(ctx, pl, pt, pw, ph, 12, 14, 0.7)

    rounded_rect(ctx, pl, pt, pw, ph, 12)
    ctx.set_source(vgrad(pt, pb, rgb("#2e3238"), rgb("#1e2125")))
    ctx.fill()
    glow = cairo.RadialGradient(272, 238, 0, 272, 238, 170)
    glow.add_color_stop_rgba(0, ACCENT[0], ACCENT[1], ACCENT[2], 0.10)
    glow.add_color_stop_rgba(1, ACCENT[0], ACCENT[1], ACCENT[2], 0.0)
    rounded_rect(ctx, pl, pt, pw, ph, 12)
    ctx.set_source(glow)
    ctx.fill()
    rounded_rect(ctx, pl + 0.5, pt + 0.5, pw - 1, ph - 1, 11.5)
    ctx.set_line_width(1.0)
    ctx.set_source_rgba(1, 1, 1, 0.10)
    ctx.stroke()
    rounded_rect(ctx, pl + 1.5, pt + 1.5, pw - 3, ph - 3, 10.5)
    ctx.set_source_rgba(0, 0, 0, 0.35)
    ctx.stroke()

    # Close mark: a ring with a cross, centred in its active area.
    cl, ct, cr, cb = ABOUT_CLOSE
    ccx, ccy = (cl + cr) / 2.0, (ct + cb) / 2.0
    ctx.arc(ccx, ccy, 9, 0, 2 * math.pi)
    ctx.set_source_rgba(0, 0, 0, 0.35)
    ctx.fill_preserve()
    ctx.set_line_width(1.3)
    ctx.set_source_rgba(*TEXT_DIM)
    ctx.stroke()
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    ctx.set_line_width(1.6)
    d = 3.6
    ctx.move_to(ccx - d, ccy - d)
    ctx.line_to(ccx + d, ccy + d)
    ctx.move_to(ccx + d, ccy - d)
    ctx.line_to(ccx - d, ccy + d)
    ctx.set_source_rgba(*TEXT)
    ctx.stroke()

    # Left: the mark, large.
    draw_logo_mark(ctx, 232, 238, 4.2)
    ctx.arc(272, 238, 118, 0, 2 * math.pi)
    ctx.set_line_width(1.0)
    ctx.set_source_rgba(1, 1, 1, 0.04)
    ctx.stroke()

    # Right: name, description, version, vendor, link and button.
    tx = 495
    set_font(ctx, 50, family=LOGO_FONT)
    draw_text(ctx, PRODUCT, tx, 158, TEXT, spacing=2.5)
    set_font(ctx, 10, bold=True)
    draw_text(ctx, "ALGORITHMIC STEREO REVERB", tx, 184, ACCENT, spacing=2.0)
    set_font(ctx, 12)
    draw_text(ctx, "Version " + VERSION, tx, 214, TEXT_DIM)
    ctx.set_line_width(1.0)
    ctx.move_to(tx - 70, 232.5)
    ctx.line_to(tx + 70, 232.5)
    ctx.set_source_rgba(1, 1, 1, 0.08)
    ctx.stroke()
    set_font(ctx, 12)
    draw_text(ctx, "Designed and built by", tx, 256, TEXT_DIM)
    set_font(ctx, 14, bold=True)
    draw_text(ctx, VENDOR.upper(), tx, 276, TEXT, spacing=3.0)

    wl, wt, wr, wb = ABOUT_WEB
    set_font(ctx, 13)
    wx, wy = (wl + wr) / 2.0, wt + 14
    draw_text(ctx, WEB_TEXT, wx, wy, ACCENT)
    ww = ctx.text_extents(WEB_TEXT).x_advance
    ctx.set_line_width(1.0)
    ctx.move_to(wx - ww / 2, wy + 2.5)
    ctx.line_to(wx + ww / 2, wy + 2.5)
    ctx.set_source_rgba(ACCENT[0], ACCENT[1], ACCENT[2], 0.5)
    ctx.stroke()

    bl, bt, br, bb = ABOUT_DONATE
    bx, by, bw, bh = bl + 4, bt + 6, br - bl - 8, bb - bt - 12
    soft_shadow(ctx, bx, by, bw, bh, 10, 5, 0.5)
    rounded_rect(ctx, bx, by, bw, bh, 10)
    ctx.set_source(vgrad(by, by + bh, rgb("#ffb54d"), ACCENT_DEEP))
    ctx.fill()
    rounded_rect(ctx, bx + 0.5, by + 0.5, bw - 1, bh - 1, 9.5)
    ctx.set_source_rgba(1, 1, 1, 0.25)
    ctx.stroke()
    # A small heart before the caption.
    set_font(ctx, 14, bold=True)
    cap = "Support Soravel"
    cw = ctx.text_extents(cap).x_advance
    hx = bx + bw / 2.0 - (cw + 20) / 2.0 + 6
    hy = by + bh / 2.0
    ctx.move_to(hx, hy + 5)
    ctx.curve_to(hx - 9, hy - 1, hx - 5, hy - 8, hx, hy - 3.5)
    ctx.curve_to(hx + 5, hy - 8, hx + 9, hy - 1, hx, hy + 5)
    ctx.close_path()
    ctx.set_source_rgba(*rgb("#1b1d21"))
    ctx.fill()
    draw_text(ctx, cap, hx + 14, hy + 5, rgb("#1b1d21"), align="left")

    set_font(ctx, 9.5)
    draw_text(ctx, "Stereo in, stereo out  \u00b7  VST 2 plug-in", 386, 406 - 6, TEXT_DIM)

    # Coverage of the panel: 0 outside, 255 inside, antialiased edge.
    mask = cairo.ImageSurface(cairo.FORMAT_A8, width, height)
    mctx = cairo.Context(mask)
    mctx.scale(float(zoom), float(zoom))
    rounded_rect(mctx, pl, pt, pw, ph, 12)
    mctx.set_source_rgba(0, 0, 0, 1)
    mctx.fill()
    mask.flush()
    mdata = bytes(mask.get_data())
    mstride = mask.get_stride()

    rows = rows_rgb(color)
    out = []
    margin_alpha = 153
    alpha_of = bytes(margin_alpha + ((255 - margin_alpha) * c + 127) // 255 for c in range(256))
    for y in range(height):
        row = bytearray(4 * width)
        src = rows[y]
        row[0::4] = src[0::3]
        row[1::4] = src[1::3]
        row[2::4] = src[2::3]
        row[3::4] = mdata[y * mstride:y * mstride + width].translate(alpha_of)
        out.append(row)
    return out


# ---------------------------------------------------------------------------

IMAGE_BASES = ("ABOUT", "BACKGROUND", "BIG_KNOB", "SMALL_KNOB", "MID_KNOB",
               "SWITCH", "VU_SCALE")
IMAGE_NAMES = tuple(base + suffix for _, suffix in ZOOMS for base in IMAGE_BASES)


def write_surface(path, surface, alpha, interlace):
    rows = rows_rgba(surface) if alpha else rows_rgb(surface)
    write_png(path, surface.get_width(), surface.get_height(), rows, alpha, interlace)


def generate(outdir):
    check_small_print()
    os.makedirs(outdir, exist_ok=True)
    for zoom, suffix in ZOOMS:
        def path(name):
            return os.path.join(outdir, name + suffix + ".png")

        write_png(path("ABOUT"), px(WIDTH, zoom), px(HEIGHT, zoom), make_about(zoom),
                  alpha=True, interlace=True)
        write_surface(path("BACKGROUND"), make_background(zoom), alpha=False, interlace=True)
        for name, size in (("BIG_KNOB", 96), ("SMALL_KNOB", 48), ("MID_KNOB", 72)):
            write_surface(path(name), make_knob(size, zoom), alpha=True, interlace=False)
        write_surface(path("SWITCH"), make_switch(zoom), alpha=True, interlace=True)
        vu = make_vu_scale(zoom)
        write_png(path("VU_SCALE"), len(vu[0]) // 3, len(vu), vu, alpha=False,
                  interlace=False)


def check(committed):
    tmp = tempfile.mkdtemp(prefix="soravel-images-")
    try:
        generate(tmp)
        bad = []
        for name in IMAGE_NAMES:
            a = os.path.join(committed, name + ".png")
            b = os.path.join(tmp, name + ".png")
            if not os.path.exists(a):
                bad.append("%s: missing in %s" % (name + ".png", committed))
                continue
            with open(a, "rb") as fa, open(b, "rb") as fb:
                if fa.read() != fb.read():
                    bad.append("%s: differs from the generator's output" % (name + ".png"))
        if bad:
            for line in bad:
                sys.stderr.write("check_images: " + line + "\n")
            sys.stderr.write("check_images: regenerate with "
                             "tools/images/make_images.py %s and commit, or check that "
                             "Liberation Sans (fonts-liberation2) is installed: a "
                             "substituted font changes every image with text\n" % committed)
            return 1
        print("check_images: all %d images match" % len(IMAGE_NAMES))
        return 0
    finally:
        shutil.rmtree(tmp, ignore_errors=True)


def main(argv):
    if len(argv) == 2 and argv[1] == "--print-vu-table":
        print_vu_table()
        return 0
    if cairo is None or png is None:
        sys.stderr.write("make_images: needs the Python modules cairo and png "
                         "(Debian: python3-cairo python3-png); try /usr/bin/python3\n")
        return 2
    if len(argv) == 3 and argv[1] == "--check":
        return check(argv[2])
    if len(argv) == 2 and not argv[1].startswith("-"):
        generate(argv[1])
        return 0
    sys.stderr.write(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
