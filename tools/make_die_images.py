#!/usr/bin/env python3
"""Generate the die pictures: images/<Colour>/d<N>.gif and d<N>@2x.gif.

Each picture is a 64 x 64 GIF89a with one transparent palette index,
showing the die from the front as flat-shaded pixel art. The outlines are
the same ones the program draws over a die while it is dragged, so the
picture is built from them: edges are 1 px lines between the outline
points, the front face is one flat colour (the program writes the die's
value on it and samples its colour), and every other facet gets one shade
from its direction, lit from the top-left.

Beside each picture goes the same die at twice the size (128 x 128, the
same palette), for screens with two device pixels per tray unit: edges are
2 px wide over exactly the pixels a 1-unit line covers there, and every
other pixel takes the region its centre falls in.

Run:  python3 tools/make_die_images.py            (writes relative to the
      repository root, then decodes every file again and checks it)
      python3 tools/make_die_images.py --preview OUT.png
                                                  (also writes a contact
      sheet of all pictures at 2x on a light and a dark background)
Output is byte-identical on every run.
"""

import math
import os
import struct
import sys
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT_DIR = os.path.join(ROOT, "images")
SIZE = 64
SIDES = [4, 6, 8, 10, 12, 20, 100]

# name -> (face, edge lines). Face lumas stay well away from 0.5 so the
# program's black/white choice for the number is never a close call.
COLOURS = [
    ("Light Gray", (200, 200, 200), (72, 72, 76)),
    ("Red", (158, 30, 36), (60, 6, 10)),
    ("Blue", (40, 92, 190), (14, 34, 84)),
    ("Green", (36, 112, 56), (10, 46, 20)),
    ("Ivory", (240, 234, 214), (112, 100, 76)),
    # Dark edges would vanish on a black die; light ones read as worn rims.
    ("Black", (40, 40, 40), (112, 112, 112)),
    ("Purple", (104, 52, 150), (42, 16, 66)),
]

# Front face ("polygon") and the polylines drawn around it, on the pixel
# grid: point (x, y) is the centre of pixel (x, y).
OUTLINES = {
    4: ([(30, 8), (59, 57), (2, 57)], []),
    6: ([(6, 6), (55, 6), (55, 55), (6, 55)], []),
    8: ([(32, 1), (59, 47), (4, 47)],
        [[(32, 1), (59, 16), (59, 47)],
         [(32, 1), (4, 17), (4, 47)],
         [(59, 47), (32, 61), (4, 47)]]),
    10: ([(31, 2), (47, 37), (31, 51), (14, 37)],
         [[(31, 2), (57, 25), (55, 38), (47, 37)],
          [(31, 2), (5, 25), (6, 38), (14, 37)],
          [(6, 38), (31, 59), (31, 51)],
          [(31, 59), (55, 38)]]),
    12: ([(32, 13), (49, 26), (42, 46), (21, 46), (14, 26)],
         [[(32, 13), (32, 3), (50, 10), (59, 23), (49, 26)],
          [(59, 23), (59, 41), (49, 54), (42, 46)],
          [(49, 54), (31, 61), (15, 55), (21, 46)],
          [(15, 55), (4, 41), (4, 23), (14, 26)],
          [(4, 23), (14, 9), (32, 3)]]),
    20: ([(31, 13), (48, 41), (14, 41)],
         [[(48, 41), (31, 61), (14, 41)],
          [(14, 41), (6, 16), (31, 13)],
          [(31, 13), (57, 16), (48, 41)],
          [(6, 16), (31, 2), (31, 13)],
          [(31, 2), (57, 16)],
          [(57, 16), (57, 46), (48, 41)],
          [(31, 61), (57, 46)],
          [(31, 61), (6, 46), (14, 41)],
          [(6, 46), (6, 16)]]),
    100: ([(62, 31), (27, 47), (13, 31), (27, 14)],
          [[(62, 31), (39, 57), (26, 55), (27, 47)],
           [(62, 31), (39, 5), (26, 6), (27, 14)],
           [(26, 6), (5, 31), (13, 31)],
           [(5, 31), (26, 55)]]),
}


