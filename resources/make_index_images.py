#!/usr/bin/env python3
"""Draws the index window's pictures and cursors and writes them to resources/bitmaps: the five title
marks (bookmark, attachment, link, private, reminder) that the titles list and its column headers
show, the sort arrows of the header buttons, the arrows of the two grips that hide and show panes, the
split cursors of the dividers and the drag cursors of the keyword lists. Run it again after changing
a drawing."""
import os, struct

from make_bitmaps import write_bmp

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'bitmaps')
WHITE = (255, 255, 255)
MAGENTA = (255, 0, 255)
BLACK = (0, 0, 0)


def canvas(w, h, back):
    return [[back] * w for _ in range(h)]


def put(px, x, y, c):
    if 0 <= y < len(px) and 0 <= x < len(px[0]):
        px[y][x] = c


def rect(px, x0, y0, x1, y1, c):
    for y in range(y0, y1):
        for x in range(x0, x1):
            put(px, x, y, c)


# ---- Title marks, 12 x 12 ----

def bookmark():  # a red ribbon on magenta
    px = canvas(12, 12, MAGENTA)
    red, dark = (200, 30, 30), (120, 0, 0)
    rect(px, 3, 0, 9, 11, red)
    for x in range(3, 9):
        put(px, x, 0, dark)
    for y in range(0, 11):
        put(px, 3, y, dark); put(px, 8, y, dark)
    # the notch at the bottom
    put(px, 5, 10, MAGENTA); put(px, 6, 10, MAGENTA); put(px, 5, 9, MAGENTA); put(px, 6, 9, MAGENTA)
    put(px, 4, 11, dark); put(px, 7, 11, dark)
    return px


def attachment():  # a paper clip on white
    px = canvas(12, 12, WHITE)
    c = (60, 60, 60)
    for y in range(2, 11):
        put(px, 3, y, c); put(px, 8, y, c)
    for y in range(4, 9):
        put(px, 5, y, c)
    for x in range(4, 8):
        put(px, x, 1, c)
    for x in range(4, 5):
        put(px, x, 11, c)
    put(px, 4, 11, c); put(px, 5, 11, c); put(px, 6, 11, c); put(px, 7, 11, c)
    put(px, 6, 3, c); put(px, 7, 3, c); put(px, 6, 9, c)
    return px


def link():  # two chain links on white
    px = canvas(12, 12, WHITE)
    c = (0, 90, 200)
    for (x0, y0) in ((1, 1), (5, 5)):
        for x in range(x0, x0 + 6):
            put(px, x, y0, c); put(px, x, y0 + 5, c)
        for y in range(y0, y0 + 6):
            put(px, x0, y, c); put(px, x0 + 5, y, c)
    return px


def private():  # a padlock on white
    px = canvas(12, 12, WHITE)
    body, shackle = (180, 140, 20), (90, 90, 90)
    rect(px, 2, 5, 10, 12, body)
    for y in range(1, 5):
        put(px, 3, y, shackle); put(px, 8, y, shackle)
    for x in range(4, 8):
        put(px, x, 0, shackle)
    put(px, 6, 7, BLACK); put(px, 6, 8, BLACK); put(px, 6, 9, BLACK)
    return px


def reminder():  # a bell on magenta
    px = canvas(12, 12, MAGENTA)
    gold, dark = (230, 180, 0), (120, 80, 0)
    widths = [(5, 7), (4, 8), (3, 9), (3, 9), (3, 9), (3, 9), (2, 10), (1, 11)]
    for i, (x0, x1) in enumerate(widths):
        rect(px, x0, 1 + i, x1, 2 + i, gold)
        put(px, x0, 1 + i, dark); put(px, x1 - 1, 1 + i, dark)
    rect(px, 1, 9, 11, 10, dark)
    put(px, 5, 10, dark); put(px, 6, 10, dark); put(px, 5, 11, dark); put(px, 6, 11, dark)
    put(px, 6, 0, dark)
    return px


# ---- Sort arrows, 8 x 8 on white ----

def arrow(up):
    px = canvas(8, 8, WHITE)
    c = (64, 64, 64)
    for i in range(4):
        y = 2 + i if up else 5 - i
        rect(px, 3 - i, y, 5 + i, y + 1, c)
    return px


# ---- Grip arrows, 6 x 16 icons: black on transparent (the grip's own colour shows through) ----

GRIP_W, GRIP_H = 6, 16


def grip_arrow(left):
    """A triangle 4 pixels deep pointing left (hide the pane) or right (show it), None transparent."""
    px = canvas(GRIP_W, GRIP_H, None)
    for y in range(5, 12):
        d = abs(y - 8)
        xs = range(1 + d, 5) if left else range(1, 5 - d)
        for x in xs:
            put(px, x, y, BLACK)
    return px


