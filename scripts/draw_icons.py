#!/usr/bin/env python3
"""Draw the ZMX Studio icon set into resources/images/.

Standard library only.  Every icon is built from a handful of primitives
(rectangles, polygons, ellipses, thick lines, arcs and a tiny pixel font).
Shapes are rasterised into supersampled coverage masks -- one Python int per
subsample row -- and composited per pixel, which gives clean anti-aliasing.
Outlines are produced by dilating a shape's mask by one pixel.

Usage:  python3 scripts/draw_icons.py [output-dir [theme-dir]]
"""

import math
import os
import struct
import sys
import zlib

SS = 8  # subsamples per pixel along each axis

# --------------------------------------------------------------------------
# Palette
# --------------------------------------------------------------------------
OUT = (40, 44, 54)          # outlines
WHITE = (252, 252, 252)
PAPER_SHADE = (208, 214, 224)
TEXT = (150, 158, 172)      # text lines on pages
YELLOW = (250, 205, 85)     # folders
YELLOW_D = (222, 164, 48)
STAR = (255, 214, 40)
BLUE = (48, 112, 208)
BLUE_L = (150, 196, 245)
GLASS = (200, 228, 252)
GREEN = (46, 166, 72)
RED = (218, 48, 44)
ORANGE = (242, 140, 30)
PURPLE = (134, 78, 196)
TEAL = (18, 150, 148)
GREY = (150, 156, 168)
GREY_L = (206, 211, 220)
CHIP = (64, 70, 84)
PIN = (196, 200, 210)
BROWN = (156, 98, 46)
WOOD = (238, 204, 150)
PINK = (240, 130, 150)
WIRE = (30, 120, 70)


def shade(col, f):
    """Lighten (f > 0) or darken (f < 0) a colour."""
    if f >= 0:
        return tuple(int(round(v + (255 - v) * f)) for v in col[:3])
    return tuple(int(round(v * (1 + f))) for v in col[:3])


def vgrad(col, y0, y1, top=0.22, bottom=-0.10):
    """Vertical gradient based on `col`, lighter at y0 and darker at y1."""
    c0, c1 = shade(col, top), shade(col, bottom)

    def f(x, y):
        t = min(1.0, max(0.0, (y - y0) / float(max(1e-6, y1 - y0))))
        return tuple(c0[i] + (c1[i] - c0[i]) * t for i in range(3))
    return f


# --------------------------------------------------------------------------
# Masks and canvas
# --------------------------------------------------------------------------
class Mask:
    """Binary supersampled coverage; bit i of rows[j] is subsample (i, j)."""

    __slots__ = ("w", "h", "rows")

    def __init__(self, w, h, rows=None):
        self.w, self.h = w, h
        self.rows = rows if rows is not None else [0] * h

    def __or__(self, o):
        return Mask(self.w, self.h, [a | b for a, b in zip(self.rows, o.rows)])

    def __and__(self, o):
        return Mask(self.w, self.h, [a & b for a, b in zip(self.rows, o.rows)])

    def __sub__(self, o):
        return Mask(self.w, self.h, [a & ~b for a, b in zip(self.rows, o.rows)])

    def dilate(self, px=1.0, rounded=True):
        r = int(round(px * SS))
        full = (1 << self.w) - 1
        smeared = {}

        def smear(hw):
            if hw not in smeared:
                rows = []
                for v in self.rows:
                    acc = v
                    for k in range(1, hw + 1):
                        acc |= (v << k) | (v >> k)
                    rows.append(acc & full)
                smeared[hw] = rows
            return smeared[hw]

        out = [0] * self.h
        for dy in range(-r, r + 1):
            hw = int(math.floor(math.sqrt(r * r - dy * dy) + 1e-9)) if rounded else r
            src = smear(hw)
            for y in range(self.h):
                sy = y - dy
                if 0 <= sy < self.h:
                    out[y] |= src[sy]
        return Mask(self.w, self.h, out)


