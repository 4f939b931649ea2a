#!/usr/bin/env python3
"""Generate Rollpouch's splash picture: src/resources/splash/splash.png.

A 563 x 360 24-bit picture: a wooden dice tray seen from above, lined with
green felt, five dice of the program's die sets tumbling across it (each
with its shadow and two fading copies along its way), and the program's
name and version written in a rounded hand drawn from strokes.

The dice are the outlines the die pictures are made from, turned, scaled
and lit from the top-left; edges are 4 x 4 supersampled, text and shadows
come from distances. Noise comes from a fixed integer hash.

Run:  python3 tools/make_splash.py    (writes relative to the repository
      root, then decodes the file again and checks it)
Output is byte-identical on every run.
"""

import math
import os
import struct
import zlib

from make_die_images import COLOURS, LIGHT, OUTLINES, centroid, faces_of, inside, segments
from make_icons import encode_rgb_png

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "src", "resources", "splash", "splash.png")
WIDTH, HEIGHT = 563, 360
RIM = 22           # width of the wooden rim
CORNER = 26.0      # outer corner radius of the tray

WOOD_LIGHT = (176, 118, 64)
WOOD_DARK = (118, 72, 36)
FELT = (34, 98, 66)
FELT_DARK = (16, 58, 38)
TITLE = (255, 244, 214)
TITLE_EDGE = (43, 36, 32)
VERSION = (236, 204, 120)
DIE_COLOURS = {name: (face, edge) for name, face, edge in COLOURS}


# --- small helpers --------------------------------------------------------------

def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def smoothstep(e0, e1, x):
    t = clamp((x - e0) / (e1 - e0))
    return t * t * (3.0 - 2.0 * t)


def hash01(x, y, seed):
    """A fixed pseudo-random number in [0, 1) for integer lattice points."""
    h = (x * 374761393 + y * 668265263 + seed * 2147483647) & 0xFFFFFFFF
    h = ((h ^ (h >> 13)) * 1274126177) & 0xFFFFFFFF
    return ((h ^ (h >> 16)) & 0xFFFFFF) / float(1 << 24)


def value_noise(x, y, cell, seed):
    """Smooth noise in [0, 1) with features about `cell` pixels apart."""
    gx, gy = x / cell, y / cell
    ix, iy = int(math.floor(gx)), int(math.floor(gy))
    fx, fy = gx - ix, gy - iy
    sx, sy = fx * fx * (3 - 2 * fx), fy * fy * (3 - 2 * fy)
    a = hash01(ix, iy, seed) + (hash01(ix + 1, iy, seed) - hash01(ix, iy, seed)) * sx
    b = hash01(ix, iy + 1, seed) + (hash01(ix + 1, iy + 1, seed) - hash01(ix, iy + 1, seed)) * sx
    return a + (b - a) * sy


def sd_round_rect(px, py, x0, y0, x1, y1, r):
    qx = abs(px - (x0 + x1) * 0.5) - ((x1 - x0) * 0.5 - r)
    qy = abs(py - (y0 + y1) * 0.5) - ((y1 - y0) * 0.5 - r)
    return math.hypot(max(qx, 0.0), max(qy, 0.0)) + min(max(qx, qy), 0.0) - r


def segment_distance(px, py, ax, ay, bx, by):
    ex, ey = bx - ax, by - ay
    n = ex * ex + ey * ey
    t = 0.0 if n == 0.0 else clamp(((px - ax) * ex + (py - ay) * ey) / n)
    return math.hypot(px - ax - ex * t, py - ay - ey * t)


def polygon_distance(px, py, poly):
    """Signed distance to a polygon, negative inside."""
    d = min(segment_distance(px, py, *poly[i - 1], *poly[i]) for i in range(len(poly)))
    return -d if inside(poly, px, py) else d


# --- the stroke font ------------------------------------------------------------
# Glyphs are polylines in em units: x to the right from the pen, y down from
# the baseline (the x-height is at -0.52, capitals and ascenders at -0.74).