def value_point(sides):
    """Where the program centres the number (and samples the face colour)."""
    return (32, 42) if sides == 4 else (32, 32)


# Half-size of the uniform square the self-check demands around the value
# point: pixels c-h .. c+h-1 on both axes. The number samples about 8 x 15
# px; 20 x 20 leaves room (the d6 is flat everywhere inside its bevel). The
# d10 and d100 kites and the d20 triangle are too narrow at (32, 32) for
# 20 x 20, so there the whole face is flat and this is what fits.
FLAT_HALF = {4: 10, 6: 20, 8: 10, 10: 9, 12: 10, 20: 6, 100: 9}

# Roles in the label map; facets and bevels get ids from FIRST_SHADE up.
TRANSPARENT, EDGE, FACE, FIRST_SHADE = 0, 1, 2, 3

# Light comes from the top-left, a little more from above than from the side.
LIGHT = (-2.0 / math.sqrt(13.0), -3.0 / math.sqrt(13.0))


# --- geometry ----------------------------------------------------------------

def bresenham(p, q):
    """Pixels of the 1 px line from p to q, both ends included."""
    (x0, y0), (x1, y1) = p, q
    dx, dy = abs(x1 - x0), -abs(y1 - y0)
    sx = 1 if x0 < x1 else -1
    sy = 1 if y0 < y1 else -1
    err = dx + dy
    out = []
    while True:
        out.append((x0, y0))
        if x0 == x1 and y0 == y1:
            return out
        e2 = 2 * err
        if e2 >= dy:
            err += dy
            x0 += sx
        if e2 <= dx:
            err += dx
            y0 += sy


def segments(polygon, lines):
    """Every drawn segment, in drawing order (polygon closed, lines open)."""
    segs = [(polygon[i], polygon[(i + 1) % len(polygon)]) for i in range(len(polygon))]
    for line in lines:
        segs += [(line[i], line[i + 1]) for i in range(len(line) - 1)]
    return segs


def faces_of(segs):
    """Faces of the planar drawing as vertex lists (the outer one included).

    Walks each directed edge once, always turning to the angularly adjacent
    edge on the same side at the vertex reached, which traces every face
    exactly once.
    """
    nbrs = {}
    for a, b in segs:
        if a == b:
            continue
        nbrs.setdefault(a, set()).add(b)
        nbrs.setdefault(b, set()).add(a)
    order = {v: sorted(ns, key=lambda w: math.atan2(w[1] - v[1], w[0] - v[0]))
             for v, ns in nbrs.items()}
    seen, faces = set(), []
    for v in sorted(nbrs):
        for w in order[v]:
            if (v, w) in seen:
                continue
            face, a, b = [], v, w
            while (a, b) not in seen:
                seen.add((a, b))
                face.append(a)
                around = order[b]
                a, b = b, around[(around.index(a) - 1) % len(around)]
            faces.append(face)
    return faces


def signed_area(poly):
    """Shoelace area; positive for clockwise on screen (y down)."""
    return 0.5 * sum(poly[i - 1][0] * poly[i][1] - poly[i][0] * poly[i - 1][1]
                     for i in range(len(poly)))


def centroid(poly):
    a = signed_area(poly)
    cx = cy = 0.0
    for i in range(len(poly)):
        (x0, y0), (x1, y1) = poly[i - 1], poly[i]
        k = x0 * y1 - x1 * y0
        cx += (x0 + x1) * k
        cy += (y0 + y1) * k
    return cx / (6.0 * a), cy / (6.0 * a)


def inside(poly, x, y):
    """Crossing-number test; only used on points that are not on an edge."""
    hit = False
    for i in range(len(poly)):
        (x0, y0), (x1, y1) = poly[i - 1], poly[i]
        if (y0 > y) != (y1 > y) and x < x0 + (y - y0) * (x1 - x0) / (y1 - y0):
            hit = not hit
    return hit


def distance_to_segment(x, y, a, b):
    (ax, ay), (bx, by) = a, b
    vx, vy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((x - ax) * vx + (y - ay) * vy) / (vx * vx + vy * vy)))
    return math.hypot(x - ax - t * vx, y - ay - t * vy)


