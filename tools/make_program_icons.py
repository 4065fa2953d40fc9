#!/usr/bin/python3
"""Makes the program icons from the game's first picture, assets/p00.ico.

Writes assets/icons/quorvel-48.png (the picture as it is), quorvel-32.png and
quorvel-16.png (box-filtered down), and quorvel-64.png, quorvel-128.png and
quorvel-256.png for hi-DPI menus and app grids (box-filtered up: every picture
pixel becomes a block, blended with its neighbour only where a block edge falls
inside an output pixel). Transparency is kept at every size.

For the web page's app manifest, quorvel-192.png and quorvel-512.png (box-filtered
up, like the above), and quorvel-maskable-192.png and quorvel-maskable-512.png: the
picture scaled up by a whole number, as large as it can be with every pixel of it
inside the middle circle (four fifths of the side across) that a launcher's mask
always keeps, on the page's background colour.

Also writes assets/icons/quorvel.ico, the icon of the Windows program: the classic
three images (32 x 32 in 2 colours, 32 x 32 and 16 x 16 in Windows' 16 standard
colours, each pixel the nearest colour of the box-filtered picture, with a 1-bit
mask), then 48 x 48 in 32-bit colour and 256 x 256 as a PNG for today's Explorer.

Standard library only; the output is the same byte for byte on every run, so the
files are committed and the build never runs this.

Usage (from anywhere):  /usr/bin/python3 tools/make_program_icons.py [OUT_DIR]
OUT_DIR defaults to assets/icons.
"""

import os
import struct
import sys
import zlib

SIZE = 48
SIZES = (256, 128, 64, 48, 32, 16)
WEB_SIZES = (192, 512)
PAGE_BACKGROUND = (0x3a, 0x3f, 0x44)   # assets/web/index.html.in's background

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SOURCE = os.path.join(ROOT, "assets", "p00.ico")
OUT_DIR = os.path.join(ROOT, "assets", "icons")


