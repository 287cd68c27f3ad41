#!/usr/bin/env python3
"""Draws OKAPI's bitmaps and icon into a directory: make_images.py OUTDIR.

Everything is drawn from code so that the binaries never need hand editing.
Shapes are signed-distance functions, so edges are anti-aliased without any
imaging library.
"""

import math
import os
import struct
import sys

# The swatches of the colour page: (top, bottom) and (left, right) are the
# page's pick bounds in client pixels, both exclusive; the palette control
# sits at (40, 105). Each swatch shows the colour a pick there applies
# (pages/tcolor_swatches.h; a test compares the two).
PALETTE_ORIGIN = (40, 105)
PALETTE_ROWS = [(109, 124), (131, 147)]
PALETTE_COLUMNS = [(44, 61), (70, 87), (96, 113), (122, 139), (148, 165), (169, 189),
                   (195, 214), (219, 238)]
PALETTE_COLOURS = [
    [(255, 255, 255), (192, 192, 192), (255, 0, 0), (255, 255, 0), (0, 255, 0), (0, 0, 255),
     (255, 128, 255), (0, 255, 255)],
    [(0, 0, 0), (128, 128, 128), (128, 64, 0), (255, 128, 0), (0, 128, 0), (0, 0, 128),
     (255, 0, 255), (64, 128, 128)],
]

# The screen sizes the pages' pictures are drawn for, in percent of 96 dpi.
SCALES = (100, 125, 150, 200)

AMBER = (232, 163, 61)
STRIPE = (40, 28, 18)

VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
         (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
         (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


# --- drawing --------------------------------------------------------------

class Canvas:
    """Pixels of a picture drawn in units of its 100% size: at scale 1.5 a
    522-unit-wide picture is 783 pixels wide and every shape is drawn anew at
    that size, never stretched."""

    def __init__(self, width, height, colour, scale=1):
        self.scale = scale
        self.width = round(width * scale)
        self.height = round(height * scale)
        self.pixels = [[colour] * self.width for _ in range(self.height)]

    def fill(self, sdf, colour, box=None, hard=False):
        """Blends colour over every pixel by the coverage of the shape sdf(x, y) < 0.

        box: the part to visit, in units. hard: no blending, for pictures of a
        few colours where blends would turn into stray palette entries."""
        s = self.scale
        x0, y0, x1, y1 = (0, 0, self.width, self.height)
        if box:
            x0, y0 = math.floor(box[0] * s), math.floor(box[1] * s)
            x1, y1 = math.ceil(box[2] * s), math.ceil(box[3] * s)
        for y in range(max(0, y0), min(self.height, y1)):
            row = self.pixels[y]
            for x in range(max(0, x0), min(self.width, x1)):
                cover = 0.5 - sdf((x + 0.5) / s, (y + 0.5) / s) * s
                if hard:
                    cover = 1 if cover >= 0.5 else 0
                if cover <= 0:
                    continue
                row[x] = colour if cover >= 1 else blend(row[x], colour, cover)

    def rect(self, left, top, right, bottom, colour):
        """Fills whole pixels left <= x < right, top <= y < bottom."""
        for y in range(top, bottom):
            for x in range(left, right):
                self.pixels[y][x] = colour


def blend(under, over, alpha):
    return tuple(round(u + (o - u) * alpha) for u, o in zip(under, over))


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def rounded_rect(left, top, right, bottom, radius):
    cx, cy = (left + right) / 2, (top + bottom) / 2
    hx, hy = (right - left) / 2 - radius, (bottom - top) / 2 - radius

    def sdf(x, y):
        dx, dy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(dx, 0), max(dy, 0))
        return outside + min(max(dx, dy), 0) - radius
    return sdf


def intersect(a, b):
    return lambda x, y: max(a(x, y), b(x, y))


def band(top, bottom):
    return lambda x, y: max(top - y, y - bottom)


def draw_mark(canvas, cx, cy, r, hard=False):
    """The OKAPI mark: an amber disc crossed by three dark stripes, longest at the bottom."""
    box = (int(cx - r - 2), int(cy - r - 2), int(cx + r + 3), int(cy + r + 3))
    canvas.fill(circle(cx, cy, r), AMBER, box, hard)
    # Each lower stripe starts further left, like the markings on an okapi's leg.
    for top, start in ((-0.12, -0.1), (0.26, -0.55), (0.64, -1.0)):
        stripe = intersect(circle(cx, cy, r), band(cy + top * r, cy + (top + 0.2) * r))
        from_left = (lambda s, x0: lambda x, y: max(s(x, y), x0 - x))(stripe, cx + start * r)
        canvas.fill(from_left, STRIPE, box, hard)


# --- pictures -------------------------------------------------------------

def banner(scale):
    canvas = Canvas(522, 50, (0, 0, 0), scale)
    draw_mark(canvas, 494, 25, 17)
    # A thin amber rule leading to the mark.
    canvas.fill(rounded_rect(380, 24, 470, 26, 1), (120, 84, 32))
    return canvas


def welcome_picture(scale):
    """A calm, pale notebook keyboard on white: the page is white, and the top
    stays free for the welcome texts."""
    canvas = Canvas(522, 334, (255, 255, 255), scale)
    deck = (96, 150, 508, 350)
    key, gap = 22, 5
    canvas.fill(rounded_rect(deck[0] + 4, deck[1] + 5, deck[2] + 4, deck[3] + 5, 14),
                (226, 226, 226))
    canvas.fill(rounded_rect(*deck, 14), (236, 236, 236))
    canvas.fill(rounded_rect(deck[0] + 12, deck[1] + 12, deck[2] - 12,
                             deck[1] + 24 + 5 * (key + gap), 6), (221, 221, 221))
    rows = [(0, 14), (12, 13), (18, 12), (30, 11)]
    for row, (indent, count) in enumerate(rows):
        top = deck[1] + 18 + row * (key + gap)
        for i in range(count):
            left = deck[0] + 18 + indent + i * (key + gap)
            if left + key > deck[2] - 18:
                break
            draw_key(canvas, left, top, key, key)
    space_top = deck[1] + 18 + 4 * (key + gap)
    draw_key(canvas, deck[0] + 18 + 3 * (key + gap), space_top, 6 * (key + gap) - gap, key)
    for i in (0, 1, 2, 9, 10, 11, 12):
        draw_key(canvas, deck[0] + 18 + i * (key + gap), space_top, key, key)
    return canvas


def draw_key(canvas, left, top, width, height):
    box = (left - 2, top - 2, left + width + 3, top + height + 4)
    canvas.fill(rounded_rect(left, top + 2, left + width, top + height + 2, 4), (206, 206, 206),
                box)
    canvas.fill(rounded_rect(left, top, left + width, top + height, 4), (247, 247, 247), box)


def palette():
    canvas = Canvas(203, 46, (255, 255, 255))
    ox, oy = PALETTE_ORIGIN
    for (top, bottom), colours in zip(PALETTE_ROWS, PALETTE_COLOURS):
        for (left, right), colour in zip(PALETTE_COLUMNS, colours):
            # The frame lies on the exclusive bounds, the colour fills exactly
            # the pixels that pick it.
            canvas.rect(left - ox, top - oy, right - ox + 1, bottom - oy + 1, (96, 96, 96))
            canvas.rect(left - ox + 1, top - oy + 1, right - ox, bottom - oy, colour)
    return canvas


def icon_image(size, hard):
    """The mark filling the icon; outside the disc the AND mask makes it transparent."""
    c, r = size / 2, size * 0.47
    disc = circle(c, c, r)
    mask = [[disc(x + 0.5, y + 0.5) < 0 for x in range(size)] for y in range(size)]
    # The background is amber so that the disc's rim does not blend into a halo.
    canvas = Canvas(size, size, AMBER)
    draw_mark(canvas, c, c, r, hard)
    for y in range(size):
        for x in range(size):
            if not mask[y][x]:
                canvas.pixels[y][x] = (0, 0, 0)
    return canvas, mask


# --- file formats ---------------------------------------------------------

def nearest(colour, table):
    return min(range(len(table)),
               key=lambda i: sum((a - b) ** 2 for a, b in zip(colour, table[i])))


def grey_table():
    return [(g, g, g) for g in range(256)]


def cube_table():
    levels = (0, 51, 102, 153, 204, 255)
    table = [(r, g, b) for r in levels for g in levels for b in levels]
    table += [(g, g, g) for g in range(8, 256, 7)][:40]
    return table


def dib_rows(canvas, bits, table):
    """The pixel rows bottom-up, each padded to four bytes, as a DIB stores them."""
    cache = {}
    rows = []
    for row in reversed(canvas.pixels):
        if bits == 24:
            data = b"".join(bytes((b, g, r)) for r, g, b in row)
        else:
            idx = []
            for colour in row:
                if colour not in cache:
                    cache[colour] = nearest(colour, table)
                idx.append(cache[colour])
            if bits == 8:
                data = bytes(idx)
            else:
                data = bytes((idx[i] << 4) | (idx[i + 1] if i + 1 < len(idx) else 0)
                             for i in range(0, len(idx), 2))
        rows.append(data + b"\0" * (-len(data) % 4))
    return b"".join(rows)


def info_header(width, height, bits, image_size, colours):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, image_size, 2835, 2835,
                       colours, 0)


