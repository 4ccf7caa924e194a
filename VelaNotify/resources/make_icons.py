#!/usr/bin/env python3
"""Draws the status icons 3000..3020 of VelaNotify as .ico files (16 x 16 and 32 x 32, 16
colours each). Every image is drawn pixel by pixel at its own size; nothing is scaled, so the
16 x 16 icons stay sharp on a QVGA screen.

    make_icons.py <output folder>          writes icon3000.ico ... icon3020.ico
    make_icons.py --check <output folder>  exits 1 if any file there differs from what it draws

The 16 x 16 glyphs of the wide characters and the 32 x 32 glyphs come from GNU Unifont (SIL
OFL 1.1); the 5 x 7 half-width glyphs and the 16 x 16 full-width A are drawn here.
"""
import os
import struct
import sys

# The standard 16-colour palette, in index order.
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
# Letters used in the pictures below; '.' is transparent.
INK = {'K': 0, 'G': 2, 'N': 4, 'S': 7, 'D': 8, 'R': 9, 'W': 15}

# Half-width glyphs for the small input-mode icons at 16 x 16.
SMALL_A_5x7 = """
..K..
.K.K.
K...K
K...K
KKKKK
K...K
K...K
"""
SMALL_KA_5x7 = """
..K..
KKKKK
..K.K
..K.K
.K..K
.K..K
K..KK
"""

LARGE_A_12x10 = """
.....KK.....
....KKKK....
....K..K....
...KK..KK...
...K....K...
..KK....KK..
..KKKKKKKK..
.KK......KK.
.K........K.
KK........KK
"""

# GNU Unifont glyphs, cut to their ink.
U_LATIN_A = """
..KK..
.K..K.
.K..K.
K....K
K....K
KKKKKK
K....K
K....K
K....K
K....K
"""
U_FULL_A = """
....KKKK....
..KK....KK..
..KK....KK..
KK........KK
KK........KK
KKKKKKKKKKKK
KK........KK
KK........KK
KK........KK
KK........KK
"""
U_HALF_KA = """
...K...
...K...
...K...
KKKKKKK
...K..K
...K..K
...K..K
...K..K
..K...K
..K...K
..K..K.
.K...K.
.K...K.
K...K..
"""
U_KATAKANA_KA = """
....K.....
.....K....
.....K....
K....KKKKK
.KKKKK...K
....K....K
....K....K
...K....K.
...K....K.
..K.....K.
.K...K.K..
K.....KK..
......K...
"""
U_HIRAGANA_A = """
...K.......
....K......
....K.KK...
.KKKKK.....
...K..K....
...K..K....
...KKKKKK..
..KK.K...K.
.K.K.K....K
K...K.....K
K..KK.....K
K.K.K....K.
.K.....KK..
"""
U_KATAKANA_A = """
K....KKKKK
.KKKK....K
........K.
....K..K..
.....KK...
.....K....
.....K....
.....K....
....K.....
....K.....
...K......
..K.......
"""
U_DIGIT_1 = """
..K..
.KK..
K.K..
..K..
..K..
..K..
..K..
..K..
..K..
KKKKK
"""
U_SMALL_A = """
.KKKK.
K....K
.....K
.KKKKK
K....K
K....K
K...KK
.KKK.K
"""
U_LATIN_P = """
KKKKK.
K....K
K....K
K....K
KKKKK.
K.....
K.....
K.....
K.....
K.....
"""


def parse(art):
    rows = [r for r in art.strip('\n').split('\n')]
    return rows


