#!/usr/bin/env python3
"""Draw the program's two picture resources and write them as Windows files.

  src/res/whois.ico  program icon: a magnifying glass whose lens shows a globe,
                     32x32 and 16x16, 256-colour palettised with an AND mask.
  src/res/hand.cur   monochrome 32x32 pointing-hand cursor shown over links,
                     hot spot on the fingertip.

Standard library only, so the pictures can be rebuilt on any machine:
    python3 tools/make_pictures.py [output-dir]
"""

import math
import os
import struct
import sys

# ---------------------------------------------------------------------------
# Icon drawing
#
# The icon is described as geometry in a 32-unit square and sampled at each
# size with several samples per pixel.  The dark outer outline is not part of
# the geometry: it is added afterwards to every pixel on the edge of the
# shape, which gives a clean, unbroken one-pixel line at both sizes instead of
# a blurred grey ring at 16x16.

OUTLINE = (16, 26, 46)
OCEAN = (30, 108, 214)
LAND = (70, 178, 58)
RIM_LIGHT = (236, 240, 246)
RIM_DARK = (112, 122, 140)
HANDLE = (110, 62, 30)
HANDLE_LIGHT = (204, 138, 76)

# Per size: lens centre and radius, handle end and half width (design units),
# rim and inner-line widths (pixels), size of the glass reflection (0: none)
# and how dark the globe's shadow side gets.  The small icon gets a larger
# lens, a fatter handle and a flatter globe, since detail is lost there and the
# silhouette and the green-on-blue matter most.
LAYOUT = {
    32: dict(lens=(12.5, 12.5, 11.6), handle_end=(29.6, 29.6), handle_w=3.0,
             rim=1.6, inner=0.9, glint=0.2, shade=0.5),
    16: dict(lens=(13.0, 13.0, 12.8), handle_end=(30.6, 30.6), handle_w=3.4,
             rim=1.0, inner=0.0, glint=0.0, shade=0.75),
}

# The globe is turned to show the Atlantic: the Americas on the left and
# Europe/Africa on the right are shapes most people recognise even when tiny.
GLOBE_CENTRE_LON = -55.0
GLOBE_TILT = math.radians(10.0)

# Continents as (lon, lat, lon radius, lat radius) ellipses, in degrees.
# They are drawn fatter than the real ones so they survive at 16x16.
CONTINENTS = [
    (-100, 50, 34, 18),   # North America
    (-84, 32, 16, 14),
    (-100, 22, 12, 10),   # Mexico
    (-42, 72, 16, 10),    # Greenland
    (-60, -8, 20, 22),    # South America
    (-66, -34, 10, 20),
    (18, 50, 24, 12),     # Europe
    (12, 64, 10, 10),     # Scandinavia
    (16, 10, 26, 20),     # Africa
    (28, -14, 15, 22),
]

LIGHT = (-0.5, -0.62, 0.6)   # from the upper left, towards the viewer


def _mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def _scale(c, k):
    return tuple(min(255.0, max(0.0, v * k)) for v in c)


def _is_land(lon, lat):
    for clon, clat, rlon, rlat in CONTINENTS:
        dlon = (lon - clon + 540.0) % 360.0 - 180.0
        if (dlon / rlon) ** 2 + ((lat - clat) / rlat) ** 2 <= 1.0:
            return True
    return False


def _globe(u, v, glint_size, shade):
    """Colour of the globe at (u, v) in the unit disc (v grows downwards)."""
    nz = math.sqrt(max(0.0, 1.0 - u * u - v * v))
    nx, ny = u, -v
    py = ny * math.cos(GLOBE_TILT) + nz * math.sin(GLOBE_TILT)
    pz = -ny * math.sin(GLOBE_TILT) + nz * math.cos(GLOBE_TILT)
    lat = math.degrees(math.asin(max(-1.0, min(1.0, py))))
    lon = math.degrees(math.atan2(nx, pz)) + GLOBE_CENTRE_LON
    base = LAND if _is_land(lon, lat) else OCEAN

    ll = math.sqrt(sum(c * c for c in LIGHT))
    lambert = (u * LIGHT[0] + v * LIGHT[1] + nz * LIGHT[2]) / ll
    colour = _scale(base, shade + (1.15 - shade) * max(0.0, lambert))

    # A reflection on the glass, so the lens reads as glass and not as a
    # flat disc.  Left out at 16x16, where it would hide half the globe.
    if glint_size > 0.0:
        hx, hy = u + 0.52, v + 0.52
        glint = 1.0 - math.hypot(hx, hy) / glint_size
        if glint > 0.0:
            colour = _mix(colour, (255, 255, 255), min(1.0, glint * 2.5))
    return colour


