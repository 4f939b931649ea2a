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

def pixel_die(size):
    """Crisp die for 16/24 px: 1 px outline, face, a side band bottom/right
    and three square pips on the diagonal."""
    if size == 16:
        side, pip, cut, pips = 2, 2, 2, [(9, 3), (6, 6), (3, 9)]
    elif size == 24:
        side, pip, cut, pips = 3, 3, 3, [(14, 4), (9, 9), (4, 14)]
    else:
        raise ValueError(size)
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
    rows = []
    for y in range(size):
        row = bytearray()
        for c in grid[y]:
            row += bytes((0, 0, 0, 0)) if c is None else bytes(c + (255,))
        rows.append(bytes(row))
    return rows


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


def vector_die(size):
    s = float(size)
    # Straight edges land on whole pixels so they stay sharp at 32-64 px.
    margin = float(max(1, round(s * 0.03)))
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
    pips = [(fcx + off, fcx - off), (fcx, fcx), (fcx - off, fcx + off)]
    glow_x, glow_y, glow_r = x0 + fspan * 0.28, y0 + fspan * 0.25, fspan * 0.55

    rows = []
    for j in range(size):
        row = bytearray()
        py = j + 0.5
        for i in range(size):
            px = i + 0.5
            a_out = coverage(sd_round_rect(px, py, x0, y0, x1, y1, radius))
            if a_out <= 0.0:
                row += b"\x00\x00\x00\x00"
                continue
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
                    for qx, qy in pips:
                        d = math.hypot(px - qx, py - qy) - pip_r
                        cp = coverage(d)
                        if cp > 0.0:
                            # Slightly lighter lower-right rim reads as a
                            # drilled hollow at large sizes.
                            rim = 0.0
                            if size >= 64:
                                u = ((px - qx) + (py - qy)) / (pip_r * 1.414)
                                rim = max(0.0, u) ** 3 * 0.22
                            col = mix(col, mix(PIP, SIDE_DARK, rim), cp)
            a = int(round(a_out * 255.0))
            row += bytes((int(round(col[0])), int(round(col[1])),
                          int(round(col[2])), a))
        rows.append(bytes(row))
    return rows


# --- main --------------------------------------------------------------------

def check_png(path, size):
    with open(path, "rb") as f:
        ihdr, rows = decode_png(f.read())
    assert ihdr == (size, size, 8, 6, 0, 0, 0), ihdr
    px = lambda x, y: rows[y][x * 4:x * 4 + 4]
    assert px(0, 0)[3] == 0 and px(size - 1, size - 1)[3] == 0  # corners clear
    assert px(size // 2, size // 6)[3] == 255  # die body is opaque
    # Centre pixel is pip-dark, a face pixel between pips is light.
    assert sum(px(size // 2 - 1, size // 2 - 1)[:3]) < 200
    assert sum(px(size // 4, size // 2)[:3]) > 600


def main():
    os.makedirs(OUT_DIR, exist_ok=True)
    for size in SIZES:
        rows = pixel_die(size) if size <= 24 else vector_die(size)
        path = os.path.join(OUT_DIR, "minirollpouch-%d.png" % size)
        with open(path, "wb") as f:
            f.write(encode_png(size, size, rows))
        check_png(path, size)
        print(os.path.relpath(path, ROOT))


if __name__ == "__main__":
    main()
