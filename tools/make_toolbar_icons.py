#!/usr/bin/env python3
"""Generate Rollpouch's own toolbar icons: src/resources/toolbar/NAME.png
(16 x 16) and NAME@2x.png (32 x 32).

Every icon is drawn from the same few shapes on a 16-unit grid: filled
shapes get a 1-unit outline in the program icon's dark brown, straight edges
lie on whole units so they are sharp at both sizes, and the colours are
those of the program icon (ivory dice, paper, leather) plus one accent each
for adding (green), taking away (red) and moving through history (blue).
Coverage comes from 4 x 4 samples per pixel.

Run:  python3 tools/make_toolbar_icons.py            (writes relative to the
      repository root, then decodes every file again and checks it)
      python3 tools/make_toolbar_icons.py --preview OUT.png
                                                  (also writes a contact
      sheet of every icon at 1x, 2x and 8x on a light and a dark ground)
Output is byte-identical on every run.
"""

import math
import os
import sys

from make_icons import blit, decode_png, encode_png, encode_rgb_png, preview_argument

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT_DIR = os.path.join(ROOT, "src", "resources", "toolbar")
GRID = 16
SAMPLES = 4

OUTLINE = (43, 36, 32)
PAPER = (255, 255, 252)
PAPER_SHADE = (226, 221, 208)
FOLD = (214, 205, 186)
FACE = (255, 253, 245)
SIDE = (204, 187, 152)
PIP = (40, 33, 30)
INK = (58, 50, 44)
LEATHER = (182, 118, 66)
METAL = (190, 192, 186)
FOLDER = (236, 196, 84)
FOLDER_BACK = (200, 152, 48)
BLUE = (62, 114, 180)
BLUE_LIGHT = (150, 190, 230)
GREEN = (72, 150, 40)
RED = (200, 40, 36)
SELECTION = (206, 222, 242)


# --- signed distances, in grid units (negative inside) -------------------------

def box(x0, y0, x1, y1, r=0.0):
    def d(x, y):
        qx = abs(x - (x0 + x1) * 0.5) - ((x1 - x0) * 0.5 - r)
        qy = abs(y - (y0 + y1) * 0.5) - ((y1 - y0) * 0.5 - r)
        return math.hypot(max(qx, 0.0), max(qy, 0.0)) + min(max(qx, qy), 0.0) - r
    return d


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def polygon(*pts):
    def d(x, y):
        best, sign = float("inf"), 1.0
        for i in range(len(pts)):
            (ax, ay), (bx, by) = pts[i - 1], pts[i]
            ex, ey = bx - ax, by - ay
            t = max(0.0, min(1.0, ((x - ax) * ex + (y - ay) * ey) / (ex * ex + ey * ey)))
            best = min(best, math.hypot(x - ax - ex * t, y - ay - ey * t))
            if (ay > y) != (by > y) and x < ax + (y - ay) * ex / ey:
                sign = -sign
        return sign * best
    return d


def line(width, *pts):
    """A polyline `width` units wide with round ends."""
    def d(x, y):
        best = float("inf")
        for (ax, ay), (bx, by) in zip(pts, pts[1:]):
            ex, ey = bx - ax, by - ay
            t = max(0.0, min(1.0, ((x - ax) * ex + (y - ay) * ey) / (ex * ex + ey * ey)))
            best = min(best, math.hypot(x - ax - ex * t, y - ay - ey * t))
        return best - width * 0.5
    return d


def arc(cx, cy, r, start, end, width):
    """A ring `width` wide along the circle from angle `start` to `end`
    (degrees, counter-clockwise on screen, 0 pointing right)."""
    a0, a1 = math.radians(start), math.radians(end)
    ends = [(cx + r * math.cos(a), cy - r * math.sin(a)) for a in (a0, a1)]

    def d(x, y):
        a = math.atan2(-(y - cy), x - cx)
        if (a - a0) % (2 * math.pi) <= (a1 - a0) % (2 * math.pi):
            return abs(math.hypot(x - cx, y - cy) - r) - width * 0.5
        return min(math.hypot(x - ex, y - ey) for ex, ey in ends) - width * 0.5
    return d


def union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


def minus(shape, cut):
    return lambda x, y: max(shape(x, y), -cut(x, y))


# --- painting -----------------------------------------------------------------