def arc(cx, cy, r, start, end, ry=None, steps=None):
    """Points along an arc from `start` to `end` degrees, counter-clockwise
    as seen on screen when end > start, clockwise when end < start."""
    ry = r if ry is None else ry
    n = steps or max(6, int(abs(end - start) / 10))
    return [(cx + r * math.cos(math.radians(start + (end - start) * i / n)),
             cy - ry * math.sin(math.radians(start + (end - start) * i / n)))
            for i in range(n + 1)]


GLYPHS = {
    "R": ([[(0, 0), (0, -0.74), (0.24, -0.74)] + arc(0.24, -0.56, 0.18, 90, -90)
           + [(0, -0.38)], [(0.2, -0.38), (0.44, 0)]], 0.58),
    "V": ([[(0, -0.74), (0.29, 0), (0.58, -0.74)]], 0.66),
    "o": ([arc(0.26, -0.26, 0.26, 0, 360)], 0.6),
    "l": ([[(0, -0.78), (0, 0)]], 0.16),
    "p": ([[(0, -0.52), (0, 0.24)], arc(0.25, -0.26, 0.25, 0, 360)], 0.58),
    "u": ([[(0, -0.52)] + arc(0.23, -0.24, 0.23, 180, 360), [(0.46, -0.52), (0.46, 0)]], 0.6),
    "c": ([arc(0.26, -0.26, 0.26, 50, 310)], 0.54),
    "h": ([[(0, -0.78), (0, 0)], arc(0.23, -0.29, 0.23, 180, 0) + [(0.46, 0)]], 0.6),
    "e": ([[(0.02, -0.26), (0.52, -0.26)] + arc(0.27, -0.26, 0.25, 0, 315)], 0.6),
    "r": ([[(0, -0.52), (0, 0)], arc(0.24, -0.28, 0.24, 180, 70)], 0.38),
    "s": ([arc(0.2, -0.39, 0.13, 30, 270) + arc(0.2, -0.13, 0.13, 90, -150)], 0.42),
    "i": ([[(0, -0.52), (0, 0)], [(0, -0.74), (0, -0.74)]], 0.16),
    "n": ([[(0, -0.52), (0, 0)], arc(0.23, -0.29, 0.23, 180, 0) + [(0.46, 0)]], 0.6),
    ".": ([[(0, 0), (0, 0)]], 0.16),
    " ": ([], 0.3),
    "0": ([arc(0.25, -0.37, 0.25, 0, 360, ry=0.37)], 0.56),
    "1": ([[(-0.02, -0.58), (0.16, -0.74), (0.16, 0)]], 0.36),
    "2": ([arc(0.24, -0.51, 0.23, 160, -40) + [(0, 0), (0.5, 0)]], 0.56),
    "4": ([[(0.38, 0), (0.38, -0.74), (0, -0.2), (0.54, -0.2)]], 0.6),
    "7": ([[(0, -0.74), (0.5, -0.74), (0.16, 0)]], 0.54),
    "8": ([arc(0.25, -0.57, 0.17, 270, -90), arc(0.25, -0.2, 0.21, 90, 450)], 0.56),
}


def text_segments(text, size, tracking=0.08):
    """Segments of `text` set at `size` pixels per em, pen starting at the
    origin on the baseline, and the text's advance width."""
    segs, pen = [], 0.0
    for ch in text:
        strokes, advance = GLYPHS[ch]
        for stroke in strokes:
            pts = [(pen + x * size, y * size) for x, y in stroke]
            segs += [(a, b) for a, b in zip(pts, pts[1:])]
        pen += (advance + tracking) * size
    return segs, pen - tracking * size


def strokes_distance(px, py, segs):
    return min(segment_distance(px, py, ax, ay, bx, by) for (ax, ay), (bx, by) in segs)


# --- the picture ----------------------------------------------------------------

class Picture:
    def __init__(self):
        self.px = [[(0.0, 0.0, 0.0)] * WIDTH for _ in range(HEIGHT)]

    def blend(self, x, y, colour, a):
        if 0 <= x < WIDTH and 0 <= y < HEIGHT and a > 0.0:
            self.px[y][x] = mix(self.px[y][x], colour, min(1.0, a))

    def rows(self):
        return [bytes(int(round(clamp(c, 0.0, 255.0))) for p in line for c in p)
                for line in self.px]


