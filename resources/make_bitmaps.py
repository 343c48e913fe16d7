#!/usr/bin/env python3
"""Draws the toolbar images, the colour swatches, the colour button's drop arrow and the status
bar's link icon, and writes them to resources/bitmaps. Each toolbar bitmap is a strip of square
images (16 or 24 pixels) in the order of the bar's buttons, on magenta (transparent); the hot strip
is brighter, the disabled strip grey and embossed. Run it again after changing a drawing."""
import os, struct

MAGENTA = (255, 0, 255)
OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'bitmaps')

class Canvas:
    def __init__(self, n):
        self.n = n
        self.s = n / 16.0
        self.px = [[MAGENTA] * n for _ in range(n)]
    def put(self, x, y, c):
        if 0 <= x < self.n and 0 <= y < self.n:
            self.px[y][x] = c
    def rect(self, x0, y0, x1, y1, c):
        s = self.s
        for y in range(int(round(y0 * s)), int(round(y1 * s))):
            for x in range(int(round(x0 * s)), int(round(x1 * s))):
                self.put(x, y, c)
    def frame(self, x0, y0, x1, y1, c, fill=None):
        if fill:
            self.rect(x0, y0, x1, y1, c)
            self.rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, fill)
        else:
            self.rect(x0, y0, x1, y0 + 1, c); self.rect(x0, y1 - 1, x1, y1, c)
            self.rect(x0, y0, x0 + 1, y1, c); self.rect(x1 - 1, y0, x1, y1, c)
    def line(self, x0, y0, x1, y1, c, w=1.0):
        steps = int(max(abs(x1 - x0), abs(y1 - y0)) * self.s * 2) + 1
        for i in range(steps + 1):
            t = i / steps
            x, y = x0 + (x1 - x0) * t, y0 + (y1 - y0) * t
            self.rect(x, y, x + w, y + w, c)
    def disc(self, cx, cy, r, c):
        s = self.s
        for y in range(self.n):
            for x in range(self.n):
                if ((x + 0.5) / s - cx) ** 2 + ((y + 0.5) / s - cy) ** 2 <= r * r:
                    self.put(x, y, c)
    def ring(self, cx, cy, r, c, w=1.3):
        s = self.s
        for y in range(self.n):
            for x in range(self.n):
                d = (((x + 0.5) / s - cx) ** 2 + ((y + 0.5) / s - cy) ** 2) ** 0.5
                if r - w <= d <= r:
                    self.put(x, y, c)

INK = (0, 0, 0)
PAPER = (255, 255, 255)
BLUE = (30, 80, 170)
YELLOW = (230, 190, 40)
GREEN = (30, 140, 60)
RED = (200, 40, 40)
GREY = (128, 128, 128)

# A 5 x 7 font for the letter glyphs.
LETTERS = {
    'B': ["1111.", "1...1", "1...1", "1111.", "1...1", "1...1", "1111."],
    'I': [".111.", "..1..", "..1..", "..1..", "..1..", "..1..", ".111."],
    'U': ["1...1", "1...1", "1...1", "1...1", "1...1", "1...1", ".111."],
    'S': [".1111", "1....", "1....", ".111.", "....1", "....1", "1111."],
    'A': [".111.", "1...1", "1...1", "11111", "1...1", "1...1", "1...1"],
    'Q': [".111.", "1...1", "1...1", "1...1", "1.1.1", "1..1.", ".11.1"],
    '?': [".111.", "1...1", "....1", "...1.", "..1..", ".....", "..1.."],
}

def letter(c, ch, x0, y0, colour, scale=1.6, strike=False, under=False):
    rows = LETTERS[ch]
    for j, row in enumerate(rows):
        for i, bit in enumerate(row):
            if bit == '1':
                c.rect(x0 + i * scale, y0 + j * scale, x0 + (i + 1) * scale, y0 + (j + 1) * scale, colour)
    if under:
        c.rect(x0 - 1, y0 + 7 * scale + 1, x0 + 5 * scale + 1, y0 + 7 * scale + 2, colour)
    if strike:
        c.rect(x0 - 1, y0 + 3 * scale, x0 + 5 * scale + 1, y0 + 3 * scale + 1, RED)

