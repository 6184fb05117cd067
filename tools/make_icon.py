#!/usr/bin/env python3
"""Writes Tavrel's application icon: a white power symbol on a blue disc.

Usage: python3 tools/make_icon.py OUT.ico

The file holds two images, always in this exact form (11894 bytes):
  1. 32 x 32, 8 bits per pixel with a 256-colour palette and an AND mask;
  2. 48 x 48, 32 bits per pixel (BGRA, straight alpha) and an AND mask.
The picture is drawn from the geometry below, so the same script always
writes the same bytes. Standard library only.
"""

import math
import struct
import sys

# --- The picture, in units of the image's width (0..1, y pointing down). ---
DISC_CENTRE = (0.5, 0.5)
DISC_RADIUS = 0.48
DISC_COLOUR = (0x1E, 0x5A, 0xA8)  # RGB
SYMBOL_COLOUR = (0xFF, 0xFF, 0xFF)
# The open ring of the symbol: its centre line's radius, the stroke width and
# the half-angle of the gap at the top, in degrees.
RING_CENTRE = (0.5, 0.53)
RING_RADIUS = 0.24
STROKE = 0.085
GAP_HALF_ANGLE = 38.0
# The bar that stands in the gap, from top to bottom of its centre line.
BAR_TOP = 0.17
BAR_BOTTOM = 0.50
# Samples per pixel along each axis for the edges' coverage.
SUPERSAMPLE = 4

BITMAPINFOHEADER_SIZE = 40
DIRECTORY_HEADER_SIZE = 6
DIRECTORY_ENTRY_SIZE = 16
EXPECTED_FILE_SIZE = 11894


def distance_to_segment(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def distance_to_ring(px, py):
    """Distance to the ring's centre line, an arc open at the top."""
    cx, cy = RING_CENTRE
    dx, dy = px - cx, py - cy
    # Angle from straight up, clockwise, in degrees (-180..180].
    angle = math.degrees(math.atan2(dx, -dy))
    if abs(angle) >= GAP_HALF_ANGLE:
        return abs(math.hypot(dx, dy) - RING_RADIUS)
    # Inside the gap the nearest point is one of the arc's two ends, which
    # gives the stroke round caps.
    end = math.radians(GAP_HALF_ANGLE if angle >= 0 else -GAP_HALF_ANGLE)
    ex = cx + RING_RADIUS * math.sin(end)
    ey = cy - RING_RADIUS * math.cos(end)
    return math.hypot(px - ex, py - ey)


def in_symbol(px, py):
    half = STROKE / 2
    bar_x = RING_CENTRE[0]
    return (distance_to_ring(px, py) <= half
            or distance_to_segment(px, py, bar_x, BAR_TOP, bar_x, BAR_BOTTOM) <= half)


def in_disc(px, py):
    return math.hypot(px - DISC_CENTRE[0], py - DISC_CENTRE[1]) <= DISC_RADIUS


def coverage(size):
    """Per pixel, top row first: (disc coverage, symbol coverage), each 0..1."""
    rows = []
    samples = SUPERSAMPLE * SUPERSAMPLE
    for y in range(size):
        row = []
        for x in range(size):
            disc = symbol = 0
            for sy in range(SUPERSAMPLE):
                for sx in range(SUPERSAMPLE):
                    px = (x + (sx + 0.5) / SUPERSAMPLE) / size
                    py = (y + (sy + 0.5) / SUPERSAMPLE) / size
                    if in_disc(px, py):
                        disc += 1
                        if in_symbol(px, py):
                            symbol += 1
            # The symbol's share of the disc's part of the pixel, so that the
            # colour of a pixel on the disc's edge is not darkened.
            row.append((disc / samples, symbol / disc if disc else 0.0))
        rows.append(row)
    return rows


def blend(t):
    return tuple(round(d + (s - d) * t) for d, s in zip(DISC_COLOUR, SYMBOL_COLOUR))


def mask_bytes(rows, transparent):
    """The AND mask, bottom row first, each row padded to 4 bytes."""
    out = bytearray()
    for row in reversed(rows):
        bits = bytearray((len(row) + 31) // 32 * 4)
        for x, pixel in enumerate(row):
            if transparent(pixel):
                bits[x // 8] |= 0x80 >> (x % 8)
        out += bits
    return bytes(out)


def bitmap_info_header(size, bit_count, image_bytes):
    # The height counts the colour rows and the mask rows.
    return struct.pack('<IiiHHIIiiII', BITMAPINFOHEADER_SIZE, size, 2 * size, 1, bit_count, 0,
                       image_bytes, 0, 0, 0, 0)


def palette_image(size):
    """8 bits per pixel: index 0 is black for the transparent pixels (the AND
    mask keeps the screen and XOR with black leaves it as it is), indices 1 to
    255 run from the disc's colour to the symbol's."""
    rows = coverage(size)
    palette = bytearray(b'\0\0\0\0')
    for index in range(1, 256):
        r, g, b = blend((index - 1) / 254)
        palette += bytes((b, g, r, 0))
    opaque = lambda pixel: pixel[0] >= 0.5
    pixels = bytearray()
    for row in reversed(rows):
        line = bytes(1 + round(pixel[1] * 254) if opaque(pixel) else 0 for pixel in row)
        pixels += line + bytes(-len(line) % 4)
    mask = mask_bytes(rows, lambda pixel: not opaque(pixel))
    header = bitmap_info_header(size, 8, len(pixels) + len(mask))
    return header + bytes(palette) + bytes(pixels) + mask


def alpha_image(size):
    """32 bits per pixel, straight (not premultiplied) alpha from the disc's
    coverage; the AND mask marks the pixels with no alpha at all, for systems
    that draw without the alpha channel."""
    rows = coverage(size)
    pixels = bytearray()
    for row in reversed(rows):
        for disc, symbol in row:
            alpha = round(disc * 255)
            r, g, b = blend(symbol) if alpha else (0, 0, 0)
            pixels += bytes((b, g, r, alpha))
    mask = mask_bytes(rows, lambda pixel: round(pixel[0] * 255) == 0)
    header = bitmap_info_header(size, 32, len(pixels) + len(mask))
    return header + bytes(pixels) + mask


def icon_file(images):
    """images: (size, bit count, data) in directory order."""
    out = bytearray(struct.pack('<HHH', 0, 1, len(images)))
    offset = DIRECTORY_HEADER_SIZE + DIRECTORY_ENTRY_SIZE * len(images)
    for size, bit_count, data in images:
        # Colour count 0: both images have 256 colours or more.
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, bit_count, len(data),
                           offset)
        offset += len(data)
    for _, _, data in images:
        out += data
    return bytes(out)


def main(argv):
    if len(argv) != 2:
        sys.stderr.write('usage: make_icon.py OUT.ico\n')
        return 2
    ico = icon_file([(32, 8, palette_image(32)), (48, 32, alpha_image(48))])
    if len(ico) != EXPECTED_FILE_SIZE:
        sys.stderr.write('make_icon.py: wrote %d bytes, expected %d\n' % (len(ico), EXPECTED_FILE_SIZE))
        return 1
    with open(argv[1], 'wb') as out:
        out.write(ico)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