class Icon:
    """Straight RGBA floats at `scale` pixels per grid unit."""

    def __init__(self, scale):
        self.scale = scale
        self.n = GRID * scale
        self.px = [[(0.0, 0.0, 0.0, 0.0)] * self.n for _ in range(self.n)]

    def cover(self, shape, inset=0.0):
        """Coverage of each pixel by `shape` shrunk by `inset` units."""
        k = 1.0 / (self.scale * SAMPLES)
        offsets = [(s + 0.5) * k for s in range(SAMPLES)]
        out = []
        for j in range(self.n):
            row = []
            for i in range(self.n):
                x0, y0 = i / self.scale, j / self.scale
                hits = sum(1 for dy in offsets for dx in offsets
                           if shape(x0 + dx, y0 + dy) < -inset)
                row.append(hits / (SAMPLES * SAMPLES))
            out.append(row)
        return out

    def over(self, cov, colour, alpha=1.0):
        for j in range(self.n):
            for i in range(self.n):
                a = cov[j][i] * alpha
                if a <= 0.0:
                    continue
                r, g, b, ua = self.px[j][i]
                oa = a + ua * (1.0 - a)
                mixed = [(colour[c] * a + (r, g, b)[c] * ua * (1.0 - a)) / oa for c in range(3)]
                self.px[j][i] = (mixed[0], mixed[1], mixed[2], oa)

    def fill(self, shape, colour, alpha=1.0):
        self.over(self.cover(shape), colour, alpha)

    def outlined(self, shape, colour, outline=OUTLINE):
        """The shape in `colour` inside a 1-unit outline."""
        self.fill(shape, outline)
        self.fill(lambda x, y: shape(x, y) + 1.0, colour)

    def rows(self):
        return [b"".join(bytes((int(round(r)), int(round(g)), int(round(b)),
                                int(round(a * 255.0)))) for r, g, b, a in line)
                for line in self.px]


# --- shared motifs ------------------------------------------------------------

def page(icon, x0, y0, x1, y1, fold=4, colour=PAPER):
    """A sheet with its top-right corner folded over."""
    icon.outlined(polygon((x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)), colour)
    icon.outlined(polygon((x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)), FOLD)


def text_lines(icon, x0, x1, ys, colour=PAPER_SHADE):
    for y in ys:
        icon.fill(box(x0, y, x1, y + 1), colour)


def die(icon, x0, y0, size, pips, pip=1, margin=1):
    """An ivory die like the program icon's: outline, side band, face, and
    square pips on whole units at the cells (column, row) of a 3 x 3 grid."""
    icon.outlined(box(x0, y0, x0 + size, y0 + size, size * 0.2), SIDE)
    icon.fill(box(x0 + 1, y0 + 1, x0 + size - 2, y0 + size - 2, size * 0.12), FACE)
    free = size - 3 - 2 * margin - pip  # room left for the pips' spacing
    # A middle pip needs the room to halve evenly.
    assert free >= 0 and (free % 2 == 0 or all(1 not in p for p in pips)), (size, pip)
    for col, row in pips:
        px, py = x0 + 1 + margin + col * free // 2, y0 + 1 + margin + row * free // 2
        icon.fill(box(px, py, px + pip, py + pip), PIP)


ONE = [(1, 1)]
TWO = [(2, 0), (0, 2)]
THREE = [(2, 0), (1, 1), (0, 2)]
FIVE = [(0, 0), (2, 0), (1, 1), (0, 2), (2, 2)]


def badge(icon, kind):
    """A round badge at the bottom-right: "+" in green or "-" in red."""
    colour = GREEN if kind == "+" else RED
    icon.outlined(circle(11.5, 11.5, 4.5), colour)
    icon.fill(box(9, 11, 14, 12), PAPER)
    if kind == "+":
        icon.fill(box(11, 9, 12, 14), PAPER)


def text_card(icon):
    """A card with a letter A: a free text on the tray."""
    icon.outlined(box(0, 1, 13, 14, 1.0), PAPER)
    icon.fill(union(line(2.0, (3.0, 11.5), (6.5, 3.0), (10.0, 11.5)), box(4, 8, 9, 9.5)), INK)


def history_arrow(icon, mirrored):
    """The undo arrow: a hook round the right, its head pointing left at the
    top; mirrored for redo."""
    fx = (lambda x: GRID - x) if mirrored else (lambda x: x)
    start, end = (90, 270) if mirrored else (-90, 90)
    body = union(arc(fx(9.0), 9.0, 4.5, start, end, 3.0),
                 line(3.0, (fx(9.0), 13.5), (fx(5.5), 13.5)))
    head = polygon((fx(1.0), 4.5), (fx(7.5), -0.5), (fx(7.5), 9.5))
    icon.outlined(union(body, head), BLUE_LIGHT, BLUE)


