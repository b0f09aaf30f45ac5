#!/usr/bin/env python3
"""Writes the small bitmaps of the menu tests (run from this folder).

menu_toolbar.bmp: three 16x15 buttons, 24-bit: a light gray (192) frame
around a red, a blue and a green centre. menu_single.bmp: one 16x15 yellow
image in the same frame. menu_checks.bmp: two 16x15 images, 16 colours:
a blue and a red centre on light gray. menu_icon.ico: a 16x16 icon, a green
square with a clear 3-pixel border.
"""
import struct

GRAY = (192, 192, 192)


def framed(centre, width=16, height=15, border=3):
    return [[centre if border <= x < width - border and border <= y < height - border else GRAY
             for x in range(width)] for y in range(height)]


def strip(images):
    return [sum((image[y] for image in images), []) for y in range(len(images[0]))]


def write_24(path, rows):
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    data = b''
    for row in reversed(rows):
        line = b''.join(struct.pack('BBB', b, g, r) for (r, g, b) in row)
        data += line + b'\0' * (stride - len(line))
    header = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, 'wb') as f:
        f.write(b'BM' + struct.pack('<IHHI', 14 + 40 + len(data), 0, 0, 54) + header + data)


def write_4(path, rows, palette):
    height, width = len(rows), len(rows[0])
    stride = ((width + 1) // 2 + 3) & ~3
    data = b''
    for row in reversed(rows):
        indices = [palette.index(p) for p in row] + [0]
        line = bytes((indices[i] << 4) | indices[i + 1] for i in range(0, width, 2))
        data += line + b'\0' * (stride - len(line))
    colours = palette + [(0, 0, 0)] * (16 - len(palette))
    table = b''.join(struct.pack('BBBB', b, g, r, 0) for (r, g, b) in colours)
    header = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 4, 0, len(data), 2835, 2835, 16, 0)
    offset = 14 + 40 + len(table)
    with open(path, 'wb') as f:
        f.write(b'BM' + struct.pack('<IHHI', offset + len(data), 0, 0, offset) + header + table + data)


write_24('menu_toolbar.bmp', strip([framed((255, 0, 0)), framed((0, 0, 255)), framed((0, 255, 0))]))
write_24('menu_single.bmp', framed((255, 255, 0)))
write_4('menu_checks.bmp', strip([framed((0, 0, 255)), framed((255, 0, 0))]),
        [(0, 0, 0), (128, 128, 128), GRAY, (255, 255, 255), (255, 0, 0), (0, 0, 255)])


def write_icon(path, size=16, border=3):
    inside = lambda x, y: border <= x < size - border and border <= y < size - border
    pixels = b''.join(struct.pack('BBBB', 0, 160, 0, 255) if inside(x, y) else b'\0\0\0\0'
                      for y in reversed(range(size)) for x in range(size))
    mask = b''
    for y in reversed(range(size)):
        bits = 0
        for x in range(size):
            bits = (bits << 1) | (0 if inside(x, y) else 1)
        mask += struct.pack('>H', bits) + b'\0\0'
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    image = header + pixels + mask
    with open(path, 'wb') as f:
        f.write(struct.pack('<HHH', 0, 1, 1) + struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(image), 22))
        f.write(image)


write_icon('menu_icon.ico')