def page(c, x0=3, y0=1, x1=13, y1=15):
    c.frame(x0, y0, x1, y1, INK, PAPER)
    for y in range(y0 + 3, y1 - 2, 3):
        c.rect(x0 + 2, y, x1 - 2, y + 1, GREY)

def arrow_left(c, colour):
    c.rect(5, 7, 13, 9, colour)
    for i in range(4):
        c.rect(2 + i, 8 - i, 3 + i, 8 + i + 1, colour)

def arrow_right(c, colour):
    c.rect(3, 7, 11, 9, colour)
    for i in range(4):
        c.rect(13 - i, 8 - i, 14 - i, 8 + i + 1, colour)

def lines(c, x0, align):
    for k, y in enumerate((3, 6, 9, 12)):
        w = 10 if k % 2 == 0 else 7
        if align == 'left':
            c.rect(x0, y, x0 + w, y + 1, INK)
        elif align == 'center':
            c.rect(8 - w / 2, y, 8 + w / 2, y + 1, INK)
        else:
            c.rect(14 - w, y, 14, y + 1, INK)

G = {}
def glyph(name):
    def register(f):
        G[name] = f
        return f
    return register

@glyph('new')
def _(c): page(c); c.rect(10, 1, 13, 4, YELLOW)
@glyph('open')
def _(c): c.frame(1, 5, 14, 14, INK, YELLOW); c.rect(1, 3, 7, 5, YELLOW); c.frame(1, 3, 7, 6, INK)
@glyph('save')
def _(c): c.frame(2, 2, 14, 14, INK, BLUE); c.rect(4, 3, 12, 8, PAPER); c.rect(5, 10, 11, 14, GREY)
@glyph('print')
def _(c): c.frame(4, 1, 12, 7, INK, PAPER); c.frame(1, 6, 15, 12, INK, GREY); c.frame(4, 10, 12, 15, INK, PAPER)
@glyph('cut')
def _(c): c.line(4, 1, 10, 10, INK); c.line(11, 1, 5, 10, INK); c.ring(4, 12, 2.6, BLUE); c.ring(11, 12, 2.6, BLUE)
@glyph('copy')
def _(c): page(c, 1, 1, 10, 11); page(c, 6, 5, 15, 15)
@glyph('paste')
def _(c): c.frame(2, 2, 12, 15, INK, YELLOW); c.rect(5, 1, 9, 4, GREY); page(c, 7, 6, 15, 15)
@glyph('find')
def _(c): c.ring(6, 6, 4.5, INK, 1.5); c.disc(6, 6, 3, (180, 220, 250)); c.line(9, 9, 14, 14, INK, 2)
@glyph('undo')
def _(c): c.ring(9, 9, 5, BLUE, 1.6); c.rect(9, 9, 15, 15, MAGENTA); c.rect(1, 3, 6, 5, BLUE); c.rect(1, 3, 3, 8, BLUE)
@glyph('undo_article')
def _(c): page(c); c.ring(8, 9, 3.5, RED, 1.4); c.rect(5, 5, 8, 7, RED)
@glyph('index')
def _(c): c.frame(1, 2, 15, 14, INK, PAPER); c.rect(1, 2, 6, 14, (200, 215, 235)); c.frame(1, 2, 6, 14, INK)
@glyph('all_titles')
def _(c):
    for y in (2, 6, 10):
        c.rect(2, y, 4, y + 2, BLUE); c.rect(6, y, 14, y + 2, INK)
@glyph('bookmarked')
def _(c):
    for y in (2, 6, 10):
        c.rect(6, y, 14, y + 2, INK)
    c.rect(1, 1, 5, 13, RED); c.rect(2, 11, 4, 14, MAGENTA)
