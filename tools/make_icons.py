#!/usr/bin/env python3
"""Generate the MiniRollpouch program icon: a six-sided die showing three.

Writes src/resources/icons/minirollpouch-{16,24,32,48,64,128,256}.png as
8-bit RGBA PNGs, transparent outside the die. 16 and 24 px are hand-laid
pixel art so they stay crisp; larger sizes are drawn from signed distance
fields with analytic antialiasing (coverage from distance to each edge).

Run:  python3 tools/make_icons.py   (writes relative to the repository root)
Output is byte-identical on every run.
"""

import math
import os
import struct
import sys
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT_DIR = os.path.join(ROOT, "src", "resources", "icons")
SIZES = [16, 24, 32, 48, 64, 128, 256]

OUTLINE = (43, 36, 32)
FACE_LIGHT = (255, 253, 245)
FACE_DARK = (236, 226, 204)
SIDE_LIGHT = (214, 199, 168)
SIDE_DARK = (176, 158, 124)
PIP = (40, 33, 30)
LEATHER_LIGHT = (196, 134, 78)
LEATHER_DARK = (128, 76, 42)
LEATHER_SHINE = (226, 174, 120)
LEATHER_INSIDE = (74, 44, 26)
TIE = (94, 56, 32)
PAPER_LIGHT = (255, 255, 252)
PAPER_DARK = (234, 230, 220)
FOLD = (214, 205, 186)


# --- PNG ---------------------------------------------------------------------

def _chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def encode_png(width, height, rows):
    """rows: list of bytes objects, width*4 RGBA bytes each."""
    ihdr = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    raw = b"".join(b"\x00" + r for r in rows)  # filter type 0 on every row
    return (b"\x89PNG\r\n\x1a\n" + _chunk(b"IHDR", ihdr)
            + _chunk(b"IDAT", zlib.compress(raw, 9)) + _chunk(b"IEND", b""))


def encode_rgb_png(width, height, rows):
    """rows: list of bytes objects, width*3 RGB bytes each (24-bit, opaque)."""
    ihdr = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    raw = b"".join(b"\x00" + bytes(r) for r in rows)
    return (b"\x89PNG\r\n\x1a\n" + _chunk(b"IHDR", ihdr)
            + _chunk(b"IDAT", zlib.compress(raw, 9)) + _chunk(b"IEND", b""))


