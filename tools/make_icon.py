#!/usr/bin/env python3
"""Generate resources/quorrin.ico, the application icon for Quorrin.

The icon is drawn from simple geometry (a rounded dark-blue tile with a
bold white "#") and written as a Windows icon holding two palettised
8-bit images, 32x32 and 16x16, with transparent corners via the AND mask.

The generated file is committed to the repository, so a normal build does
not need Python. Re-run this script only when changing the design:

    python3 tools/make_icon.py

Only the Python standard library is used, and all drawing is done with
integer arithmetic, so the output is byte-for-byte reproducible.
"""

import os
import struct

# Supersampling factor per axis. Sample centres sit at odd multiples of
# 1 / (2 * SS) of a pixel, so every coordinate below is an integer in
# "sub-units" where one pixel is UNIT sub-units wide.
SS = 8
UNIT = 2 * SS

# Colours as (R, G, B).
TRANSPARENT = (0, 0, 0)
EDGE = (14, 42, 84)      # dark outline of the tile
BODY = (28, 78, 150)     # tile fill
GLYPH = (255, 255, 255)  # the "#"

# Per-size geometry, in whole pixels (rectangles are [x0, x1) x [y0, y1)).
#   tile:   outer rounded square and its corner radius
#   border: width of the darker outline
#   bars:   the four strokes of the "#"
DESIGNS = {
    32: {
        "tile": ((1, 1, 31, 31), 6),
        "border": 1,
        "bars": [
            (10, 6, 14, 26),   # left vertical
            (18, 6, 22, 26),   # right vertical
            (6, 10, 26, 14),   # upper horizontal
            (6, 18, 26, 22),   # lower horizontal
        ],
    },
    16: {
        "tile": ((0, 0, 16, 16), 3),
        "border": 1,
        "bars": [
            (5, 3, 7, 13),
            (9, 3, 11, 13),
            (3, 5, 13, 7),
            (3, 9, 13, 11),
        ],
    },
}


def in_round_rect(x, y, rect, radius):
    """True if sub-unit point (x, y) lies inside the rounded rectangle."""
    x0, y0, x1, y1 = (v * UNIT for v in rect)
    r = radius * UNIT
    if x < x0 or x >= x1 or y < y0 or y >= y1:
        return False
    dx = max(x0 + r - x, 0, x - (x1 - r))
    dy = max(y0 + r - y, 0, y - (y1 - r))
    return dx * dx + dy * dy <= r * r


def in_rect(x, y, rect):
    x0, y0, x1, y1 = (v * UNIT for v in rect)
    return x0 <= x < x1 and y0 <= y < y1


def build_palette():
    """A handful of colours: transparent, outline, fill, and blends of
    fill/outline towards white for anti-aliased glyph edges."""
    colours = [TRANSPARENT, EDGE, BODY]
    for base in (BODY, EDGE):
        for step in (1, 2, 3):
            colours.append(tuple((b * (4 - step) + g * step) // 4
                                 for b, g in zip(base, GLYPH)))
    colours.append(GLYPH)
    return colours


PALETTE = build_palette()


def nearest_index(rgb):
    """Closest opaque palette entry (index 0 is reserved for transparency)."""
    best, best_d = 1, None
    for i in range(1, len(PALETTE)):
        d = sum((a - b) ** 2 for a, b in zip(rgb, PALETTE[i]))
        if best_d is None or d < best_d:
            best, best_d = i, d
    return best


def render(size):
    """Return (indices, opaque) as row-major lists, top row first."""
    design = DESIGNS[size]
    rect, radius = design["tile"]
    b = design["border"]
    inner = (rect[0] + b, rect[1] + b, rect[2] - b, rect[3] - b)
    inner_radius = max(radius - b, 0)
    bars = design["bars"]
    total = SS * SS

    indices, opaque = [], []
    for py in range(size):
        for px in range(size):
            n_tile = n_inner = n_glyph = 0
            for sy in range(SS):
                y = py * UNIT + 2 * sy + 1
                for sx in range(SS):
                    x = px * UNIT + 2 * sx + 1
                    if not in_round_rect(x, y, rect, radius):
                        continue
                    n_tile += 1
                    if in_round_rect(x, y, inner, inner_radius):
                        n_inner += 1
                    if any(in_rect(x, y, r) for r in bars):
                        n_glyph += 1
            if 2 * n_tile < total:
                indices.append(0)
                opaque.append(False)
                continue
            # Colour of the covered part: glyph over fill over outline.
            n_glyph = min(n_glyph, n_tile)
            n_fill = max(n_inner - n_glyph, 0)
            n_edge = n_tile - n_glyph - n_fill
            rgb = tuple((GLYPH[c] * n_glyph + BODY[c] * n_fill
                         + EDGE[c] * n_edge + n_tile // 2) // n_tile
                        for c in range(3))
            indices.append(nearest_index(rgb))
            opaque.append(True)
    return indices, opaque


def dib(size):
    """Palettised 8-bpp DIB (header, palette, XOR bitmap, AND mask)."""
    indices, opaque = render(size)
    header = struct.pack(
        "<IiiHHIIiiII",
        40,            # biSize
        size,          # biWidth
        size * 2,      # biHeight: XOR bitmap + AND mask
        1,             # biPlanes
        8,             # biBitCount
        0,             # biCompression (BI_RGB)
        0,             # biSizeImage (filled in below)
        0, 0,          # biXPelsPerMeter, biYPelsPerMeter
        0, 0,          # biClrUsed (0 = 256), biClrImportant
    )
    palette = bytearray()
    for i in range(256):
        r, g, b = PALETTE[i] if i < len(PALETTE) else (0, 0, 0)
        palette += bytes((b, g, r, 0))

    xor_stride = (size + 3) & ~3
    and_stride = ((size + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for row in range(size - 1, -1, -1):          # bottom-up
        line = indices[row * size:(row + 1) * size]
        xor += bytes(line) + bytes(xor_stride - size)
        bits = bytearray(and_stride)
        for x in range(size):
            if not opaque[row * size + x]:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits

    image_size = len(xor) + len(mask)
    header = header[:20] + struct.pack("<I", image_size) + header[24:]
    return header + bytes(palette) + bytes(xor) + bytes(mask)


def build_ico(sizes=(32, 16)):
    images = [dib(s) for s in sizes]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 8,
                           len(data), offset)
        offset += len(data)
    for data in images:
        out += data
    return bytes(out)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    path = os.path.join(root, "resources", "quorrin.ico")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    data = build_ico()
    with open(path, "wb") as f:
        f.write(data)
    print("wrote %s (%d bytes)" % (path, len(data)))


if __name__ == "__main__":
    main()