@glyph('article_new')
def _(c): page(c); c.rect(1, 10, 7, 12, GREEN); c.rect(3, 8, 5, 14, GREEN)
@glyph('bookmark')
def _(c): c.rect(4, 1, 12, 14, RED); c.line(4, 14, 8, 10, MAGENTA, 1.2); c.line(8, 10, 12, 14, MAGENTA, 1.2); c.rect(6, 13, 10, 15, MAGENTA)
@glyph('help')
def _(c): c.frame(1, 1, 15, 15, BLUE, (230, 240, 255)); letter(c, '?', 5, 3, BLUE, 1.4)
@glyph('context_help')
def _(c): c.line(2, 2, 2, 12, INK); c.line(2, 2, 9, 9, INK); c.line(2, 12, 5, 9, INK); letter(c, '?', 9, 4, BLUE, 1.1)
@glyph('bold')
def _(c): letter(c, 'B', 4, 2, INK, 1.6)
@glyph('italic')
def _(c): letter(c, 'I', 5, 2, INK, 1.6); c.rect(9, 2, 11, 5, MAGENTA)
@glyph('underline')
def _(c): letter(c, 'U', 4, 1, INK, 1.5, under=True)
@glyph('strikeout')
def _(c): letter(c, 'S', 4, 2, INK, 1.6, strike=True)
@glyph('highlight')
def _(c): c.line(4, 11, 11, 2, INK, 2.4); c.line(5, 11, 12, 2, YELLOW, 1.4); c.rect(2, 11, 5, 13, INK)
@glyph('text_color')
def _(c): letter(c, 'A', 4, 1, INK, 1.5)
@glyph('left')
def _(c): lines(c, 2, 'left')
@glyph('center')
def _(c): lines(c, 2, 'center')
@glyph('right')
def _(c): lines(c, 2, 'right')
@glyph('numbers')
def _(c):
    for k, y in enumerate((2, 7, 12)):
        c.rect(2, y, 3, y + 2, BLUE); c.rect(6, y, 14, y + 1, INK)
@glyph('bullets')
def _(c):
    for y in (2, 7, 12):
        c.disc(3, y + 0.5, 1.4, INK); c.rect(6, y, 14, y + 1, INK)
@glyph('unindent')
def _(c):
    for y in (2, 5, 8, 11, 14):
        c.rect(7, y, 15, y + 1, INK)
    for i in range(3):
        c.rect(1 + i, 8 - i, 2 + i, 9 + i, BLUE)
@glyph('indent')
def _(c):
    for y in (2, 5, 8, 11, 14):
        c.rect(7, y, 15, y + 1, INK)
    for i in range(3):
        c.rect(4 - i, 8 - i, 5 - i, 9 + i, BLUE)
@glyph('previous')
def _(c): arrow_left(c, GREEN)
@glyph('next')
def _(c): arrow_right(c, GREEN)
@glyph('preview')
def _(c): c.frame(1, 2, 15, 14, INK, PAPER); c.rect(1, 9, 15, 10, INK); c.rect(3, 11, 13, 12, GREY)
@glyph('query')
def _(c): letter(c, 'Q', 3, 2, BLUE, 1.5)
@glyph('reminders')
def _(c): c.disc(8, 8, 6.5, INK); c.disc(8, 8, 5.3, PAPER); c.rect(7.5, 4, 8.5, 8.5, INK); c.rect(8, 8, 11, 9, INK)
@glyph('spelling')
def _(c): letter(c, 'A', 1, 1, INK, 1.0); c.line(4, 12, 7, 15, GREEN, 1.5); c.line(7, 15, 14, 6, GREEN, 1.5)
@glyph('link')
def _(c): c.ring(5, 10, 3.6, BLUE, 1.4); c.ring(11, 6, 3.6, BLUE, 1.4); c.line(5, 10, 11, 6, GREEN, 1.4)
@glyph('attachments')
def _(c): c.line(5, 3, 5, 12, INK); c.line(11, 2, 11, 11, INK); c.ring(8, 12, 3.4, INK, 1.1); c.rect(4, 8, 13, 12, MAGENTA); c.ring(8, 3.5, 3, INK, 1.1); c.rect(4, 3.6, 13, 8, MAGENTA); c.line(5, 3, 5, 12, INK); c.line(11, 2.5, 11, 11, INK)