# --- the icons ------------------------------------------------------------------

def icon_new(icon):
    page(icon, 2.0, 1.0, 13.0, 15.0)
    icon.fill(line(1.0, (3.0, 1.5), (3.0, 5.5)), (236, 180, 20))
    icon.fill(line(1.0, (1.0, 3.5), (5.0, 3.5)), (236, 180, 20))


def icon_open(icon):
    icon.outlined(polygon((1, 3), (6, 3), (7, 5), (14, 5), (14, 14), (1, 14)), FOLDER_BACK)
    icon.fill(box(3, 6, 13, 9), PAPER)
    icon.outlined(polygon((3, 8), (15.5, 8), (13.5, 14), (1, 14)), FOLDER)


def icon_save(icon):
    icon.outlined(polygon((1, 1), (13, 1), (15, 3), (15, 15), (1, 15)), BLUE)
    icon.outlined(box(3, 1, 12, 7), PAPER)
    icon.fill(box(4, 3, 11, 4), PAPER_SHADE)
    icon.outlined(box(4, 10, 12, 15), METAL)
    icon.fill(box(9, 11, 11, 14), BLUE)


def icon_cut(icon):
    for blade in (line(1.5, (4.5, 1.5), (10.5, 10.5)), line(1.5, (11.5, 1.5), (5.5, 10.5))):
        icon.fill(blade, OUTLINE)
        icon.fill(lambda x, y, b=blade: b(x, y) + 0.5, METAL)
    for cx in (4.0, 12.0):
        icon.fill(minus(circle(cx, 12.0, 3.5), circle(cx, 12.0, 1.0)), OUTLINE)
        icon.fill(minus(circle(cx, 12.0, 2.5), circle(cx, 12.0, 1.5)), RED)


def icon_copy(icon):
    page(icon, 1.0, 1.0, 10.0, 12.0, 3)
    text_lines(icon, 3, 7, (5, 7, 9))
    page(icon, 6.0, 4.0, 15.0, 15.0, 3)
    text_lines(icon, 8, 12, (8, 10, 12))


def icon_paste(icon):
    icon.outlined(box(1, 2, 12, 15, 1.0), LEATHER)
    icon.outlined(box(4, 1, 9, 4, 0.5), METAL)
    page(icon, 6.0, 5.0, 15.0, 15.0, 3)
    text_lines(icon, 8, 12, (9, 11, 13))


def icon_delete(icon):
    cross = union(line(3.0, (3.5, 3.5), (12.5, 12.5)), line(3.0, (12.5, 3.5), (3.5, 12.5)))
    icon.fill(cross, OUTLINE)
    icon.fill(lambda x, y: cross(x, y) + 1.0, RED)


def icon_undo(icon):
    history_arrow(icon, False)


def icon_redo(icon):
    history_arrow(icon, True)


def icon_add_text(icon):
    text_card(icon)
    badge(icon, "+")


def icon_edit_text(icon):
    text_card(icon)
    pencil = polygon((8.0, 15.0), (8.5, 12.0), (14.0, 6.5), (16.5, 9.0), (11.0, 14.5))
    icon.outlined(pencil, (236, 180, 20))
    icon.fill(polygon((8.0, 15.0), (8.5, 12.5), (10.5, 14.5)), OUTLINE)


def icon_about(icon):
    icon.outlined(circle(8.0, 8.0, 7.0), BLUE)
    icon.fill(circle(8.0, 4.5, 1.25), PAPER)
    icon.fill(box(7, 7, 9, 12.5), PAPER)


def icon_roll_selected(icon):
    for y in (4.5, 8.5, 12.5):
        icon.fill(line(1.0, (0.5, y), (1.5, y)), BLUE)
    die(icon, 3, 1, 13, THREE, pip=2)


def icon_group(icon):
    icon.outlined(box(0, 2, 16, 14, 2.0), SELECTION, BLUE)
    die(icon, 1, 4, 8, ONE, margin=0)
    die(icon, 8, 5, 8, ONE, margin=0)


def icon_ungroup(icon):
    die(icon, 0, 1, 8, ONE, margin=0)
    die(icon, 8, 7, 8, ONE, margin=0)
    # What is left of the group's frame.
    icon.fill(line(1.0, (10.5, 1.5), (14.5, 1.5), (14.5, 4.5)), BLUE)
    icon.fill(line(1.0, (1.5, 11.5), (1.5, 14.5), (5.5, 14.5)), BLUE)