class Canvas:
    def __init__(self, n):
        self.n = n
        self.W = n * SS
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(n * n)]

    # ---- primitive masks (coordinates in pixels, pixel (i,j) = [i,i+1)) --
    def empty(self):
        return Mask(self.W, self.W)

    def _span(self, xa, xb):
        i0 = max(0, int(math.ceil(xa * SS - 0.5)))
        i1 = min(self.W, int(math.ceil(xb * SS - 0.5)))
        if i1 <= i0:
            return 0
        return ((1 << (i1 - i0)) - 1) << i0

    def poly(self, *polys):
        """Fill one or more polygons (non-zero winding, all combined)."""
        m = self.empty()
        edges = []
        for pts in polys:
            for k in range(len(pts)):
                x0, y0 = pts[k]
                x1, y1 = pts[(k + 1) % len(pts)]
                if y0 != y1:
                    edges.append((x0, y0, x1, y1))
        if not edges:
            return m
        ymin = min(min(e[1], e[3]) for e in edges)
        ymax = max(max(e[1], e[3]) for e in edges)
        j0 = max(0, int(ymin * SS) - 1)
        j1 = min(self.W, int(ymax * SS) + 2)
        for j in range(j0, j1):
            y = (j + 0.5) / SS
            xs = []
            for x0, y0, x1, y1 in edges:
                if (y0 <= y < y1) or (y1 <= y < y0):
                    xs.append((x0 + (y - y0) * (x1 - x0) / (y1 - y0),
                               1 if y1 > y0 else -1))
            if not xs:
                continue
            xs.sort()
            wind, row, start = 0, 0, 0.0
            for x, d in xs:
                if wind == 0:
                    start = x
                wind += d
                if wind == 0:
                    row |= self._span(start, x)
            m.rows[j] = row
        return m

    def rect(self, x0, y0, x1, y1):
        return self.poly([(x0, y0), (x1, y0), (x1, y1), (x0, y1)])

    def ellipse(self, cx, cy, rx, ry):
        m = self.empty()
        j0 = max(0, int((cy - ry) * SS) - 1)
        j1 = min(self.W, int((cy + ry) * SS) + 2)
        for j in range(j0, j1):
            dy = ((j + 0.5) / SS - cy) / ry
            if abs(dy) < 1.0:
                half = rx * math.sqrt(1.0 - dy * dy)
                m.rows[j] = self._span(cx - half, cx + half)
        return m

    def circle(self, cx, cy, r):
        return self.ellipse(cx, cy, r, r)

    def rrect(self, x0, y0, x1, y1, r):
        pts = []
        for cx, cy, a0 in ((x1 - r, y0 + r, -90), (x1 - r, y1 - r, 0),
                           (x0 + r, y1 - r, 90), (x0 + r, y0 + r, 180)):
            for k in range(7):
                a = math.radians(a0 + 15 * k)
                pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
        return self.poly(pts)

    def line(self, p0, p1, w, cap="round"):
        (x0, y0), (x1, y1) = p0, p1
        dx, dy = x1 - x0, y1 - y0
        ln = math.hypot(dx, dy) or 1e-6
        ux, uy = dx / ln, dy / ln
        nx, ny = -uy * w / 2.0, ux * w / 2.0
        if cap == "square":
            x0, y0 = x0 - ux * w / 2, y0 - uy * w / 2
            x1, y1 = x1 + ux * w / 2, y1 + uy * w / 2
        m = self.poly([(x0 + nx, y0 + ny), (x1 + nx, y1 + ny),
                       (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)])
        if cap == "round":
            m = m | self.circle(p0[0], p0[1], w / 2.0) | self.circle(p1[0], p1[1], w / 2.0)
        return m

    def polyline(self, pts, w, cap="round"):
        m = self.empty()
        for a, b in zip(pts, pts[1:]):
            m = m | self.line(a, b, w, cap="butt")
        for k, p in enumerate(pts):
            if 0 < k < len(pts) - 1 or cap == "round":
                m = m | self.circle(p[0], p[1], w / 2.0)
        return m

    def arc(self, cx, cy, r, w, a0, a1, steps=40):
        """Thick arc of mid-radius r, angles in degrees (y axis points down)."""
        ro, ri = r + w / 2.0, r - w / 2.0
        outer, inner = [], []
        for k in range(steps + 1):
            a = math.radians(a0 + (a1 - a0) * k / steps)
            outer.append((cx + ro * math.cos(a), cy + ro * math.sin(a)))
            inner.append((cx + ri * math.cos(a), cy + ri * math.sin(a)))
        return self.poly(outer + inner[::-1])

    def star(self, cx, cy, ro, ri, points=5, rot=-90):
        pts = []
        for k in range(points * 2):
            r = ro if k % 2 == 0 else ri
            a = math.radians(rot + 180.0 * k / points)
            pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
        return self.poly(pts)

    def gear(self, cx, cy, ro, ri, teeth=8, hole=0.0):
        pts = []
        step = 360.0 / teeth
        for k in range(teeth):
            base = k * step
            for da, r in ((-0.30, ri), (-0.18, ro), (0.18, ro), (0.30, ri)):
                a = math.radians(base + da * step)
                pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
        m = self.poly(pts) | self.circle(cx, cy, ri)
        if hole > 0:
            m = m - self.circle(cx, cy, hole)
        return m

    def text(self, s, x, y, scale=1):
        """Tiny pixel font; (x, y) is the top-left corner of the first glyph."""
        m = self.empty()
        for ch in s:
            glyph = FONT[ch]
            for gy, row in enumerate(glyph):
                for gx, bit in enumerate(row):
                    if bit == "#":
                        m = m | self.rect(x + gx * scale, y + gy * scale,
                                          x + (gx + 1) * scale, y + (gy + 1) * scale)
            x += (len(glyph[0]) + 1) * scale
        return m

    # ---- painting --------------------------------------------------------
    def paint(self, m, colour, alpha=1.0):
        n, block, area = self.n, (1 << SS) - 1, float(SS * SS)
        for py in range(n):
            sub = m.rows[py * SS:(py + 1) * SS]
            if not any(sub):
                continue
            for px in range(n):
                sh = px * SS
                cov = 0
                for v in sub:
                    cov += ((v >> sh) & block).bit_count()
                if not cov:
                    continue
                col = colour(px + 0.5, py + 0.5) if callable(colour) else colour
                a = cov / area * alpha * (col[3] / 255.0 if len(col) > 3 else 1.0)
                p = self.px[py * n + px]
                for i in range(3):
                    p[i] = col[i] / 255.0 * a + p[i] * (1.0 - a)
                p[3] = a + p[3] * (1.0 - a)

    def shape(self, m, fill, outline=OUT, width=1.0, rounded=True):
        """Paint a filled shape with an outline drawn just outside it."""
        if outline is not None and width > 0:
            self.paint(m.dilate(width, rounded), outline)
        self.paint(m, fill)

    # ---- output ----------------------------------------------------------
    def png_bytes(self):
        n = self.n
        raw = bytearray()
        for y in range(n):
            raw.append(0)
            for x in range(n):
                r, g, b, a = self.px[y * n + x]
                if a <= 1e-6:
                    raw += b"\0\0\0\0"
                    continue
                raw += bytes(min(255, int(round(v / a * 255))) for v in (r, g, b))
                raw.append(min(255, int(round(a * 255))))

        def chunk(tag, data):
            body = tag + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

        return (b"\x89PNG\r\n\x1a\n"
                + chunk(b"IHDR", struct.pack(">IIBBBBB", n, n, 8, 6, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
                + chunk(b"IEND", b""))


FONT = {
    "A": [".#.", "#.#", "###", "#.#", "#.#"],
    "C": [".##", "#..", "#..", "#..", ".##"],
    "H": ["#.#", "#.#", "###", "#.#", "#.#"],
    "M": ["#...#", "##.##", "#.#.#", "#...#", "#...#"],
    "S": [".##", "#..", ".#.", "..#", "##."],
    "+": ["...", ".#.", "###", ".#.", "..."],
}


# --------------------------------------------------------------------------
# Shared building blocks (16x16 coordinates)
# --------------------------------------------------------------------------
def page(c, x0=3, y0=1, x1=13, y1=15, fold=4, fill=WHITE):
    c.shape(c.poly([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)]),
            vgrad(fill, y0, y1, 0.0, -0.06))
    c.paint(c.poly([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)]), PAPER_SHADE)
    c.paint(c.rect(x1 - fold, y0, x1 - fold + 1, y0 + fold) |
            c.rect(x1 - fold, y0 + fold - 1, x1, y0 + fold), OUT)


