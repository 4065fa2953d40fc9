#!/usr/bin/python3
"""Makes the program icons from the game's first picture, assets/p00.ico.

Writes assets/icons/quorvel-48.png (the picture as it is), quorvel-32.png and
quorvel-16.png (box-filtered down), and quorvel-64.png, quorvel-128.png and
quorvel-256.png for hi-DPI menus and app grids (box-filtered up: every picture
pixel becomes a block, blended with its neighbour only where a block edge falls
inside an output pixel). Transparency is kept at every size. Standard library only;
the output is the same byte for byte on every run, so the PNG files are
committed and the build never runs this.

Usage (from anywhere):  /usr/bin/python3 tools/make_program_icons.py [OUT_DIR]
OUT_DIR defaults to assets/icons.
"""

import os
import struct
import sys
import zlib

SIZE = 48
SIZES = (256, 128, 64, 48, 32, 16)

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


def main(argv):
    if len(argv) > 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    out_dir = argv[1] if len(argv) == 2 else OUT_DIR
    with open(SOURCE, "rb") as f:
        rows = read_icon(f.read())
    os.makedirs(out_dir, exist_ok=True)
    for size in SIZES:
        path = os.path.join(out_dir, "quorvel-%d.png" % size)
        with open(path, "wb") as f:
            f.write(encode_png(scale(rows, size)))
        print(path)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