# --- drawing -----------------------------------------------------------------

def facet_tone(cx, cy, centre, radius):
    """Brightness of a facet relative to the front face (1.0).

    Facets further from the centre are tilted more; those facing away from
    the light are darker.
    """
    dx, dy = cx - centre[0], cy - centre[1]
    d = math.hypot(dx, dy)
    if d == 0.0:
        return 0.8
    facing = (dx * LIGHT[0] + dy * LIGHT[1]) / d          # -1 .. 1
    tilt = min(1.0, 1.6 * d / radius)
    return round(1.0 - tilt * (0.10 + 0.32 * (1.0 - facing) * 0.5), 3)


def bevel_tone(a, b):
    """Tone of the bevel inside polygon edge a->b (clockwise on screen)."""
    nx, ny = b[1] - a[1], a[0] - b[0]                      # outward normal
    n = math.hypot(nx, ny)
    facing = (nx * LIGHT[0] + ny * LIGHT[1]) / n
    return round(1.0 + 0.12 * facing if facing > 0 else 1.0 + 0.22 * facing, 3)


def grid_point(x, y, scale):
    """Centre of pixel (x, y) of a picture `scale` times the size, in the
    units of the 64 x 64 grid (where point (x, y) is a pixel centre)."""
    if scale == 1:
        return x, y
    return (x + 0.5) / scale - 0.5, (y + 0.5) / scale - 0.5


LAYOUTS = {}


def layout(sides, scale=1):
    """Label map for one die shape plus the tone of each shade id.

    Returns (labels, tones): labels[y][x] is TRANSPARENT, EDGE, FACE or a
    shade id; tones maps shade id -> brightness relative to the face.
    """
    if (sides, scale) not in LAYOUTS:
        LAYOUTS[(sides, scale)] = make_layout(sides, scale)
    return LAYOUTS[(sides, scale)]


def make_layout(sides, scale):
    polygon, lines = OUTLINES[sides]
    segs = segments(polygon, lines)
    size = SIZE * scale
    labels = [[None] * size for _ in range(size)]
    if scale == 1:
        for a, b in segs:
            for x, y in bresenham(a, b):
                labels[y][x] = EDGE
    else:
        # Half a grid unit either side of the line: the pixels a 1-unit pen
        # covers when drawn through the grid pixels' centres.
        for y in range(size):
            for x in range(size):
                u, v = grid_point(x, y, scale)
                if any(distance_to_segment(u, v, a, b) <= 0.5 for a, b in segs):
                    labels[y][x] = EDGE

    faces = faces_of(segs)
    outer = max(faces, key=lambda f: abs(signed_area(f)))
    inner = [f for f in faces if f is not outer]
    front = [f for f in inner if set(f) == set(polygon)]
    assert len(front) == 1, sides
    front = front[0]
    facets = sorted((f for f in inner if f is not front), key=centroid)
    centre = centroid(outer)
    radius = max(math.hypot(x - centre[0], y - centre[1]) for x, y in outer)

    tones = {}
    for i, f in enumerate(facets):
        tones[FIRST_SHADE + i] = facet_tone(*centroid(f), centre, radius)
    # A die without lines (d4, d6) gets a 2 px bevel just inside its edge.
    bevel = not lines
    if bevel:
        ring = [(polygon[i], polygon[(i + 1) % len(polygon)]) for i in range(len(polygon))]
        if signed_area(polygon) < 0:                       # make it clockwise
            ring = [(b, a) for a, b in ring]
        for i, (a, b) in enumerate(ring):
            tones[FIRST_SHADE + len(facets) + i] = bevel_tone(a, b)

    for y in range(size):
        for x in range(size):
            if labels[y][x] == EDGE:
                continue
            u, v = grid_point(x, y, scale)
            if inside(front, u, v):
                labels[y][x] = FACE
                if bevel:
                    d = [distance_to_segment(u, v, a, b) for a, b in ring]
                    if min(d) <= 2.0:
                        labels[y][x] = FIRST_SHADE + len(facets) + d.index(min(d))
                continue
            labels[y][x] = TRANSPARENT
            for i, f in enumerate(facets):
                if inside(f, u, v):
                    labels[y][x] = FIRST_SHADE + i
                    break
    return labels, tones


