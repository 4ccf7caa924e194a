#!/usr/bin/env python3
"""Draws the desktop launcher's program icon: a desktop screen with an arrow towards a handheld
terminal, 32 x 32 and 16 x 16 pixels in the 16 standard colours. Writes VelaDesk.ico beside
this script; run it again after changing the pictures."""
import os
import struct

PALETTE = [  # the 16 standard colours, index: (r, g, b)
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255)]

# One letter per pixel: '.' transparent, the rest palette indexes.
COLOURS = {'k': 0, 'g': 2, 'b': 4, 'c': 6, 's': 7, 'd': 8, 'G': 10, 'B': 12, 'C': 14, 'w': 15}

ICON_32 = """
................................
................................
.kkkkkkkkkkkkkkkkkk.............
.kssssssssssssssssk.............
.ksbbbbbbbbbbbbbbsk.............
.ksbBBBBBBBBBBBBbsk.............
.ksbBCCCCCCCCCCBbsk.............
.ksbBCwwwwwwwwCBbsk.............
.ksbBCwwwwwwwwCBbsk.............
.ksbBCCCCCCCCCCBbsk.............
.ksbBBBBBBBBBBBBbsk...kkkkkkkkk.
.ksbbbbbbbbbbbbbbsk...kdddddddk.
.kssssssssssssssssk...kdCCCCCdk.
.kkkkkkkkkkkkkkkkkk...kdCwwwCdk.
.......kssssk.........kdCwwwCdk.
.......kssssk.........kdCwwwCdk.
.....kkkkkkkkkk.......kdCCCCCdk.
.....kssssssssk.......kdddddddk.
.....kkkkkkkkkk.......kdsdsdsdk.
......................kdsdsdsdk.
..............gg......kdsdsdsdk.
..............gGg.....kdddddddk.
.....gggggggggGGGg....kdsdsdsdk.
.....gGGGGGGGGGGGGg...kdddddddk.
.....gGGGGGGGGGGGGGg..kdddddddk.
.....gGGGGGGGGGGGGg...kdddddddk.
.....gggggggggGGGg....kkkkkkkkk.
..............gGg...............
..............gg................
................................
................................
................................
"""

ICON_16 = """
................
kkkkkkkkk.......
ksBBBBBsk.......
ksBCwwCsk.......
ksBCwwCsk..kkkkk
ksBBBBBsk..kdddk
kkkkkkkkk..kdCdk
...kssk....kdCdk
..kkkkkk...kdddk
...........kdsdk
.......g...kdsdk
..gggggGg..kdddk
..gGGGGGGg.kdddk
..gggggGg..kkkkk
.......g........
................
"""


def rows(picture, size):
    lines = [line for line in picture.strip('\n').split('\n')]
    lines = [(line + '.' * size)[:size] for line in lines][:size]
    while len(lines) < size:
        lines.append('.' * size)
    return lines


def image(picture, size):
    lines = rows(picture, size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    xor = b''
    and_mask = b''
    for line in reversed(lines):  # bottom-up rows
        nibbles = [COLOURS.get(ch, 0) for ch in line]
        row = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2))
        xor += row + b'\0' * (-len(row) % 4)
        bits = 0
        mask = b''
        for i, ch in enumerate(line):
            bits = (bits << 1) | (1 if ch == '.' else 0)
            if i % 8 == 7:
                mask += bytes([bits])
                bits = 0
        and_mask += mask + b'\0' * (-len(mask) % 4)
    return header + palette + xor + and_mask


def main():
    images = [(32, image(ICON_32, 32)), (16, image(ICON_16, 16))]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    out += b''.join(data for _, data in images)
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), 'VelaDesk.ico'), 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main()