def rgbquads(table):
    return b"".join(bytes((b, g, r, 0)) for r, g, b in table)


def write_bmp(path, canvas, bits=24, table=None):
    pixels = dib_rows(canvas, bits, table)
    colours = len(table) if table else 0
    header = info_header(canvas.width, canvas.height, bits, len(pixels), colours)
    quads = rgbquads(table) if table else b""
    offset = 14 + len(header) + len(quads)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset))
        f.write(header + quads + pixels)


def write_ico(path, sizes):
    images = []
    for size, bits in sizes:
        canvas, mask = icon_image(size, bits == 4 or size == 16)
        table = VGA16 if bits == 4 else cube_table()
        table = table + [(0, 0, 0)] * ((1 << bits) - len(table))
        pixels = dib_rows(canvas, bits, table)
        and_rows = []
        for row in reversed(mask):
            data = bytearray((size + 7) // 8)
            for x, inside in enumerate(row):
                if not inside:
                    data[x // 8] |= 0x80 >> (x % 8)
            and_rows.append(bytes(data) + b"\0" * (-len(data) % 4))
        body = (info_header(size, size * 2, bits, len(pixels), 0) + rgbquads(table) + pixels +
                b"".join(and_rows))
        images.append((size, bits, body))
    offset = 6 + 16 * len(images)
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, len(images)))
        for size, bits, body in images:
            colour_count = 16 if bits == 4 else 0
            f.write(struct.pack("<BBBBHHII", size, size, colour_count, 0, 1, bits, len(body),
                                offset))
            offset += len(body)
        for _, _, body in images:
            f.write(body)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_images.py OUTDIR")
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    # The pages' pictures at each size the wizard may need (res/okapi.rc).
    for percent in SCALES:
        suffix = "" if percent == 100 else "-%d" % percent
        write_bmp(os.path.join(out, "banner%s.bmp" % suffix), banner(percent / 100))
        write_bmp(os.path.join(out, "keyboard%s.bmp" % suffix), welcome_picture(percent / 100), 8,
                  grey_table())
    write_bmp(os.path.join(out, "palette.bmp"), palette())
    write_bmp(os.path.join(out, "white.bmp"), Canvas(205, 50, (255, 255, 255)))
    write_ico(os.path.join(out, "okapi.ico"), [(16, 4), (32, 4), (16, 8), (32, 8)])


if __name__ == "__main__":
    main()