def tray(pic):
    """Wooden rim with grain and bevels, felt with a soft inner shadow."""
    for y in range(HEIGHT):
        for x in range(WIDTH):
            px, py = x + 0.5, y + 0.5
            d_in = sd_round_rect(px, py, RIM, RIM, WIDTH - RIM, HEIGHT - RIM, CORNER - RIM * 0.6)
            d_out = sd_round_rect(px, py, 0, 0, WIDTH, HEIGHT, CORNER)
            # Felt: fine fibres, darker towards the rim and the corners, and
            # in the rim's shadow along the top and left (light from the top-left).
            fibre = value_noise(px, py, 2.0, 1) * 0.6 + value_noise(px, py, 9.0, 2) * 0.4
            centre = math.hypot((px - WIDTH * 0.45) / WIDTH, (py - HEIGHT * 0.42) / HEIGHT)
            felt = mix(FELT, FELT_DARK, clamp(centre * 1.25 - 0.12))
            felt = mix(felt, (0, 0, 0), 0.10 * (fibre - 0.5))
            reach = 18.0 if min(px, py) < RIM + 18.0 else 7.0
            felt = mix(felt, (6, 30, 18), 0.5 * (1.0 - smoothstep(0.0, reach, -d_in)))
            # Wood: grain along each side of the rim.
            near_side = min((py, 0), (HEIGHT - py, 1), (px, 2), (WIDTH - px, 3))[1]
            along, across = (px, py) if near_side < 2 else (py, px)
            grain = 0.5 + 0.5 * math.sin(across * 0.9 + along * 0.015
                                         + value_noise(along, across, 40.0, 3) * 8.0)
            wood = mix(WOOD_LIGHT, WOOD_DARK,
                       0.2 + 0.35 * grain + 0.25 * value_noise(along * 0.25, across, 3.0, 4))
            # Bevels: the inner lip faces away from the light on the top and
            # left sides, towards it on the others; the outer edge the reverse.
            facing_light = near_side in (1, 3)
            lip = smoothstep(4.0, 0.0, abs(d_in))
            wood = mix(wood, (222, 170, 110) if facing_light else (66, 38, 18), 0.65 * lip)
            edge = smoothstep(4.0, 0.0, abs(d_out + 2.0))
            wood = mix(wood, (66, 38, 18) if facing_light else (226, 178, 120), 0.5 * edge)
            colour = mix(felt, wood, smoothstep(-0.7, 0.7, d_in))
            # Outside the tray's rounded corners: a dark table.
            pic.px[y][x] = mix(colour, (22, 16, 12), smoothstep(-1.0, 0.5, d_out))