def shade(rgb, tone):
    if tone <= 1.0:
        return tuple(int(round(c * tone)) for c in rgb)
    return tuple(int(round(c + (255 - c) * (tone - 1.0) * 1.6)) for c in rgb)


def picture(sides, face, edge, scale=1):
    """(indexes as bytes, palette as list of RGB, transparent index)."""
    labels, tones = layout(sides, scale)
    palette = [(0, 0, 0), edge, face]                      # TRANSPARENT, EDGE, FACE
    index_of = {TRANSPARENT: 0, EDGE: 1, FACE: 2}
    for sid in sorted(tones):
        rgb = shade(face, tones[sid])
        if rgb not in palette:
            palette.append(rgb)
        index_of[sid] = palette.index(rgb)
    size = SIZE * scale
    pixels = bytes(index_of[labels[y][x]] for y in range(size) for x in range(size))
    return pixels, palette, 0


# --- GIF ---------------------------------------------------------------------

def lzw_encode(pixels, min_bits):
    """GIF-flavoured LZW: LSB-first codes that widen up to 12 bits, with a
    clear code whenever the table fills."""
    clear, end = 1 << min_bits, (1 << min_bits) + 1
    out, acc, nacc = bytearray(), 0, 0

    def emit(code, width):
        nonlocal acc, nacc
        acc |= code << nacc
        nacc += width
        while nacc >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nacc -= 8

    def reset():
        return {}, end + 1, min_bits + 1

    table, next_code, width = reset()
    emit(clear, width)
    prefix = pixels[0]
    for c in pixels[1:]:
        key = (prefix, c)
        if key in table:
            prefix = table[key]
            continue
        emit(prefix, width)
        if next_code < 4096:
            table[key] = next_code
            if next_code == 1 << width and width < 12:
                width += 1
            next_code += 1
        else:
            emit(clear, width)
            table, next_code, width = reset()
        prefix = c
    emit(prefix, width)
    emit(end, width)
    if nacc:
        out.append(acc & 0xFF)
    return bytes(out)


def encode_gif(width, height, pixels, palette, transparent):
    bits = max(1, (len(palette) - 1).bit_length())
    table = list(palette) + [(0, 0, 0)] * ((1 << bits) - len(palette))
    min_bits = max(2, bits)
    data = lzw_encode(pixels, min_bits)
    blocks = b"".join(bytes((len(data[i:i + 255]),)) + data[i:i + 255]
                      for i in range(0, len(data), 255))
    return (b"GIF89a"
            + struct.pack("<HHBBB", width, height, 0x80 | ((bits - 1) << 4) | (bits - 1), 0, 0)
            + b"".join(bytes(c) for c in table)
            # Graphic Control Extension: no disposal, no delay, transparency on.
            + b"\x21\xF9\x04" + struct.pack("<BHB", 0x01, 0, transparent) + b"\x00"
            + b"\x2C" + struct.pack("<HHHHB", 0, 0, width, height, 0)
            + bytes((min_bits,)) + blocks + b"\x00"
            + b"\x3B")


def decode_gif(data):
    """Independent reader for the self-check: (w, h, indexes, palette, transparent)."""
    assert data[:6] == b"GIF89a", data[:6]
    w, h, flags, _, _ = struct.unpack("<HHBBB", data[6:13])
    pos, palette, transparent, pixels = 13, None, None, None
    if flags & 0x80:
        n = 2 << (flags & 7)
        palette = [tuple(data[pos + 3 * i:pos + 3 * i + 3]) for i in range(n)]
        pos += 3 * n
    while True:
        kind = data[pos]
        if kind == 0x3B:
            assert pos == len(data) - 1
            break
        if kind == 0x21:
            label, pos = data[pos + 1], pos + 2
            body = b""
            while data[pos]:
                body += data[pos + 1:pos + 1 + data[pos]]
                pos += 1 + data[pos]
            pos += 1
            if label == 0xF9 and body[0] & 1:
                transparent = body[3]
            continue
        assert kind == 0x2C, hex(kind)
        x, y, iw, ih, iflags = struct.unpack("<HHHHB", data[pos + 1:pos + 10])
        assert (x, y, iw, ih, iflags) == (0, 0, w, h, 0)
        min_bits, pos = data[pos + 10], pos + 11
        stream = b""
        while data[pos]:
            stream += data[pos + 1:pos + 1 + data[pos]]
            pos += 1 + data[pos]
        pos += 1
        pixels = lzw_decode(stream, min_bits)
        assert len(pixels) == w * h
    return w, h, pixels, palette, transparent


