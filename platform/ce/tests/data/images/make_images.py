#!/usr/bin/env python3
"""Writes the small icon and bitmap files the image tests compile and load.

Each picture is simple enough that a test can name the colour of any pixel:
  app.ico      16 x 16 and 32 x 32, 16 colours: left half red, right half blue (16) or
               left half green, right half yellow (32); the top-left quarter of the mask is
               transparent (and black in the colour image).
  alpha.ico    one 8 x 8 image with 32 bits per pixel: white, alpha 255 on the left half and
               0 on the right half, and an all-opaque mask.
  truncated.ico  app.ico cut short inside its second image.
  png.ico      one 4 x 4 PNG-compressed image: opaque red on the top two rows, transparent below.
  four.bmp     5 x 3, 4 bits per pixel (width odd, so rows are padded)
  eight.bmp    5 x 3, 8 bits per pixel
  rgb24.bmp    5 x 3, 24 bits per pixel
  rle8.bmp     a compressed bitmap header, for the refusal
For every bitmap the pixel (x, y), y counted from the top, is red where x < 2, green where x >= 2
and y == 0, and blue elsewhere.
Run it in this folder: python3 make_images.py
"""
import struct
import zlib

RED, GREEN, BLUE, YELLOW, WHITE = (255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0), (255, 255, 255)
PALETTE16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
             (192, 192, 192), (128, 128, 128), RED, GREEN, YELLOW, BLUE, (255, 0, 255), (0, 255, 255), WHITE]


def row_bytes(width, bits):
    return (width * bits + 31) // 32 * 4


def pack_rows(pixels, width, height, bits):
    """pixels[y][x] are palette indexes (bits <= 8) or (r, g, b[, a]); rows are stored bottom-up."""
    out = b""
    for y in reversed(range(height)):
        row = bytearray()
        if bits == 1 or bits == 4 or bits == 8:
            acc, n = 0, 0
            for x in range(width):
                acc = (acc << bits) | pixels[y][x]
                n += bits
                if n == 8:
                    row.append(acc)
                    acc, n = 0, 0
            if n:
                row.append(acc << (8 - n))
        else:
            for x in range(width):
                p = pixels[y][x]
                row += bytes((p[2], p[1], p[0])) + (bytes((p[3],)) if bits == 32 else b"")
        row += b"\0" * (row_bytes(width, bits) - len(row))
        out += bytes(row)
    return out


def info_header(width, height, bits, colors, compression=0):
    image = row_bytes(width, bits) * abs(height)
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, image, 2835, 2835, colors, 0)


def palette(entries):
    return b"".join(bytes((b, g, r, 0)) for r, g, b in entries)


def icon_image(size, left, right, transparent, bits=4):
    # Transparent pixels are black in the colour image, so that XOR leaves the screen as it is.
    colors = [[(0, 0, 0) if x < transparent and y < transparent else left if x < size // 2 else right
               for x in range(size)] for y in range(size)]
    if bits == 4:
        xor = pack_rows([[PALETTE16.index(c) for c in row] for row in colors], size, size, 4)
        head = info_header(size, size * 2, 4, 16) + palette(PALETTE16)
    else:
        xor = pack_rows(colors, size, size, bits)
        head = info_header(size, size * 2, bits, 0)
    mask = pack_rows([[1 if x < transparent and y < transparent else 0 for x in range(size)] for y in range(size)],
                     size, size, 1)
    return head + xor + mask


def icon_file(images):
    """images: (width, height, colour count, bit count, bytes)"""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for w, h, colors, bits, data in images:
        out += struct.pack("<BBBBHHII", w, h, colors, 0, 1, bits, len(data), offset)
        offset += len(data)
    return out + b"".join(image[4] for image in images)


def bitmap_file(bits):
    width, height = 5, 3
    colors = [[RED if x < 2 else GREEN if y == 0 else BLUE for x in range(width)] for y in range(height)]
    if bits <= 8:
        table = [RED, GREEN, BLUE] + [(0, 0, 0)] * ((1 << bits) - 3)
        pixels = [[table.index(c) for c in row] for row in colors]
        head = info_header(width, height, bits, 0) + palette(table)
    else:
        pixels = colors
        head = info_header(width, height, bits, 0)
    bits_data = pack_rows(pixels, width, height, bits)
    return b"BM" + struct.pack("<IHHI", 14 + len(head) + len(bits_data), 0, 0, 14 + len(head)) + head + bits_data


def png_file(width, height, rgba_rows):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    raw = b"".join(b"\0" + bytes(c for p in row for c in p) for row in rgba_rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def main():
    app = icon_file([(16, 16, 16, 4, icon_image(16, RED, BLUE, 8)), (32, 32, 16, 4, icon_image(32, GREEN, YELLOW, 16))])
    open("app.ico", "wb").write(app)
    open("truncated.ico", "wb").write(app[:-100])
    alpha = [[(255, 255, 255, 255 if x < 4 else 0) for x in range(8)] for y in range(8)]
    alpha_image = info_header(8, 16, 32, 0) + pack_rows(alpha, 8, 8, 32) + pack_rows([[0] * 8] * 8, 8, 8, 1)
    open("alpha.ico", "wb").write(icon_file([(8, 8, 0, 32, alpha_image)]))
    png = png_file(4, 4, [[(255, 0, 0, 255)] * 4] * 2 + [[(0, 0, 0, 0)] * 4] * 2)
    open("png.ico", "wb").write(icon_file([(4, 4, 0, 32, png)]))
    open("four.bmp", "wb").write(bitmap_file(4))
    open("eight.bmp", "wb").write(bitmap_file(8))
    open("rgb24.bmp", "wb").write(bitmap_file(24))
    rle = bytearray(bitmap_file(8))
    rle[14 + 16:14 + 20] = struct.pack("<I", 1)
    open("rle8.bmp", "wb").write(bytes(rle))


main()