def _segment_distance(px, py, ax, ay, bx, by):
    """Distance from P to segment AB."""
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def icon_sample(x, y, size):
    """Colour at design point (x, y), or None where the icon is see-through."""
    lay = LAYOUT[size]
    unit = 32.0 / size            # one screen pixel in design units
    cx, cy, radius = lay["lens"]
    # The outline added later covers the outermost pixel ring.
    rim_out = radius - unit
    rim_in = rim_out - lay["rim"] * unit
    globe_r = rim_in - lay["inner"] * unit

    d = math.hypot(x - cx, y - cy)
    if d <= radius:
        if d > rim_in:
            # Metal rim, lit from the upper left like the globe.
            a = ((x - cx) + (y - cy)) / (2.0 * max(d, 1e-9))
            return _mix(RIM_LIGHT, RIM_DARK, 0.5 + 0.9 * a)
        if d > globe_r:
            return OUTLINE
        return _globe((x - cx) / globe_r, (y - cy) / globe_r, lay["glint"], lay["shade"])

    # The handle starts inside the lens so that the rim hides its end and it
    # seems to grow out of it.
    diag = math.sqrt(0.5)
    ax, ay = cx + diag * (radius - 2.0), cy + diag * (radius - 2.0)
    hw = lay["handle_w"]
    if _segment_distance(x, y, ax, ay, *lay["handle_end"]) <= hw:
        # Light the side of the handle facing up and to the right.
        side = ((x - ax) - (y - ay)) * diag / hw
        return _mix(HANDLE, HANDLE_LIGHT, 0.45 + 0.6 * side)
    return None


def render_icon(size, supersample=8):
    """Return rows of RGB tuples, or None for transparent pixels."""
    unit = 32.0 / size
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            got = []
            for sy in range(supersample):
                for sx in range(supersample):
                    x = (px + (sx + 0.5) / supersample) * unit
                    y = (py + (sy + 0.5) / supersample) * unit
                    c = icon_sample(x, y, size)
                    if c is not None:
                        got.append(c)
            # The AND mask is all-or-nothing; keep pixels that are mostly
            # covered.  Edge pixels take the colour of the covered part only,
            # since there is no knowing what desktop colour is behind them.
            if len(got) * 2 >= supersample * supersample:
                row.append(tuple(int(round(sum(c[i] for c in got) / len(got)))
                                 for i in range(3)))
            else:
                row.append(None)
        rows.append(row)

    def clear(x, y):
        return not (0 <= x < size and 0 <= y < size) or rows[y][x] is None

    edge = [(x, y) for y in range(size) for x in range(size)
            if rows[y][x] is not None and
            (clear(x - 1, y) or clear(x + 1, y) or clear(x, y - 1) or clear(x, y + 1))]
    for x, y in edge:
        rows[y][x] = OUTLINE
    return rows


# ---------------------------------------------------------------------------
# Palette reduction

def median_cut(colours, limit):
    """Reduce a {colour: count} histogram to at most `limit` colours."""
    boxes = [list(colours.items())]
    while len(boxes) < limit:
        best, best_span, best_channel = None, 0, 0
        for i, box in enumerate(boxes):
            if len(box) < 2:
                continue
            for ch in range(3):
                vals = [c[ch] for c, _ in box]
                span = max(vals) - min(vals)
                if span > best_span:
                    best, best_span, best_channel = i, span, ch
        if best is None:
            break
        box = sorted(boxes.pop(best), key=lambda e: e[0][best_channel])
        total = sum(n for _, n in box)
        acc, cut = 0, 1
        for j, (_, n) in enumerate(box):
            acc += n
            if acc * 2 >= total:
                cut = max(1, min(len(box) - 1, j + 1))
                break
        boxes.append(box[:cut])
        boxes.append(box[cut:])
    palette = []
    for box in boxes:
        total = sum(n for _, n in box)
        palette.append(tuple(int(round(sum(c[i] * n for c, n in box) / total))
                             for i in range(3)))
    return palette


def palettise(rows):
    """Return (palette, index rows); index 0 is black and marks see-through."""
    hist = {}
    for row in rows:
        for c in row:
            if c is not None:
                hist[c] = hist.get(c, 0) + 1
    colours = list(hist) if len(hist) <= 255 else median_cut(hist, 255)
    palette = [(0, 0, 0)] + sorted(set(colours))
    lookup = {}

    def nearest(c):
        if c not in lookup:
            lookup[c] = min(range(1, len(palette)), key=lambda i: sum(
                (palette[i][k] - c[k]) ** 2 for k in range(3)))
        return lookup[c]

    indices = [[0 if c is None else nearest(c) for c in row] for row in rows]
    return palette, indices


