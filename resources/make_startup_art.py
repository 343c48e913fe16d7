#!/usr/bin/env python3
"""Draws the start-up windows' art and writes it to resources/bitmaps: the splash picture (143, 8-bit
with its own colour table, room for the texts the program draws right-aligned up to x = 423 and the
links down to y = 270), the welcome picture (199), the welcome buttons' images (344-347, 360-363, on
magenta), the Tip of the Day icon (261) and the link hand cursor (216). Run it again after changing a
drawing."""
import os, struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'bitmaps')
MAGENTA = (255, 0, 255)

def write_bmp8(path, px, palette):
    h, w = len(px), len(px[0])
    index = {c: i for i, c in enumerate(palette)}
    stride = (w + 3) & ~3
    data = bytearray()
    for row in reversed(px):
        line = bytes(index[c] for c in row)
        data += line + b'\0' * (stride - len(line))
    table = b''.join(bytes((b, g, r, 0)) for (r, g, b) in palette) + b'\0' * 4 * (256 - len(palette))
    off = 54 + len(table)
    header = struct.pack('<2sIHHI', b'BM', off + len(data), 0, 0, off)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 8, 0, len(data), 2835, 2835, 256, 0)
    open(path, 'wb').write(header + info + table + data)

def write_bmp24(path, px):
    h, w = len(px), len(px[0])
    stride = (w * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(px):
        line = bytearray()
        for (r, g, b) in row:
            line += bytes((b, g, r))
        data += line + b'\0' * (stride - len(line))
    header = struct.pack('<2sIHHI', b'BM', 54 + len(data), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    open(path, 'wb').write(header + info + data)

def canvas(w, h, c):
    return [[c] * w for _ in range(h)]

def rect(px, x0, y0, x1, y1, c):
    for y in range(max(0, y0), min(len(px), y1)):
        for x in range(max(0, x0), min(len(px[0]), x1)):
            px[y][x] = c

def disc(px, cx, cy, r, c):
    for y in range(cy - r, cy + r + 1):
        for x in range(cx - r, cx + r + 1):
            if 0 <= y < len(px) and 0 <= x < len(px[0]) and (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                px[y][x] = c

# The splash: a pale paper with a blue band, a stack of cards, and a 5x7 lettering of the name.
FONT = {
    'P': ['1110', '1001', '1001', '1110', '1000', '1000', '1000'],
    'Q': ['0110', '1001', '1001', '1001', '1011', '1001', '0111'],
    'e': ['0000', '0000', '0110', '1001', '1111', '1000', '0111'],
    'r': ['0000', '0000', '1011', '1100', '1000', '1000', '1000'],
    's': ['0000', '0000', '0111', '1000', '0110', '0001', '1110'],
    'o': ['0000', '0000', '0110', '1001', '1001', '1001', '0110'],
    'n': ['0000', '0000', '1110', '1001', '1001', '1001', '1001'],
    'a': ['0000', '0000', '0110', '0001', '0111', '1001', '0111'],
    'l': ['1000', '1000', '1000', '1000', '1000', '1000', '0110'],
    'u': ['0000', '0000', '1001', '1001', '1001', '1001', '0111'],
    'v': ['0000', '0000', '1001', '1001', '1001', '0110', '0110'],
    ' ': ['0000'] * 7,
}

def letters(px, x, y, text, scale, c):
    for ch in text:
        glyph = FONT[ch]
        for gy, row in enumerate(glyph):
            for gx, bit in enumerate(row):
                if bit == '1':
                    rect(px, x + gx * scale, y + gy * scale, x + (gx + 1) * scale, y + (gy + 1) * scale, c)
        x += (len(glyph[0]) + 1) * scale

def splash():
    paper, band, ink, card, card2, tag, line = ((250, 248, 236), (40, 80, 150), (20, 30, 60),
                                                (255, 255, 255), (205, 220, 240), (240, 185, 50), (150, 160, 180))
    palette = [paper, band, ink, card, card2, tag, line, (0, 0, 0)]
    px = canvas(440, 280, paper)
    rect(px, 0, 0, 440, 44, band)
    rect(px, 0, 274, 440, 280, band)
    # Cards
    rect(px, 40, 80, 150, 170, ink); rect(px, 42, 82, 148, 168, card2)
    rect(px, 22, 100, 132, 200, ink); rect(px, 24, 102, 130, 198, card)
    rect(px, 24, 102, 130, 116, band)
    for y in (130, 145, 160, 175):
        rect(px, 34, y, 120, y + 2, line)
    rect(px, 100, 150, 150, 176, ink); rect(px, 102, 152, 148, 174, tag)
    letters(px, 170, 12, 'Personal Quorvane', 3, card)
    return px, palette

def welcome():
    paper, band, ink, card = (250, 248, 236), (40, 80, 150), (20, 30, 60), (255, 255, 255)
    px = canvas(360, 70, paper)
    rect(px, 0, 0, 360, 6, band)
    rect(px, 0, 64, 360, 70, band)
    rect(px, 12, 14, 56, 56, ink); rect(px, 14, 16, 54, 54, card); rect(px, 14, 16, 54, 24, band)
    letters(px, 72, 24, 'Personal Quorvane', 3, ink)
    return px, [paper, band, ink, card]

def button(kind, second):
    px = canvas(32, 32, MAGENTA)
    ink, page, blue, green, yellow = (20, 30, 60), (255, 255, 255), (40, 80, 150), (30, 140, 60), (240, 185, 50)
    if second:
        blue, green = (90, 130, 200), (80, 190, 110)
    if kind == 'new':
        rect(px, 6, 3, 24, 29, ink); rect(px, 7, 4, 23, 28, page)
        rect(px, 18, 16, 30, 19, green); rect(px, 22, 12, 25, 23, green)
    elif kind == 'open':
        rect(px, 3, 8, 29, 27, ink); rect(px, 4, 9, 28, 26, yellow); rect(px, 4, 9, 14, 12, blue)
    elif kind == 'recent':
        disc(px, 16, 16, 13, ink); disc(px, 16, 16, 11, page)
        rect(px, 15, 8, 17, 17, blue); rect(px, 15, 15, 23, 17, blue)
    elif kind == 'continue':
        for i in range(12):
            rect(px, 8 + i, 4 + i, 10 + i, 28 - i, green)
    elif kind == 'tutorial':
        rect(px, 4, 6, 28, 26, ink); rect(px, 5, 7, 27, 25, page); rect(px, 15, 7, 17, 25, blue)
    return px

def icon32(px_rgb):
    rows = b''.join(bytes(c for p in row for c in (p[2], p[1], p[0], 0 if p == MAGENTA else 255))
                    for row in reversed(px_rgb))
    header = struct.pack('<IiiHHIIiiII', 40, 32, 64, 1, 32, 0, len(rows), 0, 0, 0, 0)
    data = header + rows + b'\0' * 4 * 32
    return struct.pack('<HHH', 0, 1, 1) + struct.pack('<BBBBHHII', 32, 32, 0, 0, 1, 32, len(data), 22) + data

def bulb():
    px = canvas(32, 32, MAGENTA)
    disc(px, 16, 12, 10, (20, 30, 60)); disc(px, 16, 12, 8, (250, 220, 80))
    rect(px, 11, 20, 21, 28, (20, 30, 60)); rect(px, 12, 21, 20, 27, (170, 175, 185))
    return px

# A pointing hand, 32 x 32 monochrome: AND mask 0 and XOR 0 = black, AND 0 and XOR 1 = white.
HAND = [
    '.....##.........',
    '....#ww#........',
    '....#ww#........',
    '....#ww#........',
    '....#ww###......',
    '....#ww#ww##....',
    '.##.#ww#ww#w##..',
    '#ww##ww#ww#w#w#.',
    '#www#wwwwwwwww#.',
    '.#wwwwwwwwwwww#.',
    '..#wwwwwwwwwww#.',
    '..#wwwwwwwwwww#.',
    '...#wwwwwwwww#..',
    '...#wwwwwwwww#..',
    '....#wwwwwww#...',
    '....#########...',
]

def cursor():
    and_rows, xor_rows = [], []
    for y in range(32):
        a = x_ = 0
        for x in range(32):
            ch = HAND[y][x] if y < 16 and x < 16 else '.'
            a = a << 1 | (1 if ch == '.' else 0)
            x_ = x_ << 1 | (1 if ch == 'w' else 0)
        and_rows.append(struct.pack('>I', a)); xor_rows.append(struct.pack('>I', x_))
    header = struct.pack('<IiiHHIIiiII', 40, 32, 64, 1, 1, 0, 0, 0, 0, 2, 0)
    colours = b'\0\0\0\0' + b'\xff\xff\xff\0'
    data = header + colours + b''.join(reversed(xor_rows)) + b''.join(reversed(and_rows))
    return struct.pack('<HHH', 0, 2, 1) + struct.pack('<BBBBHHII', 32, 32, 2, 0, 5, 0, len(data), 22) + data

def main():
    os.makedirs(OUT, exist_ok=True)
    write_bmp8(os.path.join(OUT, '143.bmp'), *splash())
    write_bmp8(os.path.join(OUT, '199.bmp'), *welcome())
    for first, kind in ((344, 'new'), (346, 'open'), (361, 'recent')):
        write_bmp24(os.path.join(OUT, '%d.bmp' % first), button(kind, False))
        write_bmp24(os.path.join(OUT, '%d.bmp' % (first + 1)), button(kind, True))
    write_bmp24(os.path.join(OUT, '360.bmp'), button('continue', False))
    write_bmp24(os.path.join(OUT, '363.bmp'), button('tutorial', False))
    open(os.path.join(OUT, '261.ico'), 'wb').write(icon32(bulb()))
    open(os.path.join(OUT, '216.cur'), 'wb').write(cursor())

main()