def read_icon(data):
    """Returns SIZE rows of (r, g, b, a) tuples, top row first."""
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if (reserved, kind, count) != (0, 1, 1):
        raise ValueError("not a single-image icon file")
    width, height, _colours, _res, _planes, _bpp, size, offset = \
        struct.unpack_from("<BBBBHHII", data, 6)
    if (width, height) != (SIZE, SIZE):
        raise ValueError("expected a 48x48 picture")

    header_size, bmp_w, bmp_h, _planes, bmp_bpp = \
        struct.unpack_from("<IiiHH", data, offset)
    if (header_size, bmp_w, bmp_h, bmp_bpp) != (40, SIZE, 2 * SIZE, 8):
        raise ValueError("expected a 48x48 8-bit bitmap with a mask")

    palette_at = offset + header_size
    pixels_at = palette_at + 256 * 4
    mask_at = pixels_at + SIZE * SIZE
    mask_stride = 8  # 48 bits, padded to a 32-bit boundary
    if len(data) < mask_at + SIZE * mask_stride or \
            offset + size > len(data):
        raise ValueError("icon file is cut short")

    palette = []
    for i in range(256):
        b, g, r, _ = data[palette_at + 4 * i:palette_at + 4 * i + 4]
        palette.append((r, g, b))

    rows = []
    for y in range(SIZE):
        stored = SIZE - 1 - y  # bitmaps keep the bottom row first
        index_row = data[pixels_at + stored * SIZE:
                         pixels_at + (stored + 1) * SIZE]
        mask_row = data[mask_at + stored * mask_stride:
                        mask_at + (stored + 1) * mask_stride]
        row = []
        for x in range(SIZE):
            transparent = (mask_row[x // 8] >> (7 - x % 8)) & 1
            if transparent:
                row.append((0, 0, 0, 0))
            else:
                row.append(palette[index_row[x]] + (255,))
        rows.append(row)
    return rows


def box_weights(src, dst):
    """For each output pixel, the (source pixel, overlap) pairs it covers.

    Lengths are counted in units of 1/dst of a source pixel, so every
    overlap is a whole number and each output pixel's weights add up to src.
    """
    table = []
    for i in range(dst):
        lo, hi = i * src, (i + 1) * src
        pairs = []
        for j in range(lo // dst, (hi - 1) // dst + 1):
            overlap = min(hi, (j + 1) * dst) - max(lo, j * dst)
            if overlap > 0:
                pairs.append((j, overlap))
        table.append(pairs)
    return table


def div_round(num, den):
    return (2 * num + den) // (2 * den)


def scale(rows, dst):
    """Area-weighted box filter on premultiplied colours, down or up."""
    src = len(rows)
    if dst == src:
        return [list(row) for row in rows]
    weights = box_weights(src, dst)
    out = []
    for wy in weights:
        out_row = []
        for wx in weights:
            total = sr = sg = sb = sa = 0
            for y, ky in wy:
                for x, kx in wx:
                    k = ky * kx
                    r, g, b, a = rows[y][x]
                    total += k
                    sa += k * a
                    sr += k * a * r
                    sg += k * a * g
                    sb += k * a * b
            if sa == 0:
                out_row.append((0, 0, 0, 0))
            else:
                out_row.append((div_round(sr, sa), div_round(sg, sa),
                                div_round(sb, sa), div_round(sa, total)))
        out.append(out_row)
    return out


def maskable(rows, size):
    """The picture centred on the page's background, size x size, scaled by the
    largest whole factor that keeps it inside the circle of radius 0.4 * size."""
    half = len(rows) / 2
    reach = max(((x + dx - half) ** 2 + (y + dy - half) ** 2) ** 0.5
                for y, row in enumerate(rows) for x, pixel in enumerate(row) if pixel[3]
                for dx in (0, 1) for dy in (0, 1))
    factor = int(0.4 * size / reach)
    picture = scale(rows, len(rows) * factor)
    margin = (size - len(picture)) // 2
    out = [[PAGE_BACKGROUND + (255,)] * size for _ in range(size)]
    for y, row in enumerate(picture):
        for x, (r, g, b, a) in enumerate(row):
            out[margin + y][margin + x] = tuple(
                div_round(c * a + p * (255 - a), 255)
                for c, p in zip((r, g, b), PAGE_BACKGROUND)) + (255,)
    return out


def png_chunk(kind, body):
    return (struct.pack(">I", len(body)) + kind + body +
            struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))


def encode_png(rows):
    height, width = len(rows), len(rows[0])
    raw = bytearray()
    for row in rows:
        raw.append(0)  # filter type: none
        for pixel in row:
            raw.extend(pixel)
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" +
            png_chunk(b"IHDR", header) +
            png_chunk(b"IDAT", zlib.compress(bytes(raw), 9)) +
            png_chunk(b"IEND", b""))


# The two colours of a monochrome icon, and the 16 colours every Windows display
# has had since VGA, in Windows' order.
MONO = ((0, 0, 0), (255, 255, 255))
VGA16 = ((0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
         (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
         (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
         (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255))
BLACK, MAROON, RED, YELLOW, WHITE = 0, 1, 9, 11, 15
# The standard colour each colour of the picture is drawn in, chosen by eye as a
# 16-colour icon would be painted: the blush and the tongue stay red rather than
# turning grey, the face's shading stays yellow. Other colours take the nearest.
STANDARD = {
    (255, 214, 40): YELLOW,    # face
    (236, 164, 22): YELLOW,    # face's shading
    (38, 28, 44): BLACK,       # outline, eyes
    (164, 18, 36): MAROON,     # mouth
    (255, 124, 112): RED,      # tongue
    (255, 150, 184): RED,      # cheeks
    (255, 246, 160): WHITE,    # highlight
    (255, 255, 255): WHITE,    # eyes' glint
}


def vga16_index(pixel):
    rgb = tuple(pixel[:3])
    if rgb in STANDARD:
        return STANDARD[rgb]
    return min(range(16), key=lambda i: sum((c - v) ** 2 for c, v in zip(VGA16[i], rgb)))


def mono_index(pixel):
    """Black for the outline and the dark parts, white for the light ones."""
    r, g, b = pixel[:3]
    return 1 if 299 * r + 587 * g + 114 * b >= 128 * 1000 else 0


def scale_indexed(rows, dst, index, ink_weight):
    """The picture at dst x dst in palette indices (None: transparent). Each output
    pixel takes the index, or transparency, covering most of it; the outline (index
    0) counts ink_weight times, so that it stays closed at 32 px."""
    weights = box_weights(len(rows), dst)
    out = []
    for wy in weights:
        out_row = []
        for wx in weights:
            tally = {}
            for y, ky in wy:
                for x, kx in wx:
                    pixel = rows[y][x]
                    i = index(pixel) if pixel[3] else None
                    tally[i] = tally.get(i, 0) + ky * kx * (ink_weight if i == 0 else 1)
            # Ties go to the outline, then to the lower index: the same on every run.
            out_row.append(max(tally, key=lambda i: (tally[i], i == 0, -(i or 0))))
        out.append(out_row)
    return out


def pack_row(values, bits):
    """values packed bits to a byte, most significant first, padded to 32 bits."""
    out = bytearray()
    per_byte = 8 // bits
    for i in range(0, len(values), per_byte):
        byte = 0
        for j, v in enumerate(values[i:i + per_byte]):
            byte |= v << (8 - bits * (j + 1))
        out.append(byte)
    while len(out) % 4:
        out.append(0)
    return bytes(out)


def dib(size, bits, palette, colour_rows, mask_rows):
    """An icon image as Windows stores it: a bitmap of twice the height holding the
    colour rows and then the 1-bit mask (1: transparent), both bottom row first."""
    colour = b"".join(reversed(colour_rows))
    mask = b"".join(pack_row(row, 1) for row in reversed(mask_rows))
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, bits, 0,
                         len(colour) + len(mask), 0, 0, len(palette), 0)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    return header + table + colour + mask


def indexed_dib(rows, size, bits, palette, index, ink_weight):
    picture = scale_indexed(rows, size, index, ink_weight)
    return dib(size, bits, palette,
               [pack_row([i or 0 for i in row], bits) for row in picture],
               [[int(i is None) for i in row] for row in picture])


def encode_ico(rows):
    """The Windows program's icon file. At 16 px a one-pixel outline would take
    a quarter of the face, so ink counts like any colour there."""
    size = len(rows)
    images = [
        (32, 2, 1, indexed_dib(rows, 32, 1, MONO, mono_index, 2)),
        (32, 16, 4, indexed_dib(rows, 32, 4, VGA16, vga16_index, 2)),
        (16, 16, 4, indexed_dib(rows, 16, 4, VGA16, vga16_index, 1)),
        (size, 0, 32, dib(size, 32, (),
                          [bytes(c for r, g, b, a in row for c in (b, g, r, a)) for row in rows],
                          [[int(p[3] == 0) for p in row] for row in rows])),
        (256, 0, 32, encode_png(scale(rows, 256))),
    ]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for width, colours, bits, data in images:
        # 256 is written as 0 in the one-byte width and height fields.
        out += struct.pack("<BBBBHHII", width % 256, width % 256, colours, 0, 1, bits,
                           len(data), offset)
        offset += len(data)
    for image in images:
        out += image[3]
    return bytes(out)


def main(argv):
    if len(argv) > 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    out_dir = argv[1] if len(argv) == 2 else OUT_DIR
    with open(SOURCE, "rb") as f:
        rows = read_icon(f.read())
    os.makedirs(out_dir, exist_ok=True)
    made = [("quorvel-%d.png" % size, scale(rows, size)) for size in SIZES + WEB_SIZES]
    made += [("quorvel-maskable-%d.png" % size, maskable(rows, size)) for size in WEB_SIZES]
    for name, picture in made:
        path = os.path.join(out_dir, name)
        with open(path, "wb") as f:
            f.write(encode_png(picture))
        print(path)
    path = os.path.join(out_dir, "quorvel.ico")
    with open(path, "wb") as f:
        f.write(encode_ico(rows))
    print(path)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