# ---------------------------------------------------------------------------
# Cursor drawing
#
# Drawn by hand at one pixel per character: '#' black, 'o' white, '.' clear.
# The index finger points straight up; its tip is the hot spot.

HAND_HOTSPOT = (8, 2)
HAND = """
................................
................................
.......###......................
......#ooo#.....................
......#ooo#.....................
......#ooo#.....................
......#ooo#.....................
......#ooo#.....................
......#ooo####..................
......#ooo#ooo###...............
......#ooo#ooo#oo###............
......#ooo#ooo#oo#oo#...........
......#ooo#ooo#oo#oo#...........
.###..#ooo#ooo#oo#oo#...........
#ooo#.#ooooooooooooo#...........
#oooo##ooooooooooooo#...........
.#ooooooooooooooooo#............
.#ooooooooooooooooo#............
..#oooooooooooooooo#............
..#ooooooooooooooo#.............
...#oooooooooooooo#.............
...#ooooooooooooo#..............
....#oooooooooooo#..............
....##############..............
....#oooooooooooo#..............
....#oooooooooooo#..............
....##############..............
................................
................................
................................
................................
................................
"""


def hand_rows():
    rows = [line for line in HAND.split("\n") if line]
    if len(rows) != 32 or any(len(r) != 32 for r in rows):
        raise ValueError("the hand must be drawn on a 32x32 grid")
    if rows[HAND_HOTSPOT[1]][HAND_HOTSPOT[0]] != "#":
        raise ValueError("the hot spot must be on the fingertip")
    if any(ch != "." for r in rows[:HAND_HOTSPOT[1]] for ch in r):
        raise ValueError("nothing may stick out above the fingertip")
    return rows


# ---------------------------------------------------------------------------
# File writing
#
# Each image inside an ICO or CUR file is a BMP without the file header.  Its
# height field counts both the colour (XOR) bitmap and the AND mask stacked
# on top of each other, hence twice the real height.  Both bitmaps are stored
# bottom row first, each row padded to a multiple of four bytes.

def _pad4(b):
    return b + b"\0" * (-len(b) % 4)


def _mask_row(bits):
    out = bytearray((len(bits) + 7) // 8)
    for i, bit in enumerate(bits):
        if bit:
            out[i // 8] |= 0x80 >> (i % 8)
    return _pad4(bytes(out))


def bmp_8bit(palette, indices):
    size = len(indices)
    xor = b"".join(_pad4(bytes(r)) for r in reversed(indices))
    # Transparent pixels use index 0, which is black, so that XOR-ing them
    # onto the screen leaves it unchanged.
    mask = b"".join(_mask_row([i == 0 for i in r]) for r in reversed(indices))
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 8, 0,
                         len(xor) + len(mask), 0, 0, 256, 0)
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    pal += b"\0" * (4 * (256 - len(palette)))
    return header + pal + xor + mask


def bmp_1bit(rows):
    # Black outline: AND 0, XOR 0.  White fill: AND 0, XOR 1.  Clear: AND 1,
    # XOR 0, leaving the screen as it was.
    size = len(rows)
    xor = b"".join(_mask_row([ch == "o" for ch in r]) for r in reversed(rows))
    mask = b"".join(_mask_row([ch == "." for ch in r]) for r in reversed(rows))
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0,
                         len(xor) + len(mask), 0, 0, 2, 0)
    pal = struct.pack("<BBBB", 0, 0, 0, 0) + struct.pack("<BBBB", 255, 255, 255, 0)
    return header + pal + xor + mask


def icon_file(images):
    """images: list of (size, bmp bytes), largest first."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        # A colour count of 0 means 256 or more.
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 8,
                           len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, data in images)


def cursor_file(size, hotspot, data):
    # In a cursor directory the planes and bit-count fields hold the hot spot.
    out = struct.pack("<HHH", 0, 2, 1)
    out += struct.pack("<BBBBHHII", size, size, 2, 0, hotspot[0], hotspot[1],
                       len(data), 6 + 16)
    return out + data


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    outdir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "src", "res")
    os.makedirs(outdir, exist_ok=True)

    images = []
    for size in (32, 16):
        palette, indices = palettise(render_icon(size))
        images.append((size, bmp_8bit(palette, indices)))
    with open(os.path.join(outdir, "whois.ico"), "wb") as f:
        f.write(icon_file(images))

    with open(os.path.join(outdir, "hand.cur"), "wb") as f:
        f.write(cursor_file(32, HAND_HOTSPOT, bmp_1bit(hand_rows())))


if __name__ == "__main__":
    main()
