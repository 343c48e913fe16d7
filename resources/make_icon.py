#!/usr/bin/env python3
"""Draws the program's icon (a stack of note cards with a keyword tag) and writes quorvane.ico
with 16x16, 32x32 and 48x48 32-bit images. Run it again after changing the drawing."""
import struct, sys

def draw(n):
    px = [[(0, 0, 0, 0)] * n for _ in range(n)]
    s = n / 32.0
    def rect(x0, y0, x1, y1, c):
        for y in range(int(y0 * s), int(y1 * s)):
            for x in range(int(x0 * s), int(x1 * s)):
                if 0 <= x < n and 0 <= y < n:
                    px[y][x] = c
    dark = (40, 60, 90, 255)
    # Back card, front card with a frame, ruled lines, then the tag.
    rect(7, 3, 29, 23, dark); rect(8, 4, 28, 22, (200, 215, 235, 255))
    rect(3, 8, 25, 29, dark); rect(4, 9, 24, 28, (255, 255, 255, 255))
    rect(4, 9, 24, 13, (60, 120, 190, 255))
    for y in (16, 20, 24):
        rect(6, y, 22, y + 1, (150, 160, 175, 255))
    rect(19, 17, 30, 23, (120, 80, 20, 255)); rect(20, 18, 29, 22, (245, 190, 50, 255))
    rect(21, 19, 23, 21, (120, 80, 20, 255))
    return px

def bmp(px):
    n = len(px)
    rows = b''.join(bytes(c for p in row for c in (p[2], p[1], p[0], p[3])) for row in reversed(px))
    mask_row = ((n + 31) // 32) * 4
    header = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 32, 0, len(rows), 0, 0, 0, 0)
    return header + rows + b'\0' * mask_row * n

images = [bmp(draw(n)) for n in (16, 32, 48)]
out = struct.pack('<HHH', 0, 1, len(images))
offset = 6 + 16 * len(images)
for n, data in zip((16, 32, 48), images):
    out += struct.pack('<BBBBHHII', n, n, 0, 0, 1, 32, len(data), offset)
    offset += len(data)
out += b''.join(images)
open(sys.argv[1] if len(sys.argv) > 1 else 'quorvane.ico', 'wb').write(out)