def text_lines(c, x0, x1, ys, colour=TEXT):
    for y in ys:
        c.paint(c.rect(x0, y, x1, y + 1), colour)


def folder(c, x0=1, y0=3, x1=15, y1=14, fill=YELLOW):
    tab = c.poly([(x0, y0), (x0 + 5, y0), (x0 + 6, y0 + 1), (x1, y0 + 1),
                  (x1, y1), (x0, y1)])
    c.shape(tab, YELLOW_D)
    c.shape(c.rect(x0, y0 + 3, x1, y1), vgrad(fill, y0 + 3, y1), rounded=False)


def open_folder(c):
    c.shape(c.poly([(1, 14), (1, 3), (6, 3), (7, 4), (13, 4), (13, 7), (4, 7)]), YELLOW_D)
    c.shape(c.rect(3, 5, 12, 8), WHITE, width=0)
    c.paint(c.rect(3, 5, 12, 6), PAPER_SHADE)
    c.shape(c.poly([(4, 7), (15.5, 7), (12.5, 14), (1, 14)]), vgrad(YELLOW, 7, 14))


def floppy(c, x0=1, y0=1, s=14, fill=BLUE):
    k = s / 14.0
    x1, y1 = x0 + s, y0 + s
    body = c.poly([(x0, y0), (x1 - 2 * k, y0), (x1, y0 + 2 * k), (x1, y1), (x0, y1)])
    c.shape(body, vgrad(fill, y0, y1))
    # paper label at the top
    c.paint(c.rect(x0 + 3 * k, y0, x1 - 3 * k, y0 + 5.5 * k), WHITE)
    c.paint(c.rect(x0 + 4 * k, y0 + 2 * k, x1 - 4 * k, y0 + 3 * k), TEXT)
    # metal shutter at the bottom
    c.paint(c.rect(x0 + 3 * k, y1 - 5 * k, x1 - 3 * k, y1), GREY_L)
    c.paint(c.rect(x0 + 7.5 * k, y1 - 4 * k, x0 + 9.5 * k, y1 - 1 * k), CHIP)


