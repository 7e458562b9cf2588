#!/usr/bin/env python3
"""Draws the program's icons and writes them as .ico files beside this script.

varnel.ico (icon 101): the application icon, a slate padlock with a steel shackle and an amber
    keyhole; 48, 32, 24 and 16 px with a 256-colour palette, 48 and 32 px with alpha.
locked.ico (icon 129): the "locked" indicator, a black padlock on transparent, 32 px, 1 bpp.

Standard library only. After changing the drawing run:  python3 make_icons.py
"""

import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# ---- Geometry -------------------------------------------------------------------------------
# One hand-fitted layout per size rather than one scaled drawing: at 16 and 24 px the shackle
# legs and the body edges sit on whole pixels, so the palette images stay crisp.
# Units are pixels; pixel (x, y) covers [x, x+1) x [y, y+1).
#   body:    left, top, right, bottom, corner radius
#   shackle: centre x, arc centre y, outer radius, inner radius
#   hole:    keyhole circle centre y, radius, slot bottom y, slot half-width at top and bottom
#   line:    outline width
#   shackle_line, shackle_colour: at 16 px a 2-px shackle has no room for an outline and a
#            gradient, so it is one flat steel tone that reads on light and dark backgrounds
LAYOUTS = {
    48: dict(body=(7, 21, 41, 45, 5), shackle=(24, 17, 13, 8), hole=(31, 4, 39.5, 1.5, 2.5), line=1.5),
    32: dict(body=(4, 14, 28, 30, 3), shackle=(16, 11, 9, 5), hole=(20.5, 3, 26, 1, 2), line=1.0),
    24: dict(body=(3, 11, 21, 23, 2.5), shackle=(12, 8, 7, 4), hole=(16, 2.2, 20, 1, 1), line=1.0),
    16: dict(body=(2, 7, 14, 15, 1.5), shackle=(8, 5.5, 5, 3), hole=(9, 0, 13, 1, 1), line=1.0,
             shackle_line=0.0, shackle_colour=(0x8A, 0x99, 0xA7)),
}

# ---- Colours --------------------------------------------------------------------------------
BODY_TOP = (0x56, 0x6B, 0x80)
BODY_BOTTOM = (0x2A, 0x36, 0x43)
BODY_LINE = (0x17, 0x1F, 0x28)
SHACKLE_LIGHT = (0xEE, 0xF2, 0xF5)
SHACKLE_DARK = (0x9A, 0xA8, 0xB5)
SHACKLE_LINE = (0x4A, 0x56, 0x62)
KEYHOLE = (0xF4, 0xC0, 0x3E)


def mix(a, b, t):
    t = min(max(t, 0.0), 1.0)
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def rounded_rect_sdf(x, y, left, top, right, bottom, radius):
    """Signed distance to a rounded rectangle: negative inside."""
    hx, hy = (right - left) / 2, (bottom - top) / 2
    qx = abs(x - (left + right) / 2) - hx + radius
    qy = abs(y - (top + bottom) / 2) - hy + radius
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - radius


def shackle_sdf(x, y, cx, cy, outer, inner, leg_bottom):
    """Signed distance to an upside-down U: a half ring over cy and two legs below it."""
    centre, half = (outer + inner) / 2, (outer - inner) / 2
    if y <= cy:
        along = abs(math.hypot(x - cx, y - cy) - centre)
    else:
        dy = max(y - leg_bottom, 0.0)
        along = min(math.hypot(x - (cx - centre), dy), math.hypot(x - (cx + centre), dy))
    return along - half


def in_keyhole(x, y, cx, layout):
    cy, radius, bottom, top_half, bottom_half = layout["hole"]
    if math.hypot(x - cx, y - cy) <= radius:
        return True
    if cy <= y <= bottom:
        half = top_half + (bottom_half - top_half) * (y - cy) / (bottom - cy)
        return abs(x - cx) <= half
    return False


def sample(x, y, layout, keyhole_colour):
    """Colour of the padlock at one point, or None where it is transparent."""
    left, top, right, bottom, radius = layout["body"]
    cx, cy, outer, inner = layout["shackle"]
    line = layout["line"]
    colour = None
    d = shackle_sdf(x, y, cx, cy, outer, inner, top + 1)
    if d <= 0:
        # Lit from the upper left: light on the left leg, darker towards the right.
        shade = layout.get("shackle_colour") or mix(SHACKLE_LIGHT, SHACKLE_DARK,
                                                    (x - (cx - outer)) / (2 * outer))
        colour = SHACKLE_LINE if d > -layout.get("shackle_line", line) else shade
    d = rounded_rect_sdf(x, y, left, top, right, bottom, radius)
    if d <= 0:
        colour = BODY_LINE if d > -line else mix(BODY_TOP, BODY_BOTTOM, (y - top) / (bottom - top))
    if colour is not None and in_keyhole(x, y, cx, layout):
        colour = keyhole_colour
    return colour


