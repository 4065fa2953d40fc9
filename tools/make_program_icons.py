#!/usr/bin/python3
"""Makes the program icons from the game's first picture, assets/p00.png.

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
Pillow writes no icon holding two images of one size, nor 4-bit ones, so the icon
file is put together here.

Needs Pillow (Debian's python3-pil); the output is the same byte for byte on every
run with one Pillow and zlib, so the files are committed and the build never runs
this.

Usage (from anywhere):  /usr/bin/python3 tools/make_program_icons.py [OUT_DIR]
OUT_DIR defaults to assets/icons.
"""

import io
import math
import os
import struct
import sys
from collections import Counter

from PIL import Image

SIZE = 48
SIZES = (256, 128, 64, 48, 32, 16)
WEB_SIZES = (192, 512)
PAGE_BACKGROUND = (0x3a, 0x3f, 0x44)   # assets/web/index.html.in's background

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SOURCE = os.path.join(ROOT, "assets", "p00.png")
OUT_DIR = os.path.join(ROOT, "assets", "icons")


def read_picture(path):
    """The 48 x 48 picture, each pixel opaque or clear (the palette's one clear colour),
    and a clear one black as well: the scaling below counts on both."""
    picture = Image.open(path).convert("RGBA")
    alpha = picture.getchannel("A")
    if picture.size != (SIZE, SIZE) or any(alpha.histogram()[1:255]):
        raise ValueError(f"{path}: expected a 48x48 picture, each pixel opaque or clear")
    return Image.composite(picture, Image.new("RGBA", picture.size), alpha)


def enlarged(picture, size):
    """The picture scaled up by a whole number, each pixel a block, to a side that
    `size` divides; and the side of the square of it that one pixel at `size` covers.
    Box-filtering to `size` is then taking each such square's pixels together."""
    common = math.lcm(picture.width, size)
    return picture.resize((common, common), Image.Resampling.NEAREST), common // size


def scale(picture, size):
    """Area-weighted box filter on premultiplied colours, down or up, rounded half up.
    The sums stay whole in 32-bit channels; Pillow's own filters round in 8 bits."""
    big, step = enlarged(picture, size)
    n = step * step
    # A clear pixel is black, so a colour channel is its premultiplied value / 255.
    sums = [channel.convert("I").point(lambda v: v * n).reduce(step).getdata()
            for channel in big.split()]
    out = Image.new("RGBA", (size, size))
    out.putdata([tuple((510 * c + a) // (2 * a) for c in (r, g, b)) + ((2 * a + n) // (2 * n),)
                 if a else (0, 0, 0, 0) for r, g, b, a in zip(*sums)])
    return out


def maskable(picture, size):
    """The picture centred on the page's background, size x size, scaled by the
    largest whole factor that keeps it inside the circle of radius 0.4 * size."""
    half = picture.width / 2
    alpha = picture.getchannel("A").load()
    reach = max(((x + dx - half) ** 2 + (y + dy - half) ** 2) ** 0.5
                for y in range(picture.height) for x in range(picture.width) if alpha[x, y]
                for dx in (0, 1) for dy in (0, 1))
    side = picture.width * int(0.4 * size / reach)
    out = Image.new("RGBA", (size, size), PAGE_BACKGROUND + (255,))
    margin = (size - side) // 2
    out.alpha_composite(picture.resize((side, side), Image.Resampling.NEAREST), (margin, margin))
    return out


def png(picture):
    out = io.BytesIO()
    picture.save(out, "PNG", compress_level=9)
    return out.getvalue()


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


def scale_indexed(picture, size, index, ink_weight):
    """The picture at size x size in palette indices, and its mask (255: clear). Each
    output pixel takes the index, or clearness, covering most of it; the outline
    (index 0) counts ink_weight times, so that it stays closed at 32 px."""
    big, step = enlarged(picture, size)
    pixels = big.load()
    chosen = []
    for y in range(0, big.height, step):
        for x in range(0, big.width, step):
            tally = Counter()
            for j in range(y, y + step):
                for i in range(x, x + step):
                    k = index(pixels[i, j]) if pixels[i, j][3] else None
                    tally[k] += ink_weight if k == 0 else 1
            # Ties go to the outline, then to the lower index: the same on every run.
            chosen.append(max(tally, key=lambda k: (tally[k], k == 0, -(k or 0))))
    colours, mask = Image.new("P", (size, size)), Image.new("1", (size, size))
    colours.putdata([k or 0 for k in chosen])
    mask.putdata([255 if k is None else 0 for k in chosen])
    return colours, mask


def rows(image, rawmode, bits):
    """The image's rows as a bitmap keeps them: bottom row first, each padded to 32 bits."""
    return image.tobytes("raw", (rawmode, (image.width * bits + 31) // 32 * 4, -1))


def dib(colours, rawmode, bits, palette, mask):
    """An icon image as Windows stores it: a bitmap of twice the height holding the
    colour rows and then the 1-bit mask (1: transparent)."""
    data = rows(colours, rawmode, bits) + rows(mask, "1", 1)
    header = struct.pack("<IiiHHIIiiII", 40, colours.width, 2 * colours.height, 1, bits, 0,
                         len(data), 0, 0, len(palette), 0)
    return header + b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette) + data


def indexed_dib(picture, size, bits, palette, index, ink_weight):
    colours, mask = scale_indexed(picture, size, index, ink_weight)
    return dib(colours, f"P;{bits}", bits, palette, mask)


def encode_ico(picture):
    """The Windows program's icon file. At 16 px a one-pixel outline would take
    a quarter of the face, so ink counts like any colour there."""
    clear = picture.getchannel("A").point(lambda a: 0 if a else 255, "1")
    images = [
        (32, 2, 1, indexed_dib(picture, 32, 1, MONO, mono_index, 2)),
        (32, 16, 4, indexed_dib(picture, 32, 4, VGA16, vga16_index, 2)),
        (16, 16, 4, indexed_dib(picture, 16, 4, VGA16, vga16_index, 1)),
        (picture.width, 0, 32, dib(picture, "BGRA", 32, (), clear)),
        (256, 0, 32, png(scale(picture, 256))),
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
    picture = read_picture(SOURCE)
    os.makedirs(out_dir, exist_ok=True)
    made = [("quorvel-%d.png" % size, scale(picture, size)) for size in SIZES + WEB_SIZES]
    made += [("quorvel-maskable-%d.png" % size, maskable(picture, size)) for size in WEB_SIZES]
    for name, image in made:
        path = os.path.join(out_dir, name)
        with open(path, "wb") as f:
            f.write(png(image))
        print(path)
    path = os.path.join(out_dir, "quorvel.ico")
    with open(path, "wb") as f:
        f.write(encode_ico(picture))
    print(path)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