def badge(c, kind, cx=11.5, cy=11.5, r=3.5):
    """Small round status badge in the bottom-right corner."""
    colours = {"add": GREEN, "remove": RED, "lost": RED, "next": GREEN}
    c.shape(c.circle(cx, cy, r), vgrad(colours[kind], cy - r, cy + r, 0.25, -0.05))
    ix, iy = int(cx), int(cy)
    if kind == "add":
        c.paint(c.rect(ix - 2, iy, ix + 3, iy + 1) | c.rect(ix, iy - 2, ix + 1, iy + 3), WHITE)
    elif kind == "remove":
        c.paint(c.rect(ix - 2, iy, ix + 3, iy + 1), WHITE)
    elif kind == "lost":
        d = 1.6
        c.paint(c.line((cx - d, cy - d), (cx + d, cy + d), 1.3, "butt") |
                c.line((cx - d, cy + d), (cx + d, cy - d), 1.3, "butt"), WHITE)
    elif kind == "next":
        c.paint(c.poly([(cx - 1.2, cy - 2.2), (cx + 2.0, cy), (cx - 1.2, cy + 2.2)]), WHITE)


def new_star(c, cx=3.5, cy=3.5):
    c.shape(c.star(cx, cy, 3.4, 1.5), STAR)


def gear_badge(c, cx=11.5, cy=11.5):
    c.shape(c.gear(cx, cy, 4.0, 2.9, teeth=8, hole=1.2), vgrad(GREY, cy - 4, cy + 4, 0.3, -0.1))


def play_badge(c, x=8, y=8, s=7):
    c.shape(c.poly([(x, y), (x + s, y + s / 2.0), (x, y + s)]), vgrad(GREEN, y, y + s, 0.3, -0.05))


def pencil(c, tip, length=9.0, half=1.5):
    tx, ty = tip
    dx, dy = 1 / math.sqrt(2), -1 / math.sqrt(2)      # towards top-right
    nx, ny = -dy, dx

    def at(t, s):
        return (tx + dx * t + nx * s, ty + dy * t + ny * s)
    body = c.poly([at(3, half), at(length, half), at(length, -half), at(3, -half)])
    point = c.poly([at(0, 0), at(3, half), at(3, -half)])
    c.paint((body | point).dilate(1.0), OUT)
    c.paint(body, ORANGE)
    c.paint(c.poly([at(3, 0), at(length, 0), at(length, -half), at(3, -half)]), shade(ORANGE, -0.15))
    c.paint(c.poly([at(length - 2, half), at(length, half), at(length, -half),
                    at(length - 2, -half)]), PINK)
    c.paint(point, WOOD)
    c.paint(c.poly([at(0, 0), at(1.2, 0.6), at(1.2, -0.6)]), OUT)


def magnifier(c, cx=6, cy=6, r=4.0, handle=(14, 14)):
    d = r / math.sqrt(2)
    c.shape(c.line((cx + d, cy + d), handle, 2.6), BROWN)
    c.shape(c.circle(cx, cy, r), vgrad(GLASS, cy - r, cy + r, 0.4, -0.05), width=1.4)
    c.paint(c.arc(cx, cy, r - 1.3, 0.9, 200, 260), WHITE)


def schematic(c):
    """A small circuit loop -- resistor and capacitor -- drawn on a page."""
    r = c.rect
    wires = (r(3, 6, 6, 7) | r(10, 6, 12, 7) | r(11, 6, 12, 9) | r(10, 9, 13, 10) |
             r(10, 11, 13, 12) | r(11, 12, 12, 14) | r(3, 13, 12, 14) | r(3, 6, 4, 14))
    resistor = r(6, 5, 10, 8) - r(7, 6, 9, 7)
    c.paint(wires | resistor, WIRE)
    c.paint(c.circle(3.5, 13.5, 1.2) | c.circle(11.5, 13.5, 1.2), WIRE)


