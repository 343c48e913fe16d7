#!/usr/bin/env python3
"""Draws the check tree's four 13x13 images side by side (unchecked box, checked box, closed folder,
open folder) and writes check_tree.bmp (24-bit) and check_tree_mask.bmp (1-bit: white is
transparent). Run it again after changing the drawing."""
import struct

W, H = 52, 13
BLACK, WHITE, GREY = (0, 0, 0), (255, 255, 255), (128, 128, 128)
FOLDER, FOLDER_DARK = (240, 200, 80), (150, 110, 20)

def draw():
    px = [[None] * W for _ in range(H)]
    def rect(x0, y0, x1, y1, c):
        for y in range(y0, y1):
            for x in range(x0, x1):
                px[y][x] = c
    for box in (0, 13):
        rect(box + 1, 1, box + 12, 12, GREY)
        rect(box + 2, 2, box + 11, 11, WHITE)
    for x, y in ((17, 6), (18, 7), (19, 8), (20, 7), (21, 6), (22, 5), (23, 4)):
        rect(x, y, x + 1, y + 2, BLACK)
    # Closed folder: tab and body.
    rect(27, 2, 32, 4, FOLDER_DARK); rect(27, 4, 38, 11, FOLDER_DARK); rect(28, 5, 37, 10, FOLDER)
    # Open folder: back, then the flap tilted forward.
    rect(40, 2, 45, 4, FOLDER_DARK); rect(40, 4, 50, 11, FOLDER_DARK); rect(41, 5, 49, 7, WHITE)
    for i, y in enumerate(range(7, 11)):
        rect(41 + 2 - i // 2, y, 51 - i // 2, y + 1, FOLDER)
    rect(40, 10, 50, 11, FOLDER_DARK)
    return px

def bmp_header(bits, row_bytes, palette):
    image = row_bytes * H
    offset = 14 + 40 + len(palette)
    return (b'BM' + struct.pack('<IHHI', offset + image, 0, 0, offset)
            + struct.pack('<IiiHHIIiiII', 40, W, H, 1, bits, 0, image, 2835, 2835, len(palette) // 4, 0)
            + palette)

def write(px):
    row_bytes = (W * 3 + 3) // 4 * 4
    rows = b''
    for row in reversed(px):
        line = b''.join(bytes((c or WHITE)[::-1]) for c in row)
        rows += line + b'\0' * (row_bytes - len(line))
    with open('check_tree.bmp', 'wb') as f:
        f.write(bmp_header(24, row_bytes, b'') + rows)
    mask_row = (W + 31) // 32 * 4
    rows = b''
    for row in reversed(px):
        bits = 0
        for x, c in enumerate(row):
            if c is None:
                bits |= 1 << (mask_row * 8 - 1 - x)
        rows += bits.to_bytes(mask_row, 'big')
    with open('check_tree_mask.bmp', 'wb') as f:
        f.write(bmp_header(1, mask_row, b'\0\0\0\0\xff\xff\xff\0') + rows)

write(draw())