def lzw_decode(stream, min_bits):
    clear, end = 1 << min_bits, (1 << min_bits) + 1
    bitpos, out = 0, bytearray()
    width, table, prev = min_bits + 1, None, None
    while True:
        code = 0
        for i in range(width):
            byte = stream[(bitpos + i) >> 3]
            code |= ((byte >> ((bitpos + i) & 7)) & 1) << i
        bitpos += width
        if code == clear:
            table = [bytes((i,)) for i in range(clear)] + [b"", b""]
            width, prev = min_bits + 1, None
            continue
        if code == end:
            return bytes(out)
        if prev is None:
            entry = table[code]
        else:
            entry = table[code] if code < len(table) else prev + prev[:1]
            if len(table) < 4096:
                table.append(prev + entry[:1])
                if len(table) == 1 << width and width < 12:
                    width += 1
        out += entry
        prev = entry


# --- PNG preview -------------------------------------------------------------

def encode_png(width, height, rgb_rows):
    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body
                + struct.pack(">I", zlib.crc32(kind + body)))
    raw = b"".join(b"\x00" + bytes(r) for r in rgb_rows)
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def write_preview(path, decoded):
    """decoded: {(colour, sides): (pixels, palette, transparent)}."""
    scale, gap = 2, 8
    cell = SIZE * scale + gap
    panel_w, panel_h = len(SIDES) * cell + gap, len(COLOURS) * cell + gap
    width, height = 2 * panel_w, panel_h
    rows = [bytearray(width * 3) for _ in range(height)]
    for p, bg in enumerate([(255, 255, 255), (40, 40, 40)]):
        for y in range(height):
            for x in range(p * panel_w, (p + 1) * panel_w):
                rows[y][3 * x:3 * x + 3] = bytes(bg)
        for r, (name, _, _) in enumerate(COLOURS):
            for c, sides in enumerate(SIDES):
                pixels, palette, transparent = decoded[(name, sides)]
                ox, oy = p * panel_w + gap + c * cell, gap + r * cell
                for y in range(SIZE * scale):
                    for x in range(SIZE * scale):
                        i = pixels[(y // scale) * SIZE + x // scale]
                        if i != transparent:
                            X = ox + x
                            rows[oy + y][3 * X:3 * X + 3] = bytes(palette[i])
    with open(path, "wb") as f:
        f.write(encode_png(width, height, rows))


# --- self-check --------------------------------------------------------------

def luma(rgb):
    return (0.30 * rgb[0] + 0.59 * rgb[1] + 0.11 * rgb[2]) / 255.0


def check_lzw():
    """Round trips that reach the 12-bit width and the table-full clear."""
    seed, noise = 12345, bytearray()
    for _ in range(3 * SIZE * SIZE):
        seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
        noise.append((seed >> 16) & 0xFF)
    for pixels, bits in [(bytes(noise), 8), (bytes(SIZE * SIZE), 2),
                         (bytes(i % 4 for i in range(5000)), 2), (b"\x01", 2)]:
        assert lzw_decode(lzw_encode(pixels, bits), bits) == pixels


def check_picture(sides, data, pixels, palette, scale=1):
    size = SIZE * scale
    w, h, got, pal, transparent = decode_gif(data)
    assert (w, h) == (size, size)
    assert got == pixels, "decoded pixels differ from the drawn ones"
    assert pal[:len(palette)] == palette and transparent == 0
    at = lambda x, y: got[y * size + x]

    polygon, lines = OUTLINES[sides]
    # Every outline point is on a drawn edge, so the dragged outline lines up.
    for x, y in polygon + [p for line in lines for p in line]:
        for dy in range(scale):
            for dx in range(scale):
                assert at(scale * x + dx, scale * y + dy) == 1, (sides, scale, x, y)
    # The silhouette is closed: no body pixel other than an edge touches the
    # transparent outside, and the corners are transparent.
    for y in range(size):
        for x in range(size):
            if at(x, y) in (0, 1):
                continue
            for nx, ny in ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)):
                assert 0 <= nx < size and 0 <= ny < size and at(nx, ny) != 0, (sides, x, y)
    last = size - 1
    assert all(at(x, y) == 0 for x, y in [(0, 0), (last, 0), (0, last), (last, last)])
    # The square around the value point is the flat face colour (at 2x less
    # its outermost ring, where the exact edge may reach past the 1 px one).
    cx, cy = value_point(sides)
    half, trim = FLAT_HALF[sides], scale - 1
    box = {at(x, y) for y in range(scale * (cy - half) + trim, scale * (cy + half) - trim)
           for x in range(scale * (cx - half) + trim, scale * (cx + half) - trim)}
    assert box == {2}, (sides, scale, box)
    # So is the whole front face of a die with facets.
    if lines:
        for y in range(size):
            for x in range(size):
                if inside(polygon, *grid_point(x, y, scale)) and at(x, y) != 1:
                    assert at(x, y) == 2, (sides, x, y)
    # The front face is the lightest part apart from the d4/d6 highlight bevel.
    if lines:
        used = {i for i in got if i >= 3}
        assert used and all(luma(pal[i]) < luma(pal[2]) for i in used), sides
    return flat_square(got, cx, cy) if scale == 1 else None