def chip(c, x0, y0, x1, y1, pins=3, pin_len=2, body=CHIP, vertical_pins=False):
    """Chip body with pins on the left/right (and optionally top/bottom)."""
    h, w = y1 - y0, x1 - x0
    pm = c.empty()
    for k in range(pins):
        py = y0 + (h - (2 * pins - 1)) / 2.0 + 2 * k
        pm = pm | c.rect(x0 - pin_len, py, x1 + pin_len, py + 1)
        if vertical_pins:
            px = x0 + (w - (2 * pins - 1)) / 2.0 + 2 * k
            pm = pm | c.rect(px, y0 - pin_len, px + 1, y1 + pin_len)
    c.paint(pm, GREY)
    c.shape(c.rect(x0, y0, x1, y1), vgrad(body, y0, y1, 0.25, -0.1), width=0.9)
    c.paint(c.circle(x0 + 1.2, y0 + 1.2, 0.6), GREY)


def window(c, x0=1, y0=1, x1=15, y1=15, title=BLUE):
    c.shape(c.rect(x0, y0, x1, y1), WHITE, rounded=False)
    c.paint(c.rect(x0, y0, x1, y0 + 3), vgrad(title, y0, y0 + 3, 0.2, 0))
    c.paint(c.rect(x0, y0 + 3, x1, y0 + 4), OUT)


def hammer(c):
    c.shape(c.line((2.5, 13.5), (9.5, 6.5), 2.4, "butt"), vgrad(BROWN, 6, 14, 0.3, -0.1))
    # head, perpendicular to the handle
    k = 1 / math.sqrt(2)
    cx, cy = 9.8, 5.2
    ux, uy = k, k        # head axis
    vx, vy = k, -k       # handle axis
    hl, hw = 5.0, 2.0

    def at(a, b):
        return (cx + ux * a + vx * b, cy + uy * a + vy * b)
    head = c.poly([at(-hl, -hw), at(hl * 0.55, -hw), at(hl, -hw * 0.6),
                   at(hl, hw * 0.6), at(hl * 0.55, hw), at(-hl, hw)])
    c.shape(head, vgrad(GREY, 0, 11, 0.35, -0.15))


def lang_icon(c, label, colour):
    page(c)
    text_lines(c, 5, 10, (4, 6))
    w = sum(len(FONT[ch][0]) for ch in label) + len(label) - 1
    x1 = 15
    x0 = x1 - w - 2
    c.shape(c.rect(x0, 8, x1, 15), vgrad(colour, 8, 15, 0.2, -0.1), rounded=False)
    c.paint(c.text(label, x0 + 1, 9), WHITE)


# --------------------------------------------------------------------------
# Icons
# --------------------------------------------------------------------------
ICONS = {}


def icon(name, size=16):
    def deco(fn):
        ICONS[name] = (size, fn)
        return fn
    return deco


def app_geometry(n):
    """The application icon's shapes for an n-pixel canvas: the 16-pixel drawing for the
    small sizes, the 32-pixel one scaled for every larger size, so that pins stay whole pixels."""
    if n <= 16:
        k, body, pins, pw, reach, zw, ow = 1, (4, 13), (5, 7, 9, 11), 1, (1, 16), 1.7, 1.0
    else:
        s = n / 32.0
        k, body, pins, pw, reach, zw, ow = (2 * s, (8 * s, 25 * s), tuple(p * s for p in (9, 13, 17, 21)),
                                            2 * s, (2 * s, 31 * s), 3.2 * s, 1.5 * s)
    lo, hi = body
    a, b = lo + 1.8 * k, hi - 1.8 * k
    return {"k": k, "lo": lo, "hi": hi, "pins": pins, "pw": pw, "reach": reach, "zw": zw, "ow": ow,
            "z": [(a, a), (b, a), (a, b), (b, b)], "za": a, "zb": b}


BODY = (44, 72, 120)
Z_EDGE = (20, 30, 50)
DOT = (120, 150, 200)


def app_icon(c):
    """Application icon: a chip carrying a bold "Z"."""
    g = app_geometry(c.n)
    k, lo, hi, reach, pw = g["k"], g["lo"], g["hi"], g["reach"], g["pw"]
    pm = c.empty()
    for p in g["pins"]:
        pm = pm | c.rect(p, reach[0], p + pw, reach[1]) | c.rect(reach[0], p, reach[1], p + pw)
    c.paint(pm, vgrad(GREY, 0, c.n, 0.1, -0.2))
    c.shape(c.rrect(lo, lo, hi, hi, 1.2 * k), vgrad(BODY, lo, hi, 0.3, -0.2), width=g["ow"])
    z = c.polyline(g["z"], g["zw"], cap="square")
    c.paint(z.dilate(0.45 * k), Z_EDGE)
    c.paint(z, vgrad(ORANGE, g["za"], g["zb"], 0.35, -0.05))
    c.paint(c.circle(lo + 1.0 * k, lo + 1.0 * k, 0.5 * k), DOT)