class Die:
    """One die of the picture: a die set's outline turned and scaled."""

    def __init__(self, sides, colour, cx, cy, size, angle, label):
        self.sides, self.label = sides, label
        self.face_rgb, self.edge_rgb = DIE_COLOURS[colour]
        self.cx, self.cy, self.k = cx, cy, size / 64.0
        self.cos, self.sin = math.cos(math.radians(angle)), math.sin(math.radians(angle))
        polygon, lines = OUTLINES[sides]
        segs = segments(polygon, lines)
        faces = faces_of(segs)
        outer = max(faces, key=lambda f: abs(area(f)))
        self.outer = [self.place(p) for p in outer]
        self.front = [self.place(p) for p in polygon]
        self.facets = []
        centre = centroid(outer)
        radius = max(math.hypot(x - centre[0], y - centre[1]) for x, y in outer)
        for f in faces:
            if f is outer or set(f) == set(polygon):
                continue
            self.facets.append(([self.place(p) for p in f], self.tone(f, centre, radius)))
        self.edges = [(self.place(a), self.place(b)) for a, b in segs]
        self.value_at = (32, 42) if sides == 4 else (32, 33)

    def place(self, p):
        x, y = (p[0] - 32) * self.k, (p[1] - 32) * self.k
        return (self.cx + x * self.cos - y * self.sin, self.cy + x * self.sin + y * self.cos)

    def local(self, x, y):
        dx, dy = x - self.cx, y - self.cy
        return (32 + (dx * self.cos + dy * self.sin) / self.k,
                32 + (-dx * self.sin + dy * self.cos) / self.k)

    def tone(self, face, centre, radius):
        """Facets further out are tilted more; those facing away from the
        light (which stays top-left however the die is turned) are darker."""
        fx, fy = centroid(face)
        dx, dy = fx - centre[0], fy - centre[1]
        dx, dy = dx * self.cos - dy * self.sin, dx * self.sin + dy * self.cos
        d = math.hypot(dx, dy)
        if d == 0.0:
            return 0.8
        facing = (dx * LIGHT[0] + dy * LIGHT[1]) / d
        tilt = min(1.0, 1.6 * d / radius)
        return 1.0 - tilt * (0.10 + 0.32 * (1.0 - facing) * 0.5)

    def bounds(self, pad):
        xs = [p[0] for p in self.outer]
        ys = [p[1] for p in self.outer]
        return (max(0, int(min(xs) - pad)), max(0, int(min(ys) - pad)),
                min(WIDTH, int(max(xs) + pad) + 1), min(HEIGHT, int(max(ys) + pad) + 1))

    def colour_at(self, x, y, label_segs, bright):
        """Colour of the die at a point, or None outside it."""
        if not inside(self.outer, x, y):
            return None
        edge_w = max(1.0, 1.1 * self.k)
        if min(segment_distance(x, y, *a, *b) for a, b in self.edges) < edge_w * 0.5:
            return self.edge_rgb
        if inside(self.front, x, y):
            lx, ly = self.local(x, y)
            if self.sides == 6:
                for u, v in ((20, 20), (41, 20), (30.5, 30.5), (20, 41), (41, 41)):
                    if math.hypot(lx - u, ly - v) < 4.6:
                        return mix(self.face_rgb, (20, 16, 14) if bright else (250, 246, 236), 0.9)
            elif label_segs and strokes_distance(lx, ly, label_segs) < 1.9:
                return (26, 22, 20) if bright else (250, 246, 236)
            # A soft sheen towards the top-left of the face.
            return mix(self.face_rgb, (255, 255, 255),
                       0.18 * clamp(1.0 - math.hypot(lx - 22, ly - 22) / 30.0))
        for poly, tone in self.facets:
            if inside(poly, x, y):
                if tone <= 1.0:
                    return tuple(c * tone for c in self.face_rgb)
                return tuple(c + (255 - c) * (tone - 1.0) * 1.6 for c in self.face_rgb)
        return self.edge_rgb

    def draw(self, pic, alpha=1.0, shadow=True):
        label_segs = None
        if self.label:
            segs, width = text_segments(self.label, 19.0, 0.02)
            ox, oy = self.value_at[0] - width * 0.5, self.value_at[1] + 7.0
            label_segs = [((ax + ox, ay + oy), (bx + ox, by + oy)) for (ax, ay), (bx, by) in segs]
        face_luma = (0.30 * self.face_rgb[0] + 0.59 * self.face_rgb[1] + 0.11 * self.face_rgb[2]) / 255
        bright = face_luma > 0.5
        x0, y0, x1, y1 = self.bounds(18.0 * self.k + 4)
        lift = 7.0 * self.k
        shadow_poly = [(x + lift, y + lift * 1.3) for x, y in self.outer]
        n = 4
        for y in range(y0, y1):
            for x in range(x0, x1):
                if shadow:
                    d = polygon_distance(x + 0.5, y + 0.5, shadow_poly)
                    pic.blend(x, y, (0, 12, 6), 0.5 * alpha * (1.0 - smoothstep(-6.0 * self.k, 9.0 * self.k, d)))
                acc, hits = [0.0, 0.0, 0.0], 0
                for sy in range(n):
                    for sx in range(n):
                        c = self.colour_at(x + (sx + 0.5) / n, y + (sy + 0.5) / n, label_segs, bright)
                        if c is not None:
                            hits += 1
                            for i in range(3):
                                acc[i] += c[i]
                if hits:
                    pic.blend(x, y, tuple(v / hits for v in acc), alpha * hits / (n * n))


def area(poly):
    return 0.5 * sum(poly[i - 1][0] * poly[i][1] - poly[i][0] * poly[i - 1][1]
                     for i in range(len(poly)))