def write_ico(path, px):
    """One 32-bit image with its AND mask (set where the pixel is None)."""
    h, w = len(px), len(px[0])
    rows = bytearray()
    mask = bytearray()
    mask_row = ((w + 31) // 32) * 4
    for row in reversed(px):
        bits = 0
        for c in row:
            rows += bytes((0, 0, 0, 0)) if c is None else bytes((c[2], c[1], c[0], 255))
        for x in range(mask_row * 8):
            bits = (bits << 1) | (1 if x >= w or row[x] is None else 0)
        mask += bits.to_bytes(mask_row, 'big')
    info = struct.pack('<IiiHHIIiiII', 40, w, 2 * h, 1, 32, 0, len(rows) + len(mask), 0, 0, 0, 0)
    image = info + bytes(rows) + bytes(mask)
    header = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', w, h, 0, 0, 1, 32, len(image), 6 + 16)
    with open(path, 'wb') as f:
        f.write(header + entry + image)


# ---- Cursors, 32 x 32 monochrome ----

def write_cur(path, rows, hotspot):
    """rows: 32 strings of 32 characters: '#' black, '.' white, ' ' transparent."""
    w = h = 32
    xor = bytearray()
    andm = bytearray()
    for row in reversed(rows):
        xbits = abits = 0
        for x in range(w):
            ch = row[x] if x < len(row) else ' '
            xbits = (xbits << 1) | (1 if ch == '.' else 0)
            abits = (abits << 1) | (1 if ch == ' ' else 0)
        xor += xbits.to_bytes(4, 'big')
        andm += abits.to_bytes(4, 'big')
    info = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 1, 0, len(xor) + len(andm), 0, 0, 2, 0)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    image = info + palette + xor + andm
    header = struct.pack('<HHH', 0, 2, 1)
    entry = struct.pack('<BBBBHHII', w, h, 2, 0, hotspot[0], hotspot[1], len(image), 6 + 16)
    with open(path, 'wb') as f:
        f.write(header + entry + image)


def grid():
    return [[' '] * 32 for _ in range(32)]


def outline(g):
    """Gives every black pixel a white border so the cursor shows on any background."""
    out = [row[:] for row in g]
    for y in range(32):
        for x in range(32):
            if g[y][x] == '#':
                for dx in (-1, 0, 1):
                    for dy in (-1, 0, 1):
                        xx, yy = x + dx, y + dy
                        if 0 <= xx < 32 and 0 <= yy < 32 and g[yy][xx] == ' ':
                            out[yy][xx] = '.'
    return [''.join(r) for r in out]


def split_we():  # two bars with arrows left and right (the vertical dividers)
    g = grid()
    for y in range(8, 24):
        g[y][14] = '#'; g[y][17] = '#'
    for x in range(6, 26):
        if x < 14 or x > 17:
            g[15][x] = '#'; g[16][x] = '#'
    for i in range(1, 4):
        for y in (15 - i, 16 + i):
            g[y][6 + i] = '#'; g[y][25 - i] = '#'
    return outline(g)


def split_ns():  # the same turned upright (the divider above the previews)
    we = split_we()
    return [''.join(we[x][y] for x in range(32)) for y in range(32)]


def drag(several):  # an arrow with one item, or a stack of items, under it
    g = grid()
    for y in range(12):  # the arrow: a triangle with its point at the hot spot
        for x in range(y + 1):
            g[y][x] = '#' if x in (0, y) or y == 11 else '.'
    boxes = [(10, 16), (13, 19)] if several else [(10, 17)]
    for (bx, by) in boxes:
        for x in range(bx, bx + 14):
            g[by][x] = '#'; g[by + 8][x] = '#'
        for y in range(by, by + 9):
            g[y][bx] = '#'; g[y][bx + 13] = '#'
        for y in range(by + 1, by + 8):
            for x in range(bx + 1, bx + 13):
                g[y][x] = '.'
        for x in range(bx + 3, bx + 11):
            g[by + 4][x] = '#'
    return outline(g)


def main():
    os.makedirs(OUT, exist_ok=True)
    for number, drawing in ((196, bookmark), (197, attachment), (374, link), (376, private), (408, reminder)):
        write_bmp(os.path.join(OUT, '%d.bmp' % number), drawing())
    write_bmp(os.path.join(OUT, '257.bmp'), arrow(True))
    write_bmp(os.path.join(OUT, '258.bmp'), arrow(False))
    write_bmp(os.path.join(OUT, '259.bmp'), canvas(8, 8, WHITE))
    write_ico(os.path.join(OUT, '303.ico'), grip_arrow(True))
    write_ico(os.path.join(OUT, '304.ico'), grip_arrow(False))
    write_cur(os.path.join(OUT, '146.cur'), split_we(), (15, 15))
    write_cur(os.path.join(OUT, '239.cur'), split_ns(), (15, 15))
    write_cur(os.path.join(OUT, '171.cur'), drag(False), (0, 0))
    write_cur(os.path.join(OUT, '172.cur'), drag(True), (0, 0))


if __name__ == '__main__':
    main()