def app_icon_svg():
    """The application icon as SVG, the same shapes as the 256-pixel drawing."""
    n = 256
    g = app_geometry(n)
    k, lo, hi, reach, pw, ow = g["k"], g["lo"], g["hi"], g["reach"], g["pw"], g["ow"]

    def rgb(col):
        return "#%02x%02x%02x" % tuple(col[:3])

    def gradient(name, col, y0, y1, top, bottom):
        return ('<linearGradient id="%s" gradientUnits="userSpaceOnUse" x1="0" y1="%g" x2="0" y2="%g">'
                '<stop offset="0" stop-color="%s"/><stop offset="1" stop-color="%s"/></linearGradient>'
                % (name, y0, y1, rgb(shade(col, top)), rgb(shade(col, bottom))))

    pins = []
    for p in g["pins"]:
        pins.append('<rect x="%g" y="%g" width="%g" height="%g"/>' % (p, reach[0], pw, reach[1] - reach[0]))
        pins.append('<rect x="%g" y="%g" width="%g" height="%g"/>' % (reach[0], p, reach[1] - reach[0], pw))
    body = 'x="%g" y="%g" width="%g" height="%g" rx="%g"' % (lo, lo, hi - lo, hi - lo, 1.2 * k)
    z = " ".join("%g,%g" % p for p in g["z"])
    return "\n".join([
        '<?xml version="1.0" encoding="UTF-8"?>',
        '<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">' % (n, n, n, n),
        "<title>ZMX Studio</title>",
        "<defs>",
        gradient("pins", GREY, 0, n, 0.1, -0.2),
        gradient("body", BODY, lo, hi, 0.3, -0.2),
        gradient("z", ORANGE, g["za"], g["zb"], 0.35, -0.05),
        "</defs>",
        '<g fill="url(#pins)">%s</g>' % "".join(pins),
        # The outline lies outside the body: a doubled stroke whose inner half the fill covers.
        '<rect %s fill="none" stroke="%s" stroke-width="%g" stroke-linejoin="round"/>' % (body, rgb(OUT), 2 * ow),
        '<rect %s fill="url(#body)"/>' % body,
        '<polyline points="%s" fill="none" stroke="%s" stroke-width="%g" stroke-linecap="square" '
        'stroke-linejoin="round"/>' % (z, rgb(Z_EDGE), g["zw"] + 2 * 0.45 * k),
        '<polyline points="%s" fill="none" stroke="url(#z)" stroke-width="%g" stroke-linecap="square" '
        'stroke-linejoin="round"/>' % (z, g["zw"]),
        '<circle cx="%g" cy="%g" r="%g" fill="%s"/>' % (lo + 1.0 * k, lo + 1.0 * k, 0.5 * k, rgb(DOT)),
        "</svg>",
        "",
    ])


# Sizes of the icon theme's application icons (hicolor/<n>x<n>/apps/zmxstudio.png).
THEME_SIZES = (16, 32, 48, 64, 128, 256)


def draw_theme_icons(out):
    """The application icon for the desktop's icon theme, below out/hicolor/."""
    global SS
    for n in THEME_SIZES:
        folder = os.path.join(out, "hicolor", "%dx%d" % (n, n), "apps")
        os.makedirs(folder, exist_ok=True)
        # Large canvases need fewer subsamples for the same smoothness, and take far less time.
        SS = 8 if n <= 64 else 4
        c = Canvas(n)
        app_icon(c)
        with open(os.path.join(folder, "zmxstudio.png"), "wb") as f:
            f.write(c.png_bytes())
    SS = 8
    folder = os.path.join(out, "hicolor", "scalable", "apps")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "zmxstudio.svg"), "w", encoding="utf-8") as f:
        f.write(app_icon_svg())


@icon("ZMXStudio16.png")
def _(c):
    app_icon(c)


@icon("ZMXStudio32.png", 32)
def _(c):
    app_icon(c)


@icon("build.png")
def _(c):
    hammer(c)


@icon("clean.png")
def _(c):
    c.shape(c.line((8.5, 8.0), (14.0, 1.5), 1.7), BROWN)
    bristles = c.poly([(5.5, 6.5), (10.5, 10.5), (7.5, 15.0), (1.0, 10.0)])
    c.shape(bristles, vgrad(YELLOW, 6, 15, 0.25, -0.1))
    c.paint(c.line((3.6, 11.4), (7.4, 8.6), 0.6, "butt") | c.line((5.2, 13.2), (8.8, 10.0), 0.6, "butt"),
            YELLOW_D)
    c.shape(c.poly([(5.5, 6.5), (7.0, 5.0), (11.5, 8.9), (10.5, 10.5)]), RED)
    c.paint(c.star(13.0, 12.0, 2.6, 0.7, 4, rot=0), BLUE_L)