# sides, colour, centre, size, angle, label, and where it tumbled in from
# (degrees, 0 = from the right, 90 = from above): its fading copies lie
# that way, turned back.
DICE = [
    (10, "Black", (506, 284), 60, -18, "7", 80),
    (8, "Blue", (182, 262), 84, 14, "8", 30),
    (6, "Ivory", (300, 282), 70, 24, None, 30),
    (20, "Red", (404, 238), 116, -8, "20", 125),
    (4, "Purple", (78, 300), 62, -26, "4", 30),
]
TRAIL = [(0.14, 67.0, 50.0), (0.3, 34.0, 24.0)]  # alpha, distance, turn


def text(pic, s, x, y, size, colour, weight, edge=0.0, shadow=0.0):
    """Writes `s` with its pen at (x, y) on the baseline."""
    segs, width = text_segments(s, size)
    segs = [((ax + x, ay + y), (bx + x, by + y)) for (ax, ay), (bx, by) in segs]
    pad = weight + edge + shadow + 3
    xs = [p[0] for seg in segs for p in seg]
    ys = [p[1] for seg in segs for p in seg]
    for py in range(max(0, int(min(ys) - pad)), min(HEIGHT, int(max(ys) + pad + shadow) + 1)):
        for px in range(max(0, int(min(xs) - pad)), min(WIDTH, int(max(xs) + pad + shadow) + 1)):
            cx, cy = px + 0.5, py + 0.5
            if shadow:
                ds = strokes_distance(cx - shadow, cy - shadow, segs)
                pic.blend(px, py, (0, 10, 4), 0.45 * (1.0 - smoothstep(weight, weight + edge + 4.0, ds)))
            d = strokes_distance(cx, cy, segs)
            if edge:
                pic.blend(px, py, TITLE_EDGE, clamp(weight + edge + 0.5 - d))
            # Lighter at the top of the letters.
            shine = mix(colour, (255, 255, 255), 0.35 * clamp((y - cy) / size))
            pic.blend(px, py, shine, clamp(weight + 0.5 - d))
    return width


def main():
    pic = Picture()
    tray(pic)
    for sides, colour, (cx, cy), size, angle, label, origin in DICE:
        ux, uy = math.cos(math.radians(origin)), -math.sin(math.radians(origin))
        for alpha, dist, turn in TRAIL:
            Die(sides, colour, cx + ux * dist, cy + uy * dist, size, angle + turn,
                label).draw(pic, alpha, False)
        Die(sides, colour, cx, cy, size, angle, label).draw(pic)
    text(pic, "Rollpouch", 50, 112, 86.0, TITLE, 5.2, 2.5, 4.0)
    text(pic, "Version 1.1", 56, 168, 29.0, VERSION, 1.9, 1.2, 2.0)

    rows = pic.rows()
    data = encode_rgb_png(WIDTH, HEIGHT, rows)
    os.makedirs(os.path.dirname(OUT), exist_ok=True)
    with open(OUT, "wb") as f:
        f.write(data)
    check(OUT, rows)
    print(os.path.relpath(OUT, ROOT))


def check(path, rows):
    with open(path, "rb") as f:
        data = f.read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n"
    width, height, depth, kind = struct.unpack(">IIBB", data[16:26])
    assert (width, height, depth, kind) == (WIDTH, HEIGHT, 8, 2)  # 24-bit RGB
    pos, idat = 8, b""
    while pos < len(data):
        (n,) = struct.unpack(">I", data[pos:pos + 4])
        if data[pos + 4:pos + 8] == b"IDAT":
            idat += data[pos + 8:pos + 8 + n]
        pos += 12 + n
    raw = zlib.decompress(idat)
    assert raw == b"".join(b"\x00" + r for r in rows)
    at = lambda x, y: tuple(rows[y][3 * x:3 * x + 3])
    assert sum(at(WIDTH // 2, 8)) > 250 and at(WIDTH // 2, 8)[0] > at(WIDTH // 2, 8)[2]  # wood
    felt = at(WIDTH // 2, HEIGHT // 2 - 40)
    assert felt[1] > felt[0] and felt[1] > felt[2], felt  # green felt


if __name__ == "__main__":
    main()