BARS = {
    'standard': ['new', 'open', 'save', 'print', 'cut', 'copy', 'paste', 'find', 'undo', 'undo_article',
                 'index', 'all_titles', 'bookmarked', 'article_new', 'bookmark', 'help', 'context_help'],
    'format': ['bold', 'italic', 'underline', 'strikeout', 'highlight', 'text_color', 'left', 'center',
               'right', 'numbers', 'bullets', 'unindent', 'indent'],
    'browse': ['previous', 'next'],
    'tools': ['preview', 'query', 'reminders', 'spelling', 'link', 'attachments'],
}
IDS = {
    'standard': {16: (277, 278, 279), 24: (272, 273, 274)},
    'format': {16: (321, 322, 323), 24: (324, 325, 326)},
    'browse': {16: (315, 316, 317), 24: (318, 319, 320)},
    # The small Tools bar takes its hot images from 381 and its disabled ones from 380.
    'tools': {16: (379, 381, 380), 24: (382, 383, 384)},
}

def variant(px, kind):
    out = []
    for row in px:
        r2 = []
        for p in row:
            if p == MAGENTA:
                r2.append(p)
            elif kind == 'hot':
                r2.append(tuple(min(255, int(v * 0.8 + 60)) if v > 40 else v for v in p))
            else:
                lum = (p[0] * 30 + p[1] * 59 + p[2] * 11) // 100
                r2.append((128, 128, 128) if lum < 160 else (255, 255, 255))
        out.append(r2)
    return out

def write_bmp(path, px):
    h, w = len(px), len(px[0])
    stride = (w * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(px):
        line = bytearray()
        for (r, g, b) in row:
            line += bytes((b, g, r))
        line += b'\0' * (stride - len(line))
        data += line
    header = struct.pack('<2sIHHI', b'BM', 54 + len(data), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, 'wb') as f:
        f.write(header + info + data)

def strip(names, n):
    images = []
    for name in names:
        c = Canvas(n)
        G[name](c)
        images.append(c.px)
    return [sum((img[y] for img in images), []) for y in range(n)]

def main():
    os.makedirs(OUT, exist_ok=True)
    for bar, names in BARS.items():
        for n, (normal, hot, disabled) in IDS[bar].items():
            px = strip(names, n)
            write_bmp(os.path.join(OUT, '%d.bmp' % normal), px)
            write_bmp(os.path.join(OUT, '%d.bmp' % hot), variant(px, 'hot'))
            write_bmp(os.path.join(OUT, '%d.bmp' % disabled), variant(px, 'disabled'))
    # The colour buttons' pictures without their colour bar (drawn at run time along the bottom).
    for name, ids in (('highlight', {16: (329, 330), 24: (331, 332)}), ('text_color', {16: (333, 334), 24: (335, 336)})):
        for n, (normal, disabled) in ids.items():
            c = Canvas(n)
            G[name](c)
            c.rect(0, 13, 16, 16, MAGENTA)
            write_bmp(os.path.join(OUT, '%d.bmp' % normal), c.px)
            write_bmp(os.path.join(OUT, '%d.bmp' % disabled), variant(c.px, 'disabled'))
    # The colour button's drop arrow, black on white (white is transparent).
    arrow = [[(255, 255, 255)] * 7 for _ in range(4)]
    for j in range(4):
        for i in range(j, 7 - j):
            arrow[j][i] = (0, 0, 0)
    write_bmp(os.path.join(OUT, '264.bmp'), arrow)
    write_link_icon(os.path.join(OUT, '219.ico'))

def write_link_icon(path):
    c = Canvas(16)
    G['link'](c)
    w = h = 16
    xor = bytearray()
    and_mask = bytearray()
    for y in reversed(range(h)):
        bits = 0
        for x in range(w):
            p = c.px[y][x]
            if p == MAGENTA:
                xor += bytes((0, 0, 0, 0))
                bits |= 1 << (31 - x)
            else:
                xor += bytes((p[2], p[1], p[0], 255))
        and_mask += struct.pack('>I', bits)
    info = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    image = info + xor + and_mask
    header = struct.pack('<HHH', 0, 1, 1) + struct.pack('<BBBBHHII', w, h, 0, 0, 1, 32, len(image), 22)
    with open(path, 'wb') as f:
        f.write(header + image)

if __name__ == '__main__':
    main()