def icon_increment_modifier(icon):
    die(icon, 0, 0, 12, FIVE)
    badge(icon, "+")


def icon_decrement_modifier(icon):
    die(icon, 0, 0, 12, FIVE)
    badge(icon, "-")


def icon_properties(icon):
    icon.outlined(box(1, 1, 15, 15, 1.0), PAPER)
    for y in (4, 8, 12):
        icon.outlined(box(3, y - 1, 6, y + 2), FACE)
        icon.fill(box(7, y, 13, y + 1), INK if y == 4 else PAPER_SHADE)
    icon.fill(box(4, 4, 5, 5), PIP)


def icon_update_contents(icon):
    page(icon, 1.0, 1.0, 11.0, 14.0, 3)
    text_lines(icon, 3, 8, (6, 8, 10))
    ring = arc(11.0, 11.0, 3.5, 100, 350, 1.75)
    head = polygon((12.0, 5.0), (16.0, 8.5), (11.0, 10.0))
    icon.outlined(union(ring, head), (150, 214, 110), GREEN)


ICONS = [
    # main toolbar
    ("new", icon_new), ("open", icon_open), ("save", icon_save),
    ("cut", icon_cut), ("copy", icon_copy), ("paste", icon_paste),
    ("delete", icon_delete), ("undo", icon_undo), ("redo", icon_redo),
    ("add-text", icon_add_text), ("edit-text", icon_edit_text), ("about", icon_about),
    # dice toolbar (and the mini tray's Roll Selected)
    ("roll-selected", icon_roll_selected), ("group", icon_group), ("ungroup", icon_ungroup),
    ("increment-modifier", icon_increment_modifier),
    ("decrement-modifier", icon_decrement_modifier), ("properties", icon_properties),
    # the editor's mini tray
    ("update-contents", icon_update_contents),
]


# --- output ---------------------------------------------------------------------

def draw(paint, scale):
    icon = Icon(scale)
    paint(icon)
    return icon.rows()


def check(path, size, rows):
    with open(path, "rb") as f:
        ihdr, got = decode_png(f.read())
    assert ihdr == (size, size, 8, 6, 0, 0, 0), (path, ihdr)
    assert got == rows, path
    alphas = [r[i] for r in rows for i in range(3, len(r), 4)]
    # Drawn, yet leaving room: something solid and a transparent border pixel.
    assert sum(1 for a in alphas if a == 255) > size * size // 8, path
    assert min(alphas) == 0, path


def write_preview(path, drawn):
    """Each icon at 1x, at 2x, and the 1x one at 8x, on a light and a dark ground."""
    cell_w, cell_h = 16 + 8 + 32 + 8 + 128 + 16, 128 + 16
    cols = 4
    nrows = (len(ICONS) + cols - 1) // cols
    width, height = cols * cell_w + 8, 2 * nrows * cell_h + 8
    grounds = [(250, 250, 250), (48, 48, 52)]
    sheet = [bytearray(bytes(grounds[0] if y < height // 2 else grounds[1]) * width)
             for y in range(height)]

    for half in range(2):
        for n, (name, _) in enumerate(ICONS):
            x0 = 8 + (n % cols) * cell_w
            y0 = 8 + (half * nrows + n // cols) * cell_h
            one, two = drawn[name]
            blit(sheet, one, x0, y0, 1)
            blit(sheet, two, x0 + 24, y0, 1)
            blit(sheet, one, x0 + 64, y0, 8)
    with open(path, "wb") as f:
        f.write(encode_rgb_png(width, height, sheet))


def main(argv):
    preview = preview_argument(argv)
    os.makedirs(OUT_DIR, exist_ok=True)
    drawn = {}
    for name, paint in ICONS:
        drawn[name] = []
        for scale, suffix in ((1, ""), (2, "@2x")):
            rows = draw(paint, scale)
            path = os.path.join(OUT_DIR, name + suffix + ".png")
            with open(path, "wb") as f:
                f.write(encode_png(GRID * scale, GRID * scale, rows))
            check(path, GRID * scale, rows)
            drawn[name].append(rows)
        print(os.path.relpath(os.path.join(OUT_DIR, name + "{,@2x}.png"), ROOT))
    if preview:
        write_preview(preview, drawn)
        print("preview:", preview)


if __name__ == "__main__":
    main(sys.argv)