@icon("stop_build.png")
def _(c):
    # A stop sign: a red octagon with a white bar.
    import math
    pts = [(8 + 7.0 * math.cos(math.radians(22.5 + 45 * i)), 8 + 7.0 * math.sin(math.radians(22.5 + 45 * i)))
           for i in range(8)]
    c.shape(c.poly(pts), vgrad(RED, 1, 15, 0.25, -0.1))
    c.paint(c.rect(4, 6.8, 12, 9.2), WHITE)


@icon("close.png")
def _(c):
    c.shape(c.rrect(1.5, 1.5, 14.5, 14.5, 2.5), vgrad(RED, 1, 15, 0.25, -0.1))
    c.paint(c.line((5, 5), (11, 11), 2.2) | c.line((5, 11), (11, 5), 2.2), WHITE)


@icon("edit_copy.png")
def _(c):
    page(c, 2, 1, 10, 11, 3)
    text_lines(c, 3, 7, (5, 7))
    page(c, 6, 5, 14, 15, 3)
    text_lines(c, 7, 12, (9, 11, 13))


@icon("edit_cut.png")
def _(c):
    blades = c.line((5.0, 10.0), (11.5, 0.8), 1.8) | c.line((11.0, 10.0), (4.5, 0.8), 1.8)
    c.shape(blades, vgrad(GREY_L, 0, 10, 0.4, -0.15))
    c.paint(c.circle(8, 5.6, 0.8), OUT)
    ring = (c.circle(4.3, 12.2, 2.9) - c.circle(4.3, 12.2, 1.3)) | \
           (c.circle(11.7, 12.2, 2.9) - c.circle(11.7, 12.2, 1.3))
    c.shape(ring, vgrad(RED, 9, 15, 0.2, -0.1))


@icon("edit_paste.png")
def _(c):
    c.shape(c.rrect(2, 2, 14, 15, 1.5), vgrad(BROWN, 2, 15, 0.25, -0.1))
    c.shape(c.rect(4, 4, 12, 14), WHITE, outline=None)
    text_lines(c, 5, 11, (7, 9, 11))
    c.shape(c.rrect(5, 0.5, 11, 4, 1.0), vgrad(GREY_L, 0, 4, 0.3, -0.2))


def curved_arrow(c, mirror=False):
    def mx(x):
        return 16 - x if mirror else x
    a0, a1 = (-90, 120)
    if mirror:
        a0, a1 = 60, 270
    arc = c.arc(mx(8.5), 9.0, 4.2, 2.4, a0, a1)
    head = c.poly([(mx(1.2), 4.8), (mx(7.0), 0.6), (mx(7.0), 9.0)])
    c.paint((arc | head).dilate(1.0), OUT)
    c.paint(arc | head, vgrad(BLUE, 1, 14, 0.3, -0.1))


@icon("edit_undo.png")
def _(c):
    curved_arrow(c)


@icon("edit_redo.png")
def _(c):
    curved_arrow(c, mirror=True)


@icon("edit_goto.png")
def _(c):
    c.shape(c.rect(2, 1, 14, 15), WHITE, rounded=False)
    text_lines(c, 4, 12, (3, 5, 11, 13))
    c.paint(c.rect(2, 7, 14, 10), (255, 226, 120))
    c.paint(c.rect(7, 8, 12, 9), OUT)
    arrow = c.poly([(0, 7.5), (3, 7.5), (3, 5.5), (6.5, 8.5), (3, 11.5), (3, 9.5), (0, 9.5)])
    c.shape(arrow, GREEN)


@icon("edit_search.png")
def _(c):
    magnifier(c, 6.5, 6.5, 4.5, (14, 14))


@icon("edit_search_next.png")
def _(c):
    magnifier(c, 6, 6, 4.0, (10, 10))
    badge(c, "next")


@icon("edit_replace.png")
def _(c):
    magnifier(c, 5.5, 5.5, 3.8, (9.5, 9.5))
    pencil(c, (6.0, 15.0), 10.5, 1.5)


@icon("file_new.png")
def _(c):
    page(c)
    text_lines(c, 6, 11, (8, 10, 12))
    new_star(c)


@icon("file_add.png")
def _(c):
    page(c, 2, 1, 12, 15)
    text_lines(c, 4, 10, (6, 8))
    badge(c, "add")


@icon("file_remove.png")
def _(c):
    page(c, 2, 1, 12, 15)
    text_lines(c, 4, 10, (6, 8))
    badge(c, "remove")


@icon("file_open.png")
def _(c):
    open_folder(c)