def blit(sheet, rows, x0, y0, zoom):
    """Draws RGBA `rows` onto an RGB sheet (a list of bytearrays), each
    pixel as a zoom x zoom block; used for contact sheets."""
    for y in range(len(rows) * zoom):
        src = rows[y // zoom]
        for x in range(len(src) // 4 * zoom):
            r, g, b, a = src[(x // zoom) * 4:(x // zoom) * 4 + 4]
            o = (x0 + x) * 3
            under = sheet[y0 + y][o:o + 3]
            sheet[y0 + y][o:o + 3] = bytes((v * a + u * (255 - a) + 127) // 255
                                           for v, u in zip((r, g, b), under))


def preview_argument(argv):
    """OUT of `--preview OUT.png`, or None; any other argument is an error."""
    if argv[1:2] == ["--preview"] and len(argv) == 3:
        return argv[2]
    if len(argv) != 1:
        sys.exit("usage: %s [--preview OUT.png]" % os.path.basename(argv[0]))
    return None


def decode_png(data):
    """Minimal reader for what encode_png writes; used by the self-check."""
    assert data[:8] == b"\x89PNG\r\n\x1a\n"
    pos, idat, ihdr = 8, b"", None
    while pos < len(data):
        (n,) = struct.unpack(">I", data[pos:pos + 4])
        kind, body = data[pos + 4:pos + 8], data[pos + 8:pos + 8 + n]
        (crc,) = struct.unpack(">I", data[pos + 8 + n:pos + 12 + n])
        assert crc == zlib.crc32(kind + body), kind
        if kind == b"IHDR":
            ihdr = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + n
    w, h = ihdr[0], ihdr[1]
    raw = zlib.decompress(idat)
    stride = w * 4 + 1
    rows = [raw[y * stride + 1:(y + 1) * stride] for y in range(h)]
    assert all(raw[y * stride] == 0 for y in range(h))
    return ihdr, rows


# --- small sizes: pixel art --------------------------------------------------

def die_grid(size, side, pip, cut, pips):
    """Crisp die as a size x size grid of colours (None is transparent):
    1 px outline, face, a side band bottom/right of `side` px, the corners
    cut by `cut`, and square pips of `pip` px at the given top-left corners."""
    last = size - 1
    face_end = last - 1 - side  # last face row/column
    grid = [[None] * size for _ in range(size)]
    for y in range(size):
        for x in range(size):
            # Round the corners by cutting a small triangle off each one.
            dx, dy = min(x, last - x), min(y, last - y)
            if dx + dy < cut:
                continue
            if x == 0 or y == 0 or x == last or y == last or dx + dy == cut:
                grid[y][x] = OUTLINE
            elif x > face_end or y > face_end:
                grid[y][x] = SIDE_DARK if (x > face_end and y > face_end) else SIDE_LIGHT
            else:
                grid[y][x] = FACE_LIGHT
    # Soften the face/side seam at the face's bottom-right corner.
    grid[face_end][face_end] = SIDE_LIGHT
    for px, py in pips:
        for y in range(py, py + pip):
            for x in range(px, px + pip):
                grid[y][x] = PIP
    return grid


def grid_rows(grid):
    rows = []
    for line in grid:
        row = bytearray()
        for c in line:
            row += bytes((0, 0, 0, 0)) if c is None else bytes(c + (255,))
        rows.append(bytes(row))
    return rows


def paste(grid, part, ox, oy):
    for y, line in enumerate(part):
        for x, c in enumerate(line):
            if c is not None:
                grid[oy + y][ox + x] = c


def pixel_die(size):
    """MiniRollpouch at 16/24 px: the die showing three on the diagonal."""
    if size == 16:
        grid = die_grid(16, 2, 2, 2, [(9, 3), (6, 6), (3, 9)])
    elif size == 24:
        grid = die_grid(24, 3, 3, 3, [(14, 4), (9, 9), (4, 14)])
    else:
        raise ValueError(size)
    return grid_rows(grid)


# The die of Rollpouch and its trays shows four: (span, side, pip, cut, pips).
SMALL_FOUR = {
    16: (11, 1, 2, 2, [(2, 2), (6, 2), (2, 6), (6, 6)]),
    24: (14, 2, 2, 2, [(3, 3), (7, 3), (3, 7), (7, 7)]),
}

# The pouch behind the die at 16/24 px: o outline, I the open mouth, L M D
# leather from light to dark, H its shine, T the drawstring.
POUCH_ART = {
    16: [
        "..oooooooo......",
        "..oLIIIIMo......",
        "...oLLLMo.......",
        "...oooooo.......",
        "...oLLLMo.......",
        "..oLLLLMMo......",
        ".oLLHLLMMo......",
        "oLLHLLLMMo......",
        "oLHLLLLMMo......",
        "oLLLLLMMo.......",
        "oLLLLMMMo.......",
        "oLLLMMMDo.......",
        "oLMMMMDDo.......",
        "oMMMMDDDo.......",
        ".oMDDDDo........",
        "..oooooooooooo..",
    ],
    24: [
        "...oooooooooooo.........",
        "...oLIIIIIIIIMo.........",
        "....oLLIIIIIMo..........",
        ".....oLLLLLMo...........",
        "....oooooooooo..........",
        "....oTTTTTTTTo..........",
        ".....oLLLLLMo...........",
        "....oLLLLLLMMo..........",
        "...oLLLLLLLMMMo.........",
        "..oLLLHLLLLLMMMo........",
        ".oLLLHHLLLLLMMMMo.......",
        ".oLLHHLLLLLLMMMMo.......",
        "oLLLHLLLLLLMMMMMDo......",
        "oLLLLLLLLLMMMMMDDo......",
        "oLLLLLLLLLMMMMMDDo......",
        "oLLLLLLLLMMMMMDDDo......",
        "oLLLLLLLMMMMMMDDDo......",
        "oLLLLLLMMMMMMDDDDo......",
        "oMLLLLMMMMMMDDDDDo......",
        ".oMMMMMMMMMDDDDDo.......",
        ".oMMMMMMMDDDDDDDo.......",
        "..ooMMMMDDDDDDoo........",
        "....oooooooooo..........",
        "........................",
    ],
}


def pouch_colours():
    return {"o": OUTLINE, "I": LEATHER_INSIDE, "L": LEATHER_LIGHT,
            "M": tuple(int(round(v)) for v in mix(LEATHER_LIGHT, LEATHER_DARK, 0.5)),
            "D": LEATHER_DARK, "H": LEATHER_SHINE, "T": TIE}


def small_four(size):
    span, side, pip, cut, pips = SMALL_FOUR[size]
    return span, die_grid(span, side, pip, cut, pips)


def pixel_rollpouch(size):
    colours = pouch_colours()
    grid = [[colours.get(ch) for ch in line] for line in POUCH_ART[size]]
    span, die = small_four(size)
    paste(grid, die, size - span, size - span)
    return grid_rows(grid)


def pixel_document(size):
    """A page with its top-right corner folded over, and the die on it."""
    left, right, fold = (1, 14, 4) if size == 16 else (2, 21, 6)
    last = size - 1
    grid = [[None] * size for _ in range(size)]
    for y in range(size):
        for x in range(left, right + 1):
            corner = x - (right - fold)  # columns into the folded corner
            if corner > 0 and y < corner:
                continue                 # cut off above the fold's diagonal
            edge = (x in (left, right) or y in (0, last) or (corner > 0 and y == corner)
                    or (corner == 0 and y <= fold) or (corner >= 0 and y == fold))
            if edge:
                grid[y][x] = OUTLINE
            elif corner > 0 and y < fold:
                grid[y][x] = FOLD
            else:
                grid[y][x] = PAPER_LIGHT if x + y < size else PAPER_DARK
    span, die = small_four(size)
    paste(grid, die, (left + right + 1 - span) // 2, last - span)
    return grid_rows(grid)


# --- larger sizes: antialiased vector drawing --------------------------------

def sd_round_rect(px, py, x0, y0, x1, y1, r):
    """Signed distance from (px, py) to a rounded rectangle (negative inside)."""
    cx, cy = (x0 + x1) * 0.5, (y0 + y1) * 0.5
    qx = abs(px - cx) - ((x1 - x0) * 0.5 - r)
    qy = abs(py - cy) - ((y1 - y0) * 0.5 - r)
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - r


def coverage(d):
    """Approximate pixel coverage from a signed distance in pixels."""
    return min(1.0, max(0.0, 0.5 - d))


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def sd_circle(px, py, cx, cy, r):
    return math.hypot(px - cx, py - cy) - r


def sd_polygon(px, py, pts):
    """Signed distance to a simple polygon (negative inside)."""
    d = float("inf")
    sign = 1.0
    n = len(pts)
    for i in range(n):
        (ax, ay), (bx, by) = pts[i - 1], pts[i]
        ex, ey = bx - ax, by - ay
        wx, wy = px - ax, py - ay
        t = max(0.0, min(1.0, (wx * ex + wy * ey) / (ex * ex + ey * ey)))
        d = min(d, math.hypot(wx - ex * t, wy - ey * t))
        if (ay > py) != (by > py) and px < ax + (py - ay) * ex / ey:
            sign = -sign
    return sign * d


def sd_segment(px, py, ax, ay, bx, by):
    ex, ey = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * ex + (py - ay) * ey) / (ex * ex + ey * ey)))
    return math.hypot(px - ax - ex * t, py - ay - ey * t)


def smin(a, b, k):
    """Smooth union of two distances."""
    h = max(0.0, min(1.0, 0.5 + 0.5 * (b - a) / k))
    return b + (a - b) * h - k * h * (1.0 - h)


class Canvas:
    """Straight (not premultiplied) RGBA floats, painted back to front."""

    def __init__(self, size):
        self.size = size
        self.px = [[None] * size for _ in range(size)]

    def paint(self, shade, ox, oy):
        """shade(x, y) in the layer's own frame, whose origin is (ox, oy)."""
        for j in range(self.size):
            py = j + 0.5 - oy
            for i in range(self.size):
                got = shade(i + 0.5 - ox, py)
                if got is None:
                    continue
                col, a = got
                under = self.px[j][i]
                if under is None or a >= 1.0:
                    self.px[j][i] = (col, a)
                    continue
                ucol, ua = under
                out = a + ua * (1.0 - a)
                self.px[j][i] = (tuple((col[k] * a + ucol[k] * ua * (1.0 - a)) / out
                                       for k in range(3)), out)

    def rows(self):
        rows = []
        for line in self.px:
            row = bytearray()
            for p in line:
                if p is None or p[1] <= 0.0:
                    row += b"\x00\x00\x00\x00"
                else:
                    col, a = p
                    row += bytes((int(round(col[0])), int(round(col[1])),
                                  int(round(col[2])), int(round(a * 255.0))))
            rows.append(bytes(row))
        return rows


THREE = [(1, -1), (0, 0), (-1, 1)]
FOUR = [(-1, -1), (1, -1), (-1, 1), (1, 1)]


def die_shader(span, pips=THREE, line=None, margin=None):
    """Per-pixel colour of a die drawn in a span x span square whose corner
    is the local origin: shade(px, py) -> (rgb, alpha) or None outside."""
    s = float(span)
    # Straight edges land on whole pixels so they stay sharp at 32-64 px.
    if margin is None:
        margin = float(max(1, round(s * 0.03)))
    if line is None:
        line = float(max(1, round(s * 0.04)))     # outline width
    depth = float(round(s * 0.085))           # side band, bottom and right
    radius = s * 0.19
    x0 = y0 = margin
    x1 = y1 = s - margin
    inner_r = radius - line
    fx1 = fy1 = x1 - line - depth       # face's bottom-right corner
    face_r = inner_r * 0.9
    seam = max(0.6, s * 0.012)          # darker line where face meets side
    fcx = (x0 + line + fx1) * 0.5       # face centre
    fspan = fx1 - (x0 + line)
    pip_r = fspan * 0.105
    off = fspan * 0.27
    centres = [(fcx + dx * off, fcx + dy * off) for dx, dy in pips]
    glow_x, glow_y, glow_r = x0 + fspan * 0.28, y0 + fspan * 0.25, fspan * 0.55
    large = span >= 64

    def shade(px, py):
        a_out = coverage(sd_round_rect(px, py, x0, y0, x1, y1, radius))
        if a_out <= 0.0:
            return None
        col = OUTLINE
        # Side band, darker towards the bottom-right.
        c = coverage(sd_round_rect(px, py, x0 + line, y0 + line,
                                   x1 - line, y1 - line, inner_r))
        if c > 0.0:
            t = min(1.0, max(0.0, ((px + py) / s - 1.0) * 1.6 + 0.5))
            col = mix(col, mix(SIDE_LIGHT, SIDE_DARK, t), c)
            d_face = sd_round_rect(px, py, x0 + line, y0 + line,
                                   fx1, fy1, face_r)
            # Seam is clipped to the side region so it never paints
            # over the outline at the top and left.
            cs = min(c, coverage(d_face - seam))
            col = mix(col, mix(SIDE_DARK, OUTLINE, 0.35), cs * 0.8)
            cf = min(c, coverage(d_face))
            if cf > 0.0:
                t = min(1.0, max(0.0, ((px - x0) + (py - y0)) / (2.0 * fspan)))
                face = mix(FACE_LIGHT, FACE_DARK, t * t)
                g = math.hypot(px - glow_x, py - glow_y) / glow_r
                if g < 1.0:
                    face = mix(face, (255, 255, 255), 0.55 * (1.0 - g) ** 2)
                col = mix(col, face, cf)
                for qx, qy in centres:
                    d = math.hypot(px - qx, py - qy) - pip_r
                    cp = coverage(d)
                    if cp > 0.0:
                        # Slightly lighter lower-right rim reads as a
                        # drilled hollow at large sizes.
                        rim = 0.0
                        if large:
                            u = ((px - qx) + (py - qy)) / (pip_r * 1.414)
                            rim = max(0.0, u) ** 3 * 0.22
                        col = mix(col, mix(PIP, SIDE_DARK, rim), cp)
        return col, a_out
    return shade


def vector_die(size):
    shade = die_shader(size)
    canvas = Canvas(size)
    canvas.paint(shade, 0.0, 0.0)
    return canvas.rows()


def pouch_shader(size):
    """The leather pouch of the Rollpouch icon, in a 256-unit design."""
    k = size / 256.0
    line = float(max(1, round(size * 0.04)))
    mouth = [(50 * k, 16 * k), (152 * k, 16 * k), (124 * k, 62 * k), (80 * k, 62 * k)]
    neck = [(76 * k, 66 * k), (128 * k, 66 * k), (166 * k, 112 * k), (38 * k, 112 * k)]
    creases = [(88, 80, 70, 128), (116, 80, 134, 124), (102, 82, 102, 112)]

    def shade(px, py):
        d_body = smin(sd_circle(px, py, 100 * k, 158 * k, 84 * k),
                      sd_polygon(px, py, neck), 22 * k)
        d_top = sd_polygon(px, py, mouth) - 3 * k
        d_tie = sd_round_rect(px, py, 64 * k, 52 * k, 140 * k, 76 * k, 9 * k)
        a = coverage(min(d_body, d_top, d_tie))
        if a <= 0.0:
            return None
        col = OUTLINE
        # Leather, lit from the top-left, with a soft shine on the belly.
        for d, top in ((d_body, 60.0), (d_top, 10.0)):
            inside = coverage(d + line)
            if inside > 0.0:
                t = min(1.0, max(0.0, (py / k - top) / 190.0 + (px / k - 100.0) / 400.0))
                leather = mix(LEATHER_LIGHT, LEATHER_DARK, t)
                g = math.hypot(px - 66 * k, py - 132 * k) / (64 * k)
                if g < 1.0 and d is d_body:
                    leather = mix(leather, LEATHER_SHINE, 0.8 * (1.0 - g) ** 2)
                col = mix(col, leather, inside)
        # The open mouth at the top.
        d_mouth = math.hypot((px - 101 * k) / (40 * k), (py - 24 * k) / (7 * k)) - 1.0
        c = min(coverage(d_mouth * 7 * k), coverage(d_top + line))
        if c > 0.0:
            col = mix(col, LEATHER_INSIDE, c)
        # Folds gathered under the string, where there is room for them.
        if size >= 48:
            for ax, ay, bx, by in creases:
                d = sd_segment(px, py, ax * k, ay * k, bx * k, by * k) - 2.2 * k
                c = min(coverage(d), coverage(d_body + line))
                if c > 0.0:
                    col = mix(col, LEATHER_DARK, c * 0.7)
        # The drawstring.
        c = coverage(d_tie)
        if c > 0.0:
            col = mix(mix(col, OUTLINE, c), TIE, coverage(d_tie + line))
        return col, a
    return shade


def page_shader(size):
    """A page with its top-right corner folded over, in a 256-unit design."""
    k = size / 256.0
    line = float(max(1, round(size * 0.04)))
    # Straight edges on whole pixels, so the page stays sharp when small.
    left, top, right, bottom = (float(round(v * k)) for v in (36, 8, 220, 248))
    fold = float(round(56 * k))
    page = [(left, top), (right - fold, top), (right, top + fold), (right, bottom),
            (left, bottom)]
    flap = [(right - fold, top), (right - fold, top + fold), (right, top + fold)]

    def shade(px, py):
        d = sd_polygon(px, py, page)
        a = coverage(d)
        if a <= 0.0:
            return None
        col = OUTLINE
        inside = coverage(d + line)
        if inside > 0.0:
            t = min(1.0, max(0.0, (px + py) / (2.0 * size)))
            col = mix(col, mix(PAPER_LIGHT, PAPER_DARK, t), inside)
        d_flap = sd_polygon(px, py, flap)
        c = coverage(d_flap + line * 0.5)
        if c > 0.0:
            col = mix(col, FOLD, c)
        edge = min(coverage(d_flap - line * 0.5), 1.0 - c)
        if edge > 0.0 and inside > 0.0:
            col = mix(col, OUTLINE, edge)
        return col, a
    return shade


def vector_rollpouch(size):
    canvas = Canvas(size)
    canvas.paint(pouch_shader(size), 0.0, 0.0)
    line = float(max(1, round(size * 0.04)))
    margin = float(max(1, round(size * 0.03)))
    span = round(size * 0.6)
    canvas.paint(die_shader(span, FOUR, line=line, margin=margin), size - span, size - span)
    return canvas.rows()


def vector_document(size):
    canvas = Canvas(size)
    canvas.paint(page_shader(size), 0.0, 0.0)
    line = float(max(1, round(size * 0.04)))
    span = round(size * 0.56)
    canvas.paint(die_shader(span, FOUR, line=line),
                 (size - span) // 2 - round(size * 0.02), round(size * 0.36))
    return canvas.rows()


# --- main --------------------------------------------------------------------

# name -> (pixel art for 16/24 px, vector drawing above)
FAMILIES = [
    ("minirollpouch", pixel_die, vector_die),
    ("rollpouch", pixel_rollpouch, vector_rollpouch),
    ("application-x-rollpouch", pixel_document, vector_document),
]


def check_png(path, name, size, drawn):
    with open(path, "rb") as f:
        ihdr, rows = decode_png(f.read())
    assert ihdr == (size, size, 8, 6, 0, 0, 0), ihdr
    assert rows == drawn, path
    px = lambda x, y: rows[y][x * 4:x * 4 + 4]
    light = lambda x, y: sum(px(x, y)[:3]) > 600 and px(x, y)[3] == 255
    assert px(0, 0)[3] == 0 and px(size - 1, size - 1)[3] == 0  # corners clear
    if name == "minirollpouch":
        assert px(size // 2, size // 6)[3] == 255  # die body is opaque
        # Centre pixel is pip-dark, a face pixel between pips is light.
        assert sum(px(size // 2 - 1, size // 2 - 1)[:3]) < 200
        assert light(size // 4, size // 2)
    elif name == "rollpouch":
        r, g, b, a = px(size // 8, size * 5 // 8)  # leather on the pouch's left
        assert a == 255 and r > g > b, (size, r, g, b)
        span = SMALL_FOUR[size][0] if size <= 24 else round(size * 0.6)
        o = size - span  # the die's face between its pips
        assert light(o + int(span * 0.3), o + int(span * 0.42)), size
    else:
        assert px(size - 2, 1)[3] == 0  # the folded corner
        assert light(size * 3 // 10, size // 8)  # paper above the die


def write_preview(path):
    """Every icon at 1x and, up to 64 px, at 4x, on a light and a dark ground."""
    zoom = lambda s: 4 if s <= 64 else 1
    cell_h = 260
    width = 8 + sum(s * zoom(s) + 12 for s in SIZES)
    height = 2 * len(FAMILIES) * cell_h + 8
    grounds = [(250, 250, 250), (48, 48, 52)]
    sheet = [bytearray(bytes(grounds[0] if y < height // 2 else grounds[1]) * width)
             for y in range(height)]
    for half in range(2):
        for f, (name, _, _) in enumerate(FAMILIES):
            x0, y0 = 8, 8 + (half * len(FAMILIES) + f) * cell_h
            for size in SIZES:
                with open(os.path.join(OUT_DIR, "%s-%d.png" % (name, size)), "rb") as fh:
                    _, rows = decode_png(fh.read())
                blit(sheet, rows, x0, y0, zoom(size))
                x0 += size * zoom(size) + 12
    with open(path, "wb") as f:
        f.write(encode_rgb_png(width, height, sheet))


def main(argv):
    preview = preview_argument(argv)
    os.makedirs(OUT_DIR, exist_ok=True)
    for name, small, large in FAMILIES:
        for size in SIZES:
            rows = small(size) if size <= 24 else large(size)
            path = os.path.join(OUT_DIR, "%s-%d.png" % (name, size))
            with open(path, "wb") as f:
                f.write(encode_png(size, size, rows))
            check_png(path, name, size, rows)
            print(os.path.relpath(path, ROOT))
    if preview:
        write_preview(preview)
        print("preview:", preview)


if __name__ == "__main__":
    main(sys.argv)