def flat_square(got, cx, cy):
    """Side of the largest uniform square centred on the value point."""
    half = 0
    while True:
        n = half + 1
        if cx - n < 0 or cy - n < 0 or cx + n > SIZE or cy + n > SIZE:
            return 2 * half
        if any(got[y * SIZE + x] != 2 for y in range(cy - n, cy + n)
               for x in range(cx - n, cx + n)):
            return 2 * half
        half = n


# --- main --------------------------------------------------------------------

def main(argv):
    preview = None
    if argv[1:2] == ["--preview"] and len(argv) == 3:
        preview = argv[2]
    elif len(argv) != 1:
        sys.exit("usage: make_die_images.py [--preview OUT.png]")

    check_lzw()
    decoded, flat = {}, {}
    for name, face, edge in COLOURS:
        lum = luma(face)
        assert lum < 0.42 or lum > 0.58, (name, lum)
        folder = os.path.join(OUT_DIR, name)
        os.makedirs(folder, exist_ok=True)
        for sides in SIDES:
            pixels, palette, transparent = picture(sides, face, edge)
            data = encode_gif(SIZE, SIZE, pixels, palette, transparent)
            path = os.path.join(folder, "d%d.gif" % sides)
            with open(path, "wb") as f:
                f.write(data)
            with open(path, "rb") as f:
                flat[sides] = check_picture(sides, f.read(), pixels, palette)
            decoded[(name, sides)] = (pixels, palette, transparent)
            double, palette2, _ = picture(sides, face, edge, 2)
            assert palette2 == palette, (name, sides)
            path = os.path.join(folder, "d%d@2x.gif" % sides)
            with open(path, "wb") as f:
                f.write(encode_gif(2 * SIZE, 2 * SIZE, double, palette, transparent))
            with open(path, "rb") as f:
                check_picture(sides, f.read(), double, palette, 2)
        print("%-10s face %s, luma %.3f" % (name, face, lum))
    print("flat square around the value point: "
          + ", ".join("d%d %dx%d" % (s, flat[s], flat[s]) for s in SIDES))
    if preview:
        write_preview(preview, decoded)
        print("preview:", preview)


if __name__ == "__main__":
    main(sys.argv)