@icon("file_print.png")
def _(c):
    c.shape(c.rect(4, 1, 12, 7), WHITE, rounded=False)
    c.shape(c.rrect(1, 6, 15, 12, 1.2), vgrad(GREY_L, 6, 12, 0.3, -0.2))
    c.paint(c.rect(2, 8, 14, 9), shade(GREY, -0.1))
    c.paint(c.rect(12, 10, 13, 11), GREEN)
    c.shape(c.rect(4, 10, 12, 15), WHITE, rounded=False)
    text_lines(c, 5, 11, (11, 13))


@icon("file_save.png")
def _(c):
    floppy(c)


@icon("file_saveas.png")
def _(c):
    floppy(c, 1, 1, 12)
    pencil(c, (6.5, 15.0), 10.5, 1.5)


@icon("file_saveall.png")
def _(c):
    floppy(c, 5, 1, 10, shade(BLUE, -0.25))
    floppy(c, 1, 5, 10)


@icon("help.png")
def _(c):
    c.shape(c.circle(8, 8, 7), vgrad(BLUE, 1, 15, 0.3, -0.1))
    q = c.arc(8, 6, 2.3, 1.9, 180, 360 + 60) | c.line((9.2, 8.0), (8.0, 9.3), 1.9, "butt") \
        | c.rect(7.05, 9.0, 8.95, 10.3)
    c.paint(q, WHITE)
    c.paint(c.circle(8, 12.3, 1.15), WHITE)


@icon("project.png")
def _(c):
    folder(c)


@icon("project_new.png")
def _(c):
    folder(c, 2, 4, 15, 15)
    new_star(c)


@icon("project_settings.png")
def _(c):
    folder(c, 1, 2, 14, 12)
    gear_badge(c)


@icon("project_design.png")
def _(c):
    page(c, 2, 1, 14, 15)
    schematic(c)


@icon("project_add_design.png")
def _(c):
    page(c, 2, 1, 14, 15)
    schematic(c)
    badge(c, "add")


@icon("project_create_design.png")
def _(c):
    page(c, 2, 1, 14, 15)
    schematic(c)
    new_star(c)


@icon("project_lost.png")
def _(c):
    page(c, 2, 1, 12, 15, fill=(236, 238, 242))
    text_lines(c, 4, 10, (6, 8), (184, 190, 200))
    badge(c, "lost")


@icon("project_source.png")
def _(c):
    page(c)
    c.paint(c.rect(5, 6, 9, 7), BLUE)
    c.paint(c.rect(6, 8, 11, 9), GREEN)
    c.paint(c.rect(6, 10, 10, 11), ORANGE)
    c.paint(c.rect(5, 12, 8, 13), BLUE)


@icon("project_other.png")
def _(c):
    page(c)
    text_lines(c, 5, 11, (6, 8, 10, 12))


@icon("project_c.png")
def _(c):
    lang_icon(c, "C", BLUE)


@icon("project_c++.png")
def _(c):
    lang_icon(c, "C++", PURPLE)


@icon("project_assembly.png")
def _(c):
    lang_icon(c, "ASM", ORANGE)


@icon("project_header.png")
def _(c):
    lang_icon(c, "H", TEAL)


@icon("vask.png")
def _(c):
    window(c)
    chip(c, 5, 6, 11, 13, pins=3, pin_len=3)


@icon("vask_run.png")
def _(c):
    window(c)
    chip(c, 5, 6, 11, 13, pins=3, pin_len=3)
    play_badge(c, 9, 8.5, 6.5)


@icon("vask_stop.png")
def _(c):
    window(c)
    chip(c, 5, 6, 11, 13, pins=3, pin_len=3)
    c.shape(c.rect(10, 9.5, 15, 14.5), vgrad(RED, 9.5, 14.5, 0.3, -0.05))


@icon("settings_compilers.png")
def _(c):
    hammer(c)
    gear_badge(c)


@icon("settings_program.png")
def _(c):
    window(c, 1, 1, 15, 13)
    text_lines(c, 3, 9, (6, 8, 10))
    gear_badge(c)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "resources", "images")
    os.makedirs(out, exist_ok=True)
    for name, (size, fn) in ICONS.items():
        c = Canvas(size)
        fn(c)
        with open(os.path.join(out, name), "wb") as f:
            f.write(c.png_bytes())
    print("wrote %d icons to %s" % (len(ICONS), os.path.normpath(out)))
    themes = sys.argv[2] if len(sys.argv) > 2 else os.path.join(here, "..", "resources", "icons")
    draw_theme_icons(themes)
    print("wrote the application icon in %d sizes and as SVG to %s" % (len(THEME_SIZES), os.path.normpath(themes)))


if __name__ == "__main__":
    main()
