#!/usr/bin/env python3
"""Draws the attachment list's pictures and the Attachments page's arrows, and writes them to
resources/bitmaps: 392 file, 393 folder, 394 Internet address (16 x 16), 421 to 424 the check boxes
(checked, unchecked, unchecked disabled, checked disabled; 13 x 13), all on magenta (transparent),
and the icons 414 (up) and 415 (down), 16 x 16 with an alpha channel. Run it again after changing a
drawing."""
import os, struct

MAGENTA = (255, 0, 255)
OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'bitmaps')

def canvas(w, h, c=MAGENTA):
    return [[c] * w for _ in range(h)]

def rect(px, x0, y0, x1, y1, c):
    for y in range(y0, y1):
        for x in range(x0, x1):
            if 0 <= y < len(px) and 0 <= x < len(px[0]):
                px[y][x] = c

def frame(px, x0, y0, x1, y1, c):
    rect(px, x0, y0, x1, y0 + 1, c); rect(px, x0, y1 - 1, x1, y1, c)
    rect(px, x0, y0, x0 + 1, y1, c); rect(px, x1 - 1, y0, x1, y1, c)

def write_bmp(name, px):
    h, w = len(px), len(px[0])
    stride = (w * 3 + 3) & ~3
    rows = b''
    for row in reversed(px):
        line = b''.join(bytes((b, g, r)) for (r, g, b) in row)
        rows += line + b'\0' * (stride - len(line))
    header = struct.pack('<2sIHHI', b'BM', 54 + len(rows), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    open(os.path.join(OUT, name), 'wb').write(header + info + rows)

def write_ico(name, px):
    n = len(px)
    rows = b''.join(bytes(c for p in row for c in (p[2], p[1], p[0], p[3])) for row in reversed(px))
    # The AND mask marks the transparent pixels too: a disabled button draws its icon by the mask.
    mask_row = ((n + 31) // 32) * 4
    mask = b''
    for row in reversed(px):
        bits = bytearray(mask_row)
        for x, p in enumerate(row):
            if p[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    header = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 32, 0, len(rows), 0, 0, 0, 0)
    data = header + rows + mask
    out = struct.pack('<HHH', 0, 1, 1) + struct.pack('<BBBBHHII', n, n, 0, 0, 1, 32, len(data), 22) + data
    open(os.path.join(OUT, name), 'wb').write(out)

INK = (40, 40, 40)

# 392: a sheet of paper with a folded corner and lines.
px = canvas(16, 16)
rect(px, 3, 1, 13, 15, (255, 255, 255)); frame(px, 3, 1, 13, 15, INK)
rect(px, 10, 1, 13, 4, MAGENTA); rect(px, 10, 1, 11, 4, INK); rect(px, 10, 4, 13, 5, INK)
for y in (6, 8, 10, 12):
    rect(px, 5, y, 11, y + 1, (120, 140, 170))
write_bmp('392.bmp', px)

# 393: a folder.
px = canvas(16, 16)
rect(px, 1, 3, 7, 5, (200, 150, 40)); rect(px, 1, 4, 15, 14, (240, 200, 80))
frame(px, 1, 4, 15, 14, (140, 100, 20)); rect(px, 1, 6, 15, 7, (200, 150, 40))
write_bmp('393.bmp', px)

# 394: a globe.
px = canvas(16, 16)
for y in range(16):
    for x in range(16):
        d = (x - 7.5) ** 2 + (y - 7.5) ** 2
        if d <= 49:
            px[y][x] = (70, 130, 210) if d < 42 else (30, 70, 140)
rect(px, 2, 7, 14, 8, (200, 230, 255)); rect(px, 7, 1, 8, 15, (200, 230, 255))
rect(px, 4, 3, 12, 4, (200, 230, 255)); rect(px, 4, 12, 12, 13, (200, 230, 255))
write_bmp('394.bmp', px)

# 421 to 424: check boxes.
def check_box(checked, disabled):
    px = canvas(13, 13)
    rect(px, 0, 0, 13, 13, (212, 208, 200) if disabled else (255, 255, 255))
    frame(px, 0, 0, 13, 13, (128, 128, 128) if disabled else INK)
    if checked:
        mark = (128, 128, 128) if disabled else INK
        for i, (x, y) in enumerate([(3, 6), (4, 7), (5, 8), (6, 7), (7, 6), (8, 5), (9, 4)]):
            rect(px, x, y, x + 1, y + 2, mark)
    return px
write_bmp('421.bmp', check_box(True, False))
write_bmp('422.bmp', check_box(False, False))
write_bmp('423.bmp', check_box(False, True))
write_bmp('424.bmp', check_box(True, True))

# 414 and 415: black arrows up and down.
def arrow(up):
    px = [[(0, 0, 0, 0)] * 16 for _ in range(16)]
    for i in range(6):
        y = 4 + i if up else 11 - i
        for x in range(8 - i - 1, 8 + i + 1):
            px[y][x] = (0, 0, 0, 255)
    return px
write_ico('414.ico', arrow(True))
write_ico('415.ico', arrow(False))