class Canvas:
    def __init__(self, size):
        self.size = size
        self.px = [[None] * size for _ in range(size)]

    def put(self, x, y, ink):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.px[y][x] = INK[ink]

    def rect(self, x0, y0, x1, y1, ink):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, ink)

    def frame(self, x0, y0, x1, y1, ink, width=1):
        for i in range(width):
            self.rect(x0 + i, y0 + i, x1 - i, y0 + i, ink)
            self.rect(x0 + i, y1 - i, x1 - i, y1 - i, ink)
            self.rect(x0 + i, y0 + i, x0 + i, y1 - i, ink)
            self.rect(x1 - i, y0 + i, x1 - i, y1 - i, ink)

    def line(self, x0, y0, x1, y1, ink, width=1):
        # Bresenham; a wider line repeats the pixel to its right and below.
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            for i in range(width):
                for j in range(width):
                    self.put(x0 + i, y0 + j, ink)
            if x0 == x1 and y0 == y1:
                break
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def glyph(self, art, x, y, ink='K', bold=False):
        for row, text in enumerate(parse(art)):
            for col, ch in enumerate(text):
                if ch != '.':
                    self.put(x + col, y + row, ink)
                    if bold:
                        self.put(x + col + 1, y + row, ink)

    def glyph_centred(self, art, x0, y0, x1, y1, ink='K', bold=False):
        rows = parse(art)
        w = max(len(r) for r in rows) + (1 if bold else 0)
        h = len(rows)
        self.glyph(art, x0 + (x1 - x0 + 1 - w) // 2, y0 + (y1 - y0 + 1 - h) // 2, ink, bold)


# --- battery -------------------------------------------------------------------------------

def battery(size, bars, ink):
    c = Canvas(size)
    if size == 16:
        c.frame(0, 4, 14, 11, 'K')
        c.rect(15, 6, 15, 9, 'K')
        c.rect(1, 5, 13, 10, 'W')
        for i in range(bars):
            c.rect(2 + 4 * i, 6, 4 + 4 * i, 9, ink)
    else:
        c.frame(0, 8, 29, 23, 'K', 2)
        c.rect(30, 12, 31, 19, 'K')
        c.rect(2, 10, 27, 21, 'W')
        for i in range(bars):
            c.rect(4 + 8 * i, 12, 9 + 8 * i, 19, ink)
    return c


# --- antenna -------------------------------------------------------------------------------

def antenna(size, bars, cross=False):
    c = Canvas(size)
    if size == 16:
        c.line(0, 1, 3, 4, 'K')
        c.line(6, 1, 3, 4, 'K')
        c.rect(3, 4, 3, 14, 'K')
        heights = [4, 7, 10]
        for i, h in enumerate(heights):
            x = 7 + 3 * i
            if not cross:
                c.rect(x, 15 - h, x + 1, 14, 'K' if i < bars else 'D')
        if cross:
            c.line(7, 7, 13, 13, 'R', 2)
            c.line(13, 7, 7, 13, 'R', 2)
    else:
        c.line(1, 2, 7, 8, 'K', 2)
        c.line(13, 2, 7, 8, 'K', 2)
        c.rect(7, 8, 8, 29, 'K')
        heights = [8, 14, 20]
        for i, h in enumerate(heights):
            x = 14 + 6 * i
            if not cross:
                c.rect(x, 30 - h, x + 3, 29, 'K' if i < bars else 'D')
        if cross:
            c.line(13, 11, 29, 27, 'R', 3)
            c.line(29, 11, 13, 27, 'R', 3)
    return c


# --- input method: a glyph standing on a base line -------------------------------------------

def on_base_line(size, art16, art32, bold32):
    c = Canvas(size)
    if size == 16:
        c.rect(0, 15, 15, 15, 'N')
        c.glyph_centred(art16, 0, 0, 15, 14)
    else:
        c.rect(1, 28, 30, 29, 'N')
        c.glyph_centred(art32, 0, 2, 31, 26, bold=bold32)
    return c


# --- key input mode: a key cap with its legend -----------------------------------------------

def key_cap(size, art):
    c = Canvas(size)
    if size == 16:
        c.rect(1, 0, 14, 15, 'K')
        c.rect(0, 1, 15, 14, 'K')
        c.rect(1, 1, 14, 14, 'W')
        c.rect(2, 14, 14, 14, 'D')
        c.rect(14, 2, 14, 14, 'D')
        c.glyph_centred(art, 1, 1, 13, 13)
    else:
        c.rect(2, 0, 29, 31, 'K')
        c.rect(0, 2, 31, 29, 'K')
        c.rect(1, 1, 30, 30, 'K')
        c.rect(2, 2, 29, 29, 'W')
        c.rect(3, 27, 29, 29, 'D')
        c.rect(27, 3, 29, 29, 'D')
        c.glyph_centred(art, 2, 2, 26, 26, bold=True)
    return c


def trim_rows(art, drop):
    rows = parse(art)
    return '\n'.join(r for i, r in enumerate(rows) if i not in drop)


ICONS = {
    3000: lambda s: battery(s, 3, 'R'),
    3001: lambda s: battery(s, 3, 'G'),
    3002: lambda s: battery(s, 2, 'G'),
    3003: lambda s: battery(s, 1, 'G'),
    3004: lambda s: battery(s, 0, 'G'),
    3005: lambda s: antenna(s, 0, cross=True),
    3006: lambda s: antenna(s, 0),
    3007: lambda s: antenna(s, 1),
    3008: lambda s: antenna(s, 2),
    3009: lambda s: antenna(s, 3),
    3010: lambda s: on_base_line(s, SMALL_A_5x7, U_LATIN_A, False),
    3011: lambda s: on_base_line(s, SMALL_KA_5x7, U_HALF_KA, False),
    3012: lambda s: on_base_line(s, LARGE_A_12x10, U_FULL_A, True),
    3013: lambda s: on_base_line(s, U_HIRAGANA_A, U_HIRAGANA_A, True),
    3014: lambda s: on_base_line(s, U_KATAKANA_KA, U_KATAKANA_KA, True),
    3015: lambda s: key_cap(s, U_DIGIT_1),
    3016: lambda s: key_cap(s, U_HIRAGANA_A if s == 32 else trim_rows(U_HIRAGANA_A, {1})),
    3017: lambda s: key_cap(s, U_KATAKANA_A),
    3018: lambda s: key_cap(s, U_LATIN_A),
    3019: lambda s: key_cap(s, U_SMALL_A),
    3020: lambda s: key_cap(s, U_LATIN_P),
}


def dib(canvas):
    """One icon image: BITMAPINFOHEADER, palette, 4-bit colour rows and the 1-bit mask, bottom up."""
    n = canvas.size
    header = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
    colour = bytearray()
    mask = bytearray()
    for y in reversed(range(n)):
        row = canvas.px[y]
        line = bytearray()
        for x in range(0, n, 2):
            hi = row[x] or 0
            lo = row[x + 1] or 0
            line.append((hi << 4) | lo)
        colour += line.ljust((len(line) + 3) // 4 * 4, b'\0')
        bits = bytearray((n + 7) // 8)
        for x in range(n):
            if row[x] is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits.ljust((len(bits) + 3) // 4 * 4, b'\0')
    return header + palette + bytes(colour) + bytes(mask)


def ico(images):
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    body = b''
    for canvas in images:
        data = dib(canvas)
        out += struct.pack('<BBBBHHII', canvas.size, canvas.size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
        body += data
    return out + body


def render_all():
    return {f'icon{i}.ico': ico([draw(16), draw(32)]) for i, draw in ICONS.items()}


def main(argv):
    check = len(argv) > 1 and argv[1] == '--check'
    folder = argv[2] if check else (argv[1] if len(argv) > 1 else os.path.join(os.path.dirname(__file__), 'icons'))
    stale = []
    for name, data in render_all().items():
        path = os.path.join(folder, name)
        if check:
            try:
                with open(path, 'rb') as f:
                    if f.read() != data:
                        stale.append(name)
            except OSError:
                stale.append(name)
        else:
            os.makedirs(folder, exist_ok=True)
            with open(path, 'wb') as f:
                f.write(data)
    if stale:
        print('icons out of date (run make_icons.py): ' + ', '.join(stale), file=sys.stderr)
        return 1
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
