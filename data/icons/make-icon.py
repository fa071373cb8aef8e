#!/usr/bin/env python3
"""Draws the program's icon: a settings panel of three sliders.

One list of shapes gives both corvane2003.svg and the PNG sizes beside it, so
the two never disagree. Needs only Python; run it after changing a shape:
    python3 data/icons/make-icon.py
"""

import math
import os
import struct
import zlib

SIZE = 256  # the drawing's own units
TOP, BOTTOM = (0x2B, 0x3A, 0x55), (0x14, 0x1B, 0x2B)
TRACK, KNOB, EDGE = (0x6A, 0x7D, 0x9E), (0xF3, 0xA4, 0x3B), (0x14, 0x1B, 0x2B)

# (kind, geometry..., colour); drawn in order, later shapes over earlier ones.
TRACKS = [(52, 204, y) for y in (84, 132, 180)]
KNOBS = [(100, 84), (164, 132), (124, 180)]
SHAPES = (
    [("box", 8, 8, 248, 248, 48, None)]
    + [("line", x0, y, x1, y, 14, TRACK) for x0, x1, y in TRACKS]
    + [("circle", x, y, 24, EDGE) for x, y in KNOBS]
    + [("circle", x, y, 19, KNOB) for x, y in KNOBS]
)


def hexcolour(c):
    return "#%02x%02x%02x" % c


def svg():
    out = [
        '<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">' % ((SIZE,) * 4),
        '  <defs><linearGradient id="bg" x1="0" y1="0" x2="0" y2="1">'
        '<stop offset="0" stop-color="%s"/><stop offset="1" stop-color="%s"/></linearGradient></defs>'
        % (hexcolour(TOP), hexcolour(BOTTOM)),
    ]
    for s in SHAPES:
        if s[0] == "box":
            _, x0, y0, x1, y1, r, _ = s
            out.append('  <rect x="%d" y="%d" width="%d" height="%d" rx="%d" fill="url(#bg)"/>' % (x0, y0, x1 - x0, y1 - y0, r))
        elif s[0] == "line":
            _, x0, y0, x1, y1, w, c = s
            out.append('  <line x1="%d" y1="%d" x2="%d" y2="%d" stroke="%s" stroke-width="%d" stroke-linecap="round"/>'
                       % (x0, y0, x1, y1, hexcolour(c), w))
        else:
            _, x, y, r, c = s
            out.append('  <circle cx="%d" cy="%d" r="%d" fill="%s"/>' % (x, y, r, hexcolour(c)))
    out.append("</svg>")
    return "\n".join(out) + "\n"


def distance(s, px, py):
    """Signed distance from a point to a shape's outline, in drawing units."""
    if s[0] == "box":
        _, x0, y0, x1, y1, r, _ = s
        cx, cy, hx, hy = (x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2 - r, (y1 - y0) / 2 - r
        qx, qy = abs(px - cx) - hx, abs(py - cy) - hy
        return math.hypot(max(qx, 0), max(qy, 0)) + min(max(qx, qy), 0) - r
    if s[0] == "line":
        _, x0, y0, x1, y1, w, _ = s
        dx, dy = x1 - x0, y1 - y0
        t = max(0.0, min(1.0, ((px - x0) * dx + (py - y0) * dy) / (dx * dx + dy * dy)))
        return math.hypot(px - x0 - t * dx, py - y0 - t * dy) - w / 2
    _, x, y, r, _ = s
    return math.hypot(px - x, py - y) - r


def colour(s, py):
    if s[0] == "box":
        t = (py - s[2]) / (s[4] - s[2])
        return tuple(a + (b - a) * t for a, b in zip(TOP, BOTTOM))
    return s[-1]


def png(pixels):
    scale = SIZE / pixels
    rows = bytearray()
    for j in range(pixels):
        rows.append(0)
        py = (j + 0.5) * scale
        for i in range(pixels):
            px = (i + 0.5) * scale
            r = g = b = a = 0.0
            for s in SHAPES:
                cover = max(0.0, min(1.0, 0.5 - distance(s, px, py) / scale))
                if cover == 0.0:
                    continue
                c = colour(s, py)
                # "over" compositing with premultiplied colour
                r, g, b = (c[0] * cover + r * (1 - cover), c[1] * cover + g * (1 - cover), c[2] * cover + b * (1 - cover))
                a = cover + a * (1 - cover)
            if a > 0:
                r, g, b = r / a, g / a, b / a
            rows += bytes((round(r), round(g), round(b), round(a * 255)))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", pixels, pixels, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b"")


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, "corvane2003.svg"), "w") as f:
        f.write(svg())
    for pixels in (48, 256):
        with open(os.path.join(here, "corvane2003-%d.png" % pixels), "wb") as f:
            f.write(png(pixels))