def render(size, keyhole_colour=KEYHOLE, samples=8):
    """RGBA rows (floats 0..255, alpha 0..1) of the padlock at one size, supersampled."""
    layout = LAYOUTS[size]
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            total, r, g, b = 0, 0.0, 0.0, 0.0
            for sy in range(samples):
                for sx in range(samples):
                    c = sample(px + (sx + 0.5) / samples, py + (sy + 0.5) / samples, layout,
                               keyhole_colour)
                    if c is not None:
                        total += 1
                        r, g, b = r + c[0], g + c[1], b + c[2]
            if total:
                row.append((r / total, g / total, b / total, total / samples ** 2))
            else:
                row.append((0.0, 0.0, 0.0, 0.0))
        rows.append(row)
    return rows


# ---- Palette --------------------------------------------------------------------------------

def median_cut(colours, count):
    """Up to `count` palette colours for a {colour: pixels} histogram."""
    boxes = [list(colours.items())]
    while len(boxes) < count:
        def spread(box):
            return max(max(c[i] for c, _ in box) - min(c[i] for c, _ in box) for i in range(3))
        splittable = [b for b in boxes if len(b) > 1]
        if not splittable:
            break
        box = max(splittable, key=lambda b: spread(b) * sum(n for _, n in b))
        boxes.remove(box)
        axis = max(range(3), key=lambda i: max(c[i] for c, _ in box) - min(c[i] for c, _ in box))
        box.sort(key=lambda item: item[0][axis])
        half, seen, cut = sum(n for _, n in box) / 2, 0, 1
        for i, (_, n) in enumerate(box[:-1]):
            seen += n
            if seen >= half:
                cut = i + 1
                break
        boxes += [box[:cut], box[cut:]]
    palette = []
    for box in boxes:
        weight = sum(n for _, n in box)
        palette.append(tuple(round(sum(c[i] * n for c, n in box) / weight) for i in range(3)))
    return palette


def nearest(palette, colour):
    return min(range(len(palette)),
               key=lambda i: sum((palette[i][k] - colour[k]) ** 2 for k in range(3)))


# ---- ICO ------------------------------------------------------------------------------------

def pad4(data):
    return data + b"\0" * (-len(data) % 4)


def and_mask(size, transparent):
    """The 1-bpp AND mask, bottom row first: 1 where the screen shows through."""
    out = b""
    for y in reversed(range(size)):
        bits = 0
        for x in range(size):
            bits = bits << 1 | (1 if transparent(x, y) else 0)
        bits <<= -size % 8
        out += pad4(bits.to_bytes((size + 7) // 8, "big"))
    return out


def dib_header(size, bpp, image_bytes, colours):
    # The height counts the colour image and the mask together.
    return struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bpp, 0, image_bytes, 0, 0, colours, 0)


def image_32(rows):
    size = len(rows)
    xor = b""
    for row in reversed(rows):
        for r, g, b, a in row:
            xor += bytes((round(b), round(g), round(r), round(a * 255)))
    mask = and_mask(size, lambda x, y: round(rows[y][x][3] * 255) == 0)
    return dib_header(size, 32, len(xor) + len(mask), 0) + xor + mask


def image_8(rows):
    # One bit of transparency: a pixel more than half covered is drawn in its own colour
    # (never blended with an assumed background, which would leave a halo on other ones).
    size = len(rows)
    solid = lambda x, y: rows[y][x][3] >= 0.5
    histogram = {}
    for y in range(size):
        for x in range(size):
            if solid(x, y):
                c = tuple(round(v) for v in rows[y][x][:3])
                histogram[c] = histogram.get(c, 0) + 1
    palette = [(0, 0, 0)] + median_cut(histogram, 255)  # index 0: behind transparent pixels
    lookup = {c: 1 + nearest(palette[1:], c) for c in histogram}
    xor = b""
    for y in reversed(range(size)):
        line = bytes(lookup[tuple(round(v) for v in rows[y][x][:3])] if solid(x, y) else 0
                     for x in range(size))
        xor += pad4(line)
    mask = and_mask(size, lambda x, y: not solid(x, y))
    quads = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    quads += b"\0" * (4 * (256 - len(palette)))
    return dib_header(size, 8, len(xor) + len(mask), 0) + quads + xor + mask


def image_1(size, black):
    """Black where black(x, y), transparent elsewhere."""
    xor = bytes(len(pad4(bytes((size + 7) // 8))) * size)  # every pixel index 0, black
    mask = and_mask(size, lambda x, y: not black(x, y))
    quads = bytes((0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0))
    return dib_header(size, 1, len(xor) + len(mask), 2) + quads + xor + mask


def write_ico(path, images):
    """images: (size, bpp, palette colour count or 0, DIB bytes)."""
    offset = 6 + 16 * len(images)
    directory, data = b"", b""
    for size, bpp, colours, dib in images:
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0, 1, bpp, len(dib),
                                 offset + len(data))
        data += dib
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, len(images)) + directory + data)


def main():
    app = []
    for size in (48, 32, 24, 16):
        app.append((size, 8, 0, image_8(render(size))))
    for size in (48, 32):
        app.append((size, 32, 0, image_32(render(size))))
    write_ico(os.path.join(HERE, "varnel.ico"), app)

    # The indicator: the same padlock in solid black, the keyhole cut out.
    locked = render(32, keyhole_colour=None)
    black = lambda x, y: locked[y][x][3] >= 0.5
    write_ico(os.path.join(HERE, "locked.ico"), [(32, 1, 2, image_1(32, black))])


if __name__ == "__main__":
    main()
