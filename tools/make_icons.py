#!/usr/bin/python3
"""Draws the 57 pictures used by Brinhalt's Quorvel.

Every picture is painted procedurally on a 48x48 grid with a tiny raster
toolkit (shapes are point tests evaluated at pixel centres) and saved as a
16-colour palette PNG whose colour 0 is transparent:

    assets/p00.png ... assets/p56.png

PNG because Qt reads it without an image-format plugin.  p00 doubles as the
program icon.  The output is fully deterministic, so re-running the script
with one Pillow and zlib reproduces the committed files byte for byte.

Needs Pillow (Debian's python3-pil).

Usage (from anywhere):  /usr/bin/python3 tools/make_icons.py
"""

import math
import os

from PIL import Image

SIZE = 48

# --------------------------------------------------------------------------
# Palette (shared by every picture).  Index 0 is reserved for transparency.
# --------------------------------------------------------------------------

PALETTE = [(0, 0, 0)]


def colour(r, g, b):
    PALETTE.append((r, g, b))
    return len(PALETTE) - 1


CLEAR = 0
INK = colour(38, 28, 44)          # outlines and dark details
WHITE = colour(255, 255, 255)
SNOW = colour(236, 242, 250)
GREY_L = colour(204, 210, 222)
GREY = colour(150, 156, 170)
GREY_D = colour(96, 100, 114)
CHARCOAL = colour(62, 62, 74)
YELLOW_L = colour(255, 246, 160)
YELLOW = colour(255, 214, 40)
YELLOW_D = colour(236, 164, 22)
ORANGE_L = colour(255, 192, 104)
ORANGE = colour(255, 138, 30)
ORANGE_D = colour(214, 92, 20)
RED_L = colour(255, 124, 112)
RED = colour(232, 40, 46)
RED_D = colour(164, 18, 36)
PINK_L = colour(255, 208, 222)
PINK = colour(255, 150, 184)
PINK_D = colour(226, 92, 144)
MAGENTA = colour(222, 56, 178)
MAGENTA_D = colour(160, 30, 130)
PURPLE_L = colour(196, 152, 242)
PURPLE = colour(140, 78, 206)
PURPLE_D = colour(94, 48, 150)
BLUE_L = colour(150, 206, 255)
BLUE = colour(52, 128, 240)
BLUE_D = colour(30, 74, 178)
NAVY = colour(28, 44, 110)
CYAN_L = colour(176, 242, 246)
CYAN = colour(40, 198, 214)
TEAL = colour(18, 140, 150)
GREEN_L = colour(164, 230, 100)
GREEN = colour(72, 188, 60)
GREEN_D = colour(32, 128, 52)
FOREST = colour(20, 88, 46)
LIME = colour(204, 226, 60)
LIME_D = colour(156, 184, 36)
BROWN_L = colour(206, 150, 94)
BROWN = colour(150, 90, 46)
BROWN_D = colour(100, 58, 30)
TAN = colour(242, 206, 150)
CREAM = colour(255, 242, 214)
TERRACOTTA = colour(212, 102, 60)
TERRACOTTA_D = colour(160, 66, 38)
COFFEE = colour(88, 50, 26)
MOON = colour(255, 236, 140)

while len(PALETTE) < 256:
    PALETTE.append((0, 0, 0))


# --------------------------------------------------------------------------
# Shapes: callables answering "is the point (x, y) inside?".  They combine
# with |, & and - (union, intersection, difference).
# --------------------------------------------------------------------------

class Shape:
    def __init__(self, test):
        self.test = test

    def __call__(self, x, y):
        return self.test(x, y)

    def __or__(self, other):
        a, b = self.test, other.test
        return Shape(lambda x, y: a(x, y) or b(x, y))

    def __and__(self, other):
        a, b = self.test, other.test
        return Shape(lambda x, y: a(x, y) and b(x, y))

    def __sub__(self, other):
        a, b = self.test, other.test
        return Shape(lambda x, y: a(x, y) and not b(x, y))


def union(*shapes):
    tests = [s.test for s in shapes]
    return Shape(lambda x, y: any(t(x, y) for t in tests))


def circle(cx, cy, r):
    r2 = r * r
    return Shape(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r2)


def ellipse(cx, cy, rx, ry, angle=0.0):
    c, s = math.cos(math.radians(angle)), math.sin(math.radians(angle))

    def test(x, y):
        dx, dy = x - cx, y - cy
        u = dx * c + dy * s
        v = -dx * s + dy * c
        return (u / rx) ** 2 + (v / ry) ** 2 <= 1.0
    return Shape(test)


def rect(x0, y0, x1, y1):
    return Shape(lambda x, y: x0 <= x <= x1 and y0 <= y <= y1)


def rrect(x0, y0, x1, y1, r):
    """Rectangle with rounded corners of radius r."""
    def test(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        qx = max(x0 + r - x, 0.0, x - (x1 - r))
        qy = max(y0 + r - y, 0.0, y - (y1 - r))
        return qx * qx + qy * qy <= r * r
    return Shape(test)


def inside_polygon(pts, x, y):
    hit = False
    n = len(pts)
    for i in range(n):
        x0, y0 = pts[i]
        x1, y1 = pts[(i + 1) % n]
        if (y0 > y) != (y1 > y):
            if x < x0 + (y - y0) * (x1 - x0) / (y1 - y0):
                hit = not hit
    return hit


def seg_dist2(x, y, x0, y0, x1, y1):
    dx, dy = x1 - x0, y1 - y0
    d2 = dx * dx + dy * dy
    t = 0.0 if d2 == 0 else max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / d2))
    px, py = x0 + t * dx - x, y0 + t * dy - y
    return px * px + py * py


def poly(pts):
    pts = list(pts)
    return Shape(lambda x, y: inside_polygon(pts, x, y))


def rounded(pts, r):
    """Polygon grown by r on every side (rounded corners)."""
    pts = list(pts)
    edges = [(pts[i], pts[(i + 1) % len(pts)]) for i in range(len(pts))]
    r2 = r * r

    def test(x, y):
        if inside_polygon(pts, x, y):
            return True
        return any(seg_dist2(x, y, a[0], a[1], b[0], b[1]) <= r2 for a, b in edges)
    return Shape(test)


def line(x0, y0, x1, y1, w):
    """Thick line with round ends."""
    r2 = (w / 2.0) ** 2
    return Shape(lambda x, y: seg_dist2(x, y, x0, y0, x1, y1) <= r2)


def path(pts, w):
    pts = list(pts)
    r2 = (w / 2.0) ** 2
    segs = list(zip(pts, pts[1:]))
    return Shape(lambda x, y: any(
        seg_dist2(x, y, a[0], a[1], b[0], b[1]) <= r2 for a, b in segs))


def ring(cx, cy, r_out, r_in):
    return circle(cx, cy, r_out) - circle(cx, cy, r_in)


def arc(cx, cy, r, w, a0, a1):
    """Band of width w along a circle, from angle a0 to a1 (degrees,
    clockwise on screen, 0 = right, 90 = down), with round ends."""
    span = (a1 - a0) % 360.0
    half = w / 2.0

    def test(x, y):
        d = math.hypot(x - cx, y - cy)
        if abs(d - r) > half:
            return False
        return (math.degrees(math.atan2(y - cy, x - cx)) - a0) % 360.0 <= span
    ends = [circle(cx + r * math.cos(math.radians(a)), cy + r * math.sin(math.radians(a)), half)
            for a in (a0, a1)]
    return Shape(test) | ends[0] | ends[1]


def star_points(cx, cy, r_out, r_in, n, rot=-90.0):
    pts = []
    for i in range(2 * n):
        a = math.radians(rot + i * 180.0 / n)
        r = r_out if i % 2 == 0 else r_in
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


def star(cx, cy, r_out, r_in, n, rot=-90.0):
    return poly(star_points(cx, cy, r_out, r_in, n, rot))


def taper(x1, y1, r1, x2, y2, r2):
    """Convex hull of two circles (a capsule with different end sizes)."""
    d = math.hypot(x2 - x1, y2 - y1)
    ux, uy = (x2 - x1) / d, (y2 - y1) / d
    nx, ny = -uy, ux
    s = (r1 - r2) / d
    c = math.sqrt(max(0.0, 1 - s * s))
    pts = []
    for sign in (1, -1):
        kx, ky = s * ux + sign * c * nx, s * uy + sign * c * ny
        pts.append(((x1 + r1 * kx, y1 + r1 * ky), (x2 + r2 * kx, y2 + r2 * ky)))
    quad = [pts[0][0], pts[0][1], pts[1][1], pts[1][0]]
    return circle(x1, y1, r1) | circle(x2, y2, r2) | poly(quad)


def heart(cx, cy, scale):
    def test(x, y):
        u = (x - cx) / scale
        v = -(y - cy) / scale
        return (u * u + v * v - 1) ** 3 - u * u * v ** 3 <= 0
    return Shape(test)


def teardrop(cx, cy, r):
    """Round drop with its point upwards."""
    return circle(cx, cy, r) | poly([(cx - r * 0.92, cy - r * 0.4),
                                     (cx + r * 0.92, cy - r * 0.4),
                                     (cx, cy - r * 2.4)])


def moved(shape, dx, dy):
    t = shape.test
    return Shape(lambda x, y: t(x - dx, y - dy))


def mirrored(shape, axis=24.0):
    t = shape.test
    return Shape(lambda x, y: t(2 * axis - x, y))


def rim(shape, dx, dy):
    """The part of shape lying within (dx, dy) of its edge on that side."""
    return shape - moved(shape, -dx, -dy)


def bezier(p0, p1, p2, steps=16):
    pts = []
    for i in range(steps + 1):
        t = i / steps
        a, b, c = (1 - t) ** 2, 2 * (1 - t) * t, t * t
        pts.append((a * p0[0] + b * p1[0] + c * p2[0], a * p0[1] + b * p1[1] + c * p2[1]))
    return pts


# --------------------------------------------------------------------------
# Canvas
# --------------------------------------------------------------------------

NEIGHBOURS = [(-1, -1), (0, -1), (1, -1), (-1, 0), (1, 0), (-1, 1), (0, 1), (1, 1)]


class Icon:
    def __init__(self, view=None):
        self.px = [[CLEAR] * SIZE for _ in range(SIZE)]
        self.view = view        # optional canvas -> design transform

    def centres(self):
        """Every pixel (x, y) with its centre in design coordinates."""
        for y in range(SIZE):
            for x in range(SIZE):
                px, py = x + 0.5, y + 0.5
                if self.view:
                    px, py = self.view(px, py)
                yield x, y, px, py

    def cells(self, shape):
        return [(x, y) for x, y, px, py in self.centres() if shape(px, py)]

    def fill(self, shape, col):
        for x, y in self.cells(shape):
            self.px[y][x] = col

    def draw(self, shape, col, edge=INK):
        """Fill a shape and give it a 1-pixel outline."""
        cells = self.cells(shape)
        inside = set(cells)
        for x, y in cells:
            for dx, dy in NEIGHBOURS:
                nx, ny = x + dx, y + dy
                if 0 <= nx < SIZE and 0 <= ny < SIZE and (nx, ny) not in inside:
                    self.px[ny][nx] = edge
        for x, y in cells:
            self.px[y][x] = col

    def paint(self, shape, func):
        """Colour each pixel of shape with func(x, y) (design coordinates)."""
        for x, y, px, py in self.centres():
            if shape(px, py):
                c = func(px, py)
                if c is not None:
                    self.px[y][x] = c

    def dot(self, x, y, col):
        self.px[y][x] = col

    def finish(self):
        """Close any gaps in the silhouette outline."""
        add = []
        for y in range(SIZE):
            for x in range(SIZE):
                if self.px[y][x] != CLEAR:
                    continue
                for dx, dy in NEIGHBOURS:
                    nx, ny = x + dx, y + dy
                    if 0 <= nx < SIZE and 0 <= ny < SIZE and self.px[ny][nx] not in (CLEAR, INK):
                        add.append((x, y))
                        break
        for x, y in add:
            self.px[y][x] = INK
        return self


def rotation(deg, scale=1.0, cx=24.0, cy=24.0):
    """View that shows the design turned clockwise by deg and scaled."""
    c, s = math.cos(math.radians(deg)) / scale, math.sin(math.radians(deg)) / scale

    def view(x, y):
        dx, dy = x - cx, y - cy
        return cx + dx * c + dy * s, cy - dx * s + dy * c
    return view


# --------------------------------------------------------------------------
# Shared bits
# --------------------------------------------------------------------------

def eye(ic, x, y, r, glint=True):
    ic.fill(circle(x, y, r), INK)
    if glint:
        ic.fill(circle(x + r * 0.35, y - r * 0.4, r * 0.42), WHITE)


def oval_eye(ic, x, y, rx, ry):
    ic.fill(ellipse(x, y, rx, ry), INK)
    ic.fill(circle(x + rx * 0.3, y - ry * 0.42, rx * 0.5), WHITE)


def googly_eye(ic, x, y, r, px=0.0, py=0.0):
    ic.draw(circle(x, y, r), WHITE)
    eye(ic, x + px, y + py, r * 0.52)


def shaded(ic, shape, col, dark, light=None, d=2.0, hl=None):
    """Outlined fill with a shadow along the lower right edge."""
    ic.draw(shape, col)
    ic.fill(rim(shape, d, d), dark)
    if light is not None and hl is not None:
        ic.fill(hl, light)


def yellow_face(ic):
    head = circle(24, 24, 21.5)
    shaded(ic, head, YELLOW, YELLOW_D, YELLOW_L, 2.2, ellipse(14, 12, 5, 2.6, -38))
    return head


# --------------------------------------------------------------------------
# The pictures
# --------------------------------------------------------------------------

def smiley(ic):
    yellow_face(ic)
    oval_eye(ic, 16.5, 17.5, 2.8, 4.8)
    oval_eye(ic, 31.5, 17.5, 2.8, 4.8)
    mouth = circle(24, 26, 12) & rect(0, 27, 48, 48)
    ic.fill(mouth, INK)
    inner = circle(24, 26, 10.4) & rect(0, 28.4, 48, 48)
    ic.fill(inner, RED_D)
    ic.fill(circle(24, 38.5, 5.5) & inner, RED_L)
    ic.fill(ellipse(8.5, 26.5, 3, 2), PINK)
    ic.fill(ellipse(39.5, 26.5, 3, 2), PINK)


def winking_face(ic):
    yellow_face(ic)
    ic.fill(arc(16.5, 20, 4.5, 2.4, 200, 340), INK)
    oval_eye(ic, 31.5, 17.5, 2.8, 4.8)
    ic.draw(ellipse(29.5, 37.5, 3.6, 4.4) | rect(26, 33, 33, 37), PINK_D)
    ic.fill(line(29.5, 35, 29.5, 39, 1.1), RED_D)
    ic.fill(arc(24, 22, 13, 2.6, 30, 150), INK)
    ic.fill(ellipse(8.5, 27, 3, 2), PINK)
    ic.fill(ellipse(39.5, 27, 3, 2), PINK)


def surprised_face(ic):
    yellow_face(ic)
    ic.fill(arc(16.5, 13, 5, 2, 215, 325), INK)
    ic.fill(arc(31.5, 13, 5, 2, 215, 325), INK)
    googly_eye(ic, 16.5, 20.5, 4.6, 0, 0.6)
    googly_eye(ic, 31.5, 20.5, 4.6, 0, 0.6)
    ic.fill(ellipse(24, 34, 4.8, 6.3), INK)
    ic.fill(ellipse(24, 35, 3.2, 4.4), RED_D)
    ic.fill(ellipse(24, 37.2, 2.6, 2), RED_L)


def pointed_ears(ic, ear, inner, colour, inner_colour):
    """The left ear and its inside, as triangles, and the right ones mirrored."""
    ear, inner = poly(ear), poly(inner)
    ic.draw(ear | mirrored(ear), colour)
    ic.fill(inner | mirrored(inner), inner_colour)


def whiskers(ic, ends):
    """Ink whiskers from a to b on the left, for each (a, b), and mirrored on the right."""
    for a, b in ends:
        ic.fill(line(a[0], a[1], b[0], b[1], 1.1), INK)
        ic.fill(line(48 - a[0], a[1], 48 - b[0], b[1], 1.1), INK)


def cat_face(ic):
    pointed_ears(ic, [(6, 26), (8, 3), (23, 14)], [(10, 18), (10.5, 8), (18, 14)],
                 ORANGE, PINK)
    head = ellipse(24, 28.5, 19.5, 15.5)
    shaded(ic, head, ORANGE, ORANGE_D, d=2)
    for x0, x1 in ((24, 24), (19, 20), (29, 28)):
        ic.fill(line(x0, 14.5, x1, 18.5, 2) & head, ORANGE_D)
    ic.fill(ellipse(20.5, 34, 5, 4) | ellipse(27.5, 34, 5, 4), CREAM)
    for x in (15.5, 32.5):
        ic.draw(ellipse(x, 25.5, 3.8, 4.4), GREEN_L)
        ic.fill(ellipse(x, 26, 1.2, 3.4), INK)
        ic.dot(int(x) + 1, 24, WHITE)
    ic.draw(poly([(21.5, 29.5), (26.5, 29.5), (24, 32.3)]), PINK_D)
    ic.fill(arc(21.6, 32.6, 2.4, 1.2, 10, 170) | arc(26.4, 32.6, 2.4, 1.2, 10, 170), INK)
    whiskers(ic, (((12, 31), (2, 28.5)), ((12, 33.5), (2, 34.5))))


def dog_face(ic):
    head = ellipse(24, 25, 14.5, 16.5)
    shaded(ic, head, BROWN_L, BROWN, d=1.6)
    ic.fill(ellipse(30.5, 19.5, 5.5, 6) & head, BROWN)
    ear = ellipse(9.5, 23, 5.8, 13, 18)
    ic.draw(ear, BROWN_D)
    ic.draw(mirrored(ear), BROWN_D)
    eye(ic, 18.5, 20.5, 2.4)
    eye(ic, 29.5, 20.5, 2.4)
    ic.draw(ellipse(29.5, 38.5, 3.2, 4) | rect(26.5, 33, 32.5, 38), PINK_D)
    ic.draw(ellipse(24, 31.5, 9.5, 7.5), CREAM)
    ic.fill(line(24, 29, 24, 33.5, 1.2), INK)
    ic.fill(arc(20.5, 33, 3.5, 1.3, 20, 160) | arc(27.5, 33, 3.5, 1.3, 20, 160), INK)
    ic.fill(ellipse(24, 27.5, 4.2, 3), INK)
    ic.fill(ellipse(22.8, 26.6, 1.3, 0.8), GREY)


def frog(ic):
    body = circle(14, 14, 7.5) | circle(34, 14, 7.5) | ellipse(24, 29.5, 21.5, 14)
    shaded(ic, body, GREEN, GREEN_D, d=2)
    ic.fill(ellipse(24, 38.5, 11, 4.5), GREEN_L)
    googly_eye(ic, 14, 13.5, 5, 1.2, 0.6)
    googly_eye(ic, 34, 13.5, 5, -1.2, 0.6)
    ic.fill(arc(24, 14, 17, 2.2, 55, 125), INK)
    ic.dot(22, 24, INK)
    ic.dot(25, 24, INK)
    ic.fill(ellipse(9.5, 28.5, 3, 2), PINK)
    ic.fill(ellipse(38.5, 28.5, 3, 2), PINK)


def pig(ic):
    pointed_ears(ic, [(7, 18), (9, 3), (21, 10)], [(10, 13.5), (11, 7), (16, 10)],
                 PINK, PINK_D)
    head = circle(24, 26.5, 18.5)
    shaded(ic, head, PINK, PINK_D, PINK_L, 1.8, ellipse(14, 17, 3.5, 2, -35))
    eye(ic, 16.5, 21.5, 2.4)
    eye(ic, 31.5, 21.5, 2.4)
    ic.draw(ellipse(24, 31, 8.5, 6), PINK_D)
    ic.fill(ellipse(20.8, 31, 1.6, 2.6) | ellipse(27.2, 31, 1.6, 2.6), RED_D)
    ic.fill(arc(24, 35.5, 4.5, 1.3, 50, 130), INK)


def mouse(ic):
    for x in (10.5, 37.5):
        ic.draw(circle(x, 12.5, 9), GREY)
        ic.fill(circle(x, 12.5, 6), PINK)
    head = circle(24, 26, 14) | poly([(11, 31), (37, 31), (24, 43)]) | circle(24, 40, 3.5)
    shaded(ic, head, GREY, GREY_D, d=1.6)
    ic.fill(ellipse(24, 35, 7, 5.5), GREY_L)
    eye(ic, 18.5, 26, 2.5)
    eye(ic, 29.5, 26, 2.5)
    ic.draw(circle(24, 40.2, 2.6), PINK_D)
    whiskers(ic, (((18, 37), (5, 33.5)), ((18, 38.5), (5, 39.5))))


def owl(ic):
    tuft = poly([(7, 4), (19, 12), (10, 17)])
    body = ellipse(24, 27.5, 17, 18.5) | tuft | mirrored(tuft)
    shaded(ic, body, BROWN, BROWN_D, d=2)
    ic.draw(ellipse(24, 35, 10, 9.5), TAN)
    for x, y in ((20, 31), (28, 31), (24, 35), (20, 39), (28, 39)):
        ic.fill(arc(x, y - 2, 2.5, 1.2, 40, 140), BROWN_L)
    wing = ellipse(8.5, 31, 4.5, 10, 12)
    ic.draw(wing | mirrored(wing), BROWN_D)
    for x in (16.5, 31.5):
        ic.draw(circle(x, 20, 7), WHITE)
        ic.fill(circle(x, 20.5, 4.6), YELLOW)
        eye(ic, x, 20.5, 2.7)
    ic.draw(poly([(21.5, 25), (26.5, 25), (24, 31)]), ORANGE)
    ic.draw(ellipse(18.5, 45, 3.5, 1.8) | ellipse(29.5, 45, 3.5, 1.8), ORANGE)


def fish(ic):
    ic.draw(poly([(33, 24), (45, 12), (42, 24), (45, 36)]), ORANGE)
    ic.draw(ellipse(22, 13.5, 9, 4, -12), ORANGE)
    ic.draw(ellipse(22, 34.5, 6, 3.4, 15), ORANGE)
    body = ellipse(21.5, 24, 17, 11.5)
    shaded(ic, body, ORANGE, ORANGE_D, ORANGE_L, 1.8, ellipse(15, 17, 5, 1.6, -10))
    ic.draw(ellipse(17.5, 24, 2.8, 14) & body, WHITE)
    ic.draw(ellipse(30, 24, 2.4, 14) & body, WHITE)
    googly_eye(ic, 10.5, 21.5, 3.5)
    ic.fill(arc(7, 24.5, 2.2, 1.1, 30, 120), INK)


def bird(ic):
    ic.draw(poly([(33, 27), (46, 19), (43, 33)]), BLUE_D)
    ic.draw(ellipse(18, 10.5, 2, 5, -30) | ellipse(22.5, 9.5, 2, 5.5, 5), BLUE_D)
    body = circle(22, 26, 15)
    shaded(ic, body, BLUE, BLUE_D, d=1.8)
    ic.fill(ellipse(19.5, 33, 9.5, 6.5) & body, BLUE_L)
    ic.draw(ellipse(28.5, 27.5, 8.5, 5.5, -25), BLUE_D)
    googly_eye(ic, 15, 20.5, 3.5, -0.8, 0)
    ic.fill(ellipse(13.5, 27, 2.5, 1.5), PINK)
    ic.draw(poly([(8.5, 22.5), (1.5, 26), (8.5, 29)]), ORANGE)
    for x in (18, 25):
        ic.draw(line(x, 41, x - 0.5, 45.5, 1.8) | line(x - 3, 45.5, x + 2, 45.5, 1.5), ORANGE)


def ladybird(ic):
    ic.fill(path([(21, 8), (17, 4), (14, 3.5)], 1.3) | path([(27, 8), (31, 4), (34, 3.5)], 1.3), INK)
    ic.fill(circle(14, 3.5, 1.7) | circle(34, 3.5, 1.7), INK)
    ic.draw(circle(24, 12.5, 7.5), CHARCOAL)
    ic.fill(circle(21, 10.5, 1.6) | circle(27, 10.5, 1.6), WHITE)
    body = circle(24, 28.5, 17)
    shaded(ic, body, RED, RED_D, RED_L, 2.0, ellipse(15, 18, 3.2, 1.6, -45))
    ic.fill(line(24, 12, 24, 46, 1.6) & body, INK)
    for x, y, r in ((16, 21, 3.4), (32, 21, 3.4), (13.5, 31, 3.6), (34.5, 31, 3.6),
                    (19.5, 39, 3), (28.5, 39, 3)):
        ic.fill(circle(x, y, r) & body, INK)


def bee(ic):
    ic.draw(ellipse(20, 12.5, 5.5, 9, -22), CYAN_L)
    ic.draw(ellipse(30, 12, 5.5, 9, 22), CYAN_L)
    ic.draw(poly([(38, 27), (46, 29.5), (38, 32)]), CHARCOAL)
    body = ellipse(25, 29.5, 15.5, 11.5)
    shaded(ic, body, YELLOW, YELLOW_D, d=1.8)
    ic.fill((rect(20.5, 0, 24.5, 48) | rect(29, 0, 33, 48) | rect(37, 0, 48, 48)) & body, CHARCOAL)
    ic.fill(path([(8, 21), (5, 13), (3, 11)], 1.3) | path([(12, 20), (13, 12), (15, 10)], 1.3), INK)
    ic.fill(circle(3, 11, 1.8) | circle(15, 10, 1.8), INK)
    shaded(ic, circle(11.5, 28, 8.5), YELLOW, YELLOW_D, d=1.5)
    eye(ic, 9, 26, 2)
    ic.fill(arc(10.5, 29.5, 3, 1.2, 30, 150), INK)
    ic.fill(ellipse(15.5, 30.5, 2, 1.3), ORANGE_L)


def snail(ic):
    body = rrect(4, 35, 45, 42.5, 3.5) | line(9.5, 38, 9.5, 25, 9)
    ic.draw(path([(8, 22), (5.5, 12)], 2) | path([(12, 22), (14, 12)], 2), GREEN_L)
    ic.draw(circle(5.5, 11.5, 2.6) | circle(14, 11.5, 2.6), WHITE)
    ic.fill(circle(5.9, 11.8, 1.3) | circle(14.4, 11.8, 1.3), INK)
    shaded(ic, body, GREEN_L, GREEN, d=1.5)
    ic.fill(arc(9.8, 25.5, 3, 1.2, 20, 160), INK)
    shell = circle(29, 24, 13.5)
    shaded(ic, shell, ORANGE, ORANGE_D, ORANGE_L, 2.0, ellipse(22, 15, 4, 1.8, -35))
    pts = []
    for i in range(80):
        t = i * 0.16
        r = 1.0 + 0.85 * t
        pts.append((29.5 + r * math.cos(t), 24.5 + r * math.sin(t)))
    ic.fill(path(pts, 1.8) & shell, BROWN_D)


def apple(ic):
    ic.draw(path([(24, 19), (24.5, 11), (27, 5)], 2.6), BROWN)
    leaf = ellipse(33, 9, 6.5, 3.2, -25)
    ic.draw(leaf, GREEN)
    ic.fill(line(28, 11, 37, 7, 1) & leaf, GREEN_D)
    body = circle(17, 28.5, 13) | circle(31, 28.5, 13) | circle(24, 32, 12.5)
    shaded(ic, body, RED, RED_D, d=2.2)
    ic.fill(ellipse(13, 22, 2.2, 4.5, 30), RED_L)
    ic.fill(ellipse(12, 28, 1.2, 1.6), WHITE)


def cherries(ic):
    stems = path(bezier((14, 33), (15, 18), (27, 6)), 2) | path(bezier((33, 34), (29, 20), (27, 6)), 2)
    ic.draw(stems, GREEN_D)
    leaf = ellipse(35, 8, 7, 3.3, -18)
    ic.draw(leaf, GREEN)
    ic.fill(line(29, 9.5, 41, 6.5, 1) & leaf, GREEN_D)
    for x, y in ((14, 35), (33.5, 36)):
        c = circle(x, y, 9)
        shaded(ic, c, RED, RED_D, d=2)
        ic.fill(ellipse(x - 3.5, y - 3.5, 1.6, 2.6, 40), WHITE)


def banana(ic):
    ic.view = rotation(-30)
    cx, cy, R = 27, 7, 20
    outer, inner, mid = [], [], []
    n = 40
    for i in range(n + 1):
        t = i / n
        a = math.radians(155 - 130 * t)
        w = 1.6 + 12.5 * math.sin(math.pi * t) ** 0.6
        c, s = math.cos(a), math.sin(a)
        outer.append((cx + (R + w * 0.6) * c, cy + (R + w * 0.6) * s))
        inner.append((cx + (R - w * 0.4) * c, cy + (R - w * 0.4) * s))
        mid.append((cx + (R + w * 0.05) * c, cy + (R + w * 0.05) * s))
    body = poly(outer + inner[::-1])
    shaded(ic, body, YELLOW, YELLOW_D, d=2.4)
    ic.fill(path(mid[8:33], 1.2) & body, YELLOW_D)
    ic.fill(rim(body, 0, -1.6) - rim(body, 2.4, 2.4), YELLOW_L)
    a0, a1 = math.radians(155), math.radians(25)
    sx, sy = cx + R * math.cos(a0), cy + R * math.sin(a0)
    ic.draw(line(sx, sy, sx - 1, sy - 4.5, 3), BROWN)
    ic.draw(circle(cx + R * math.cos(a1), cy + R * math.sin(a1), 1.3), BROWN_D)


def strawberry(ic):
    body = rounded([(11, 17), (37, 17), (24, 38)], 6.5) | ellipse(24, 17, 18, 7)
    shaded(ic, body, RED, RED_D, d=2)
    seeds = []
    for row, y in enumerate(range(18, 42, 5)):
        off = 0 if row % 2 == 0 else 2.5
        for i in range(-4, 5):
            x = 24 + off + i * 5
            seeds.append(ellipse(x, y, 0.8, 1.3))
    ic.fill(union(*seeds) & moved(body, 0, -1.5) & moved(body, 0, 1.5), YELLOW_L)
    ic.draw(star(24, 13, 12, 4.5, 6, -90), GREEN)
    ic.draw(line(24, 10, 25.5, 3.5, 2.8), GREEN_D)


def orange(ic):
    ic.draw(ellipse(31.5, 7, 7, 3.2, -20), GREEN)
    fruit = circle(24, 27, 18.5)
    shaded(ic, fruit, ORANGE, ORANGE_D, ORANGE_L, 2.4, ellipse(15, 18, 4.5, 2.5, -40))
    for x, y in ((30, 20), (34, 29), (20, 33), (27, 38), (14, 26), (36, 36), (25, 28), (18, 39)):
        ic.dot(x, y, ORANGE_D)
    ic.draw(star(24, 9.5, 3, 1.3, 5), GREEN_D)


def pear(ic):
    ic.draw(path([(24, 12), (25, 6), (27, 3)], 2.4), BROWN)
    leaf = ellipse(32, 7, 5.5, 2.8, -25)
    ic.draw(leaf, GREEN)
    body = taper(24, 17, 7.5, 24, 32, 13)
    shaded(ic, body, LIME, LIME_D, YELLOW_L, 2.2, ellipse(18, 27, 2, 4.5, 15))
    ic.fill(ellipse(31, 36, 1.5, 1), LIME_D)
    ic.fill(ellipse(19, 38, 1.2, 0.9), LIME_D)


def watermelon(ic):
    cy = 13
    below = rect(0, cy, 48, 48)
    ic.draw(circle(24, cy, 22) & below, GREEN_D)
    ic.fill(circle(24, cy, 19.5) & below, GREEN_L)
    flesh = circle(24, cy, 17.5) & rect(0, cy, 48, 48)
    ic.fill(flesh, RED)
    ic.fill(rect(0, cy, 48, cy + 1.2) & flesh, RED_L)
    for x, y in ((14.5, 19.5), (24.5, 20.5), (34.5, 19.5), (19.5, 26.5), (29.5, 26.5)):
        ic.fill(ellipse(x, y, 1.3, 2.2), INK)


def grapes(ic):
    ic.draw(path([(24, 9), (25, 4), (27, 2)], 2.4), BROWN)
    leaf = ellipse(33, 6.5, 7, 3.6, -15)
    ic.draw(leaf, GREEN)
    ic.fill(line(28, 8, 39, 5, 1) & leaf, GREEN_D)
    rows = [(12.5, (8.5, 18.8, 29.2, 39.5)), (21, (13.7, 24, 34.3)),
            (29.5, (18.8, 29.2)), (38, (24,))]
    for y, xs in rows:
        for x in xs:
            g = circle(x, y, 5.6)
            shaded(ic, g, PURPLE, PURPLE_D, d=1.5)
            ic.fill(circle(round(x) - 2, round(y) - 2, 1.2), PURPLE_L)


def carrot(ic):
    ic.view = rotation(-35)
    for cxy in ((19.5, 9, -28), (24, 7.5, 0), (28.5, 9, 28)):
        ic.draw(ellipse(cxy[0], cxy[1], 2.6, 7, cxy[2]), GREEN)
    body = taper(24, 18.5, 8, 24, 45, 1.5)
    shaded(ic, body, ORANGE, ORANGE_D, d=2)
    for x0, x1, y in ((17, 22, 23), (26, 31, 28), (18.5, 23, 33), (25, 28.5, 38), (21, 24, 42)):
        ic.fill(line(x0, y, x1, y, 1.2) & body, ORANGE_D)


def mushroom(ic):
    stem = rrect(16.5, 22, 31.5, 44, 5)
    shaded(ic, stem, CREAM, TAN, d=2)
    eye(ic, 21, 33, 1.5, False)
    eye(ic, 27, 33, 1.5, False)
    ic.fill(arc(24, 35, 2.5, 1.2, 30, 150), INK)
    cap = (ellipse(24, 25, 21.5, 19) & rect(0, 0, 48, 25)) | ellipse(24, 25, 21.5, 3.5)
    shaded(ic, cap, RED, RED_D, d=1.6)
    for x, y, r in ((13, 18, 3.3), (24, 11, 3.8), (35, 18, 3.3), (20, 22.5, 2.2), (29, 22, 2), (6.5, 24, 1.8),
                    (41.5, 24, 1.8)):
        ic.fill(circle(x, y, r) & cap, WHITE)


def car(ic):
    body = rounded([(15, 21), (19, 11), (30, 11), (36, 21)], 1.5) | rrect(3, 20, 45, 35, 5)
    shaded(ic, body, RED, RED_D, d=2)
    ic.draw(poly([(17.5, 21), (20.5, 13.5), (23.5, 13.5), (23.5, 21)]), BLUE_L)
    ic.draw(poly([(26.5, 21), (26.5, 13.5), (29.5, 13.5), (33.5, 21)]), BLUE_L)
    ic.fill(line(25, 23, 25, 32, 1), INK)
    ic.fill(line(27.5, 25, 29.5, 25, 1.2), INK)
    ic.fill(ellipse(44, 25, 1.4, 2.3), YELLOW)
    ic.fill(rect(3, 23, 5, 26), RED_D)
    for x in (13, 35):
        ic.draw(circle(x, 35.5, 6), CHARCOAL)
        ic.fill(circle(x, 35.5, 2.6), GREY_L)


def bus(ic):
    body = rrect(2, 7, 46, 36, 4)
    shaded(ic, body, YELLOW, YELLOW_D, d=2)
    for x in (5, 15, 25):
        ic.draw(rrect(x, 11, x + 8, 20, 1), BLUE_L)
    ic.draw(rrect(35.5, 11, 42.5, 33, 1), BLUE_L)
    ic.fill(line(39, 11, 39, 33, 1), INK)
    ic.fill(rect(2, 24, 34.5, 26.5) & body, ORANGE_D)
    ic.fill(ellipse(45, 30, 1.2, 2), WHITE)
    for x in (12, 33):
        ic.draw(circle(x, 37, 5.5), CHARCOAL)
        ic.fill(circle(x, 37, 2.3), GREY_L)


def rocket(ic):
    ic.view = rotation(45, 0.86)
    flame = teardrop(24, 50, 5.5)
    flame = Shape(lambda x, y, f=flame.test: f(x, 96 - y))   # point it downwards
    ic.draw(flame, ORANGE)
    ic.fill(Shape(lambda x, y, f=teardrop(24, 49, 3).test: f(x, 96 - y)), YELLOW)
    fin = poly([(16, 28), (8, 40), (9, 44), (17, 38)])
    ic.draw(fin | mirrored(fin), RED)
    ic.draw(rrect(18.5, 38, 29.5, 43.5, 1.5), GREY_D)
    body = ellipse(24, 22, 9.5, 20) & rect(0, 0, 48, 39)
    shaded(ic, body, SNOW, GREY_L, d=2)
    ic.draw(body & rect(0, 0, 48, 11), RED)
    ic.draw(circle(24, 22, 5), GREY)
    ic.fill(circle(24, 22, 3.3), BLUE_L)
    ic.fill(circle(23, 21, 1), WHITE)
    ic.draw(line(24, 31, 24, 43, 3), RED)


def aeroplane(ic):
    ic.view = rotation(45, 0.92)
    wings = poly([(21, 17), (1, 30), (1, 34.5), (21, 28), (27, 28), (47, 34.5), (47, 30), (27, 17)])
    ic.draw(wings, RED)
    tail = poly([(22, 37), (13, 43), (13, 46), (22, 44), (26, 44), (35, 46), (35, 43), (26, 37)])
    ic.draw(tail, RED)
    ic.draw(ellipse(13, 25.5, 2.6, 4.5) | ellipse(35, 25.5, 2.6, 4.5), GREY)
    body = line(24, 3, 24, 44, 7.5)
    shaded(ic, body, SNOW, GREY_L, d=1.5)
    ic.draw(ellipse(24, 8.5, 2.6, 3.2), BLUE_L)
    ic.draw(line(24, 39, 24, 47, 2), RED)


def sailboat(ic):
    ic.draw(line(24, 5, 24, 34, 2), BROWN)
    ic.draw(poly([(23.5, 3), (32, 5.5), (23.5, 8)]), RED)
    big = poly([(26.5, 7), (26.5, 30), (43, 30)])
    ic.draw(big, WHITE)
    ic.fill(rim(big, 1.6, 1.6), GREY_L)
    ic.fill(rect(26, 19, 48, 22) & big, RED)
    small = poly([(21.5, 11), (21.5, 30), (8, 30)])
    ic.draw(small, WHITE)
    ic.fill(rim(small, 1.6, 1.6), GREY_L)
    hull = poly([(3, 31), (45, 31), (38, 40.5), (10, 40.5)])
    shaded(ic, hull, BROWN_L, BROWN, d=1.6)
    ic.fill(rect(0, 33, 48, 34.3) & hull, WHITE)
    for x in (16.5, 24.5, 32.5):
        ic.draw(circle(x, 37, 1.5), BLUE_L)
    water = Shape(lambda x, y: 2 <= x <= 46 and 40.5 + 1.0 * math.sin(x * 0.5) <= y <= 45)
    ic.draw(water, BLUE)
    ic.fill(Shape(lambda x, y: abs(y - 43.2 - 0.8 * math.sin(x * 0.5 + 2.5)) < 0.55) & water, BLUE_L)


def bicycle(ic):
    for cx in (11.5, 36.5):
        ic.draw(ring(cx, 31, 9.5, 6.8), CHARCOAL)
        for a in (0, 45, 90, 135):
            r = math.radians(a)
            ic.fill(line(cx - 6.8 * math.cos(r), 31 - 6.8 * math.sin(r),
                         cx + 6.8 * math.cos(r), 31 + 6.8 * math.sin(r), 0.9), GREY)
        ic.draw(circle(cx, 31, 1.8), GREY_L)
    rear, crank, seat, head, front = (11.5, 31), (23, 31), (19, 18), (32, 18), (36.5, 31)
    frame = path([rear, crank, seat, rear], 2.6) | path([seat, head, crank], 2.6) | line(*head, *front, 2.6)
    ic.draw(frame, RED)
    ic.draw(line(19, 18, 18, 14.5, 2) | line(32, 18, 31, 12, 2), GREY)
    ic.draw(ellipse(17.5, 13.5, 4.5, 1.8), CHARCOAL)
    ic.draw(path([(29, 12), (31, 11.5), (36, 12.5)], 2.2), CHARCOAL)
    ic.draw(line(23, 31, 26, 36, 1.8) | line(24.5, 36.5, 28, 36.5, 2), GREY_D)
    ic.draw(circle(23, 31, 2.6), GREY)


def train(ic):
    puffs = circle(7, 5.5, 3) | circle(12, 3.8, 2.8) | circle(3.5, 9, 2.2)
    ic.draw(puffs, SNOW)
    ic.draw(poly([(11, 20), (11, 14), (8.5, 10), (18.5, 10), (16, 14), (16, 20)]), CHARCOAL)
    ic.draw(ellipse(23, 19.5, 3.8, 3.2), YELLOW)
    ic.draw(rrect(26, 8, 46, 12.5, 1.5), CHARCOAL)
    cab = rrect(28, 11, 44, 37, 1.5)
    shaded(ic, cab, RED, RED_D, d=1.6)
    ic.draw(rrect(31.5, 15, 40.5, 23, 1), BLUE_L)
    boiler = rrect(6, 19, 30, 35, 3)
    shaded(ic, boiler, BLUE, BLUE_D, d=1.6)
    for x in (13, 21):
        ic.fill(rect(x, 19, x + 2, 35) & boiler, YELLOW)
    ic.draw(rect(4, 35, 46, 38), CHARCOAL)
    ic.draw(poly([(7, 35), (1.5, 42), (9, 42)]), GREY)
    for x, r in ((14, 4.5), (25, 4.5), (37, 5.8)):
        ic.draw(circle(x, 41.5 - (r - 4.5), r), RED)
        ic.fill(circle(x, 41.5 - (r - 4.5), 1.6), CHARCOAL)
    ic.draw(line(14, 41, 37, 40, 1.8), GREY_L)


def star_shape(ic):
    cx, cy = 24, 26.2
    pts = star_points(cx, cy, 23, 9.6, 5)
    ic.draw(poly(pts), YELLOW)
    for i in range(0, 10, 2):
        tip, nxt = pts[i], pts[(i + 1) % 10]
        ic.fill(poly([(cx, cy), tip, nxt]), YELLOW_D)
    ic.fill(ellipse(19, 16, 1.5, 3, 30), YELLOW_L)


def heart_shape(ic):
    h = heart(24, 25.5, 19.5)
    shaded(ic, h, RED, RED_D, d=2.4)
    ic.fill(ellipse(13.5, 14.5, 3.2, 5, 45), RED_L)
    ic.fill(ellipse(11.8, 13.2, 1.2, 1.6, 45), WHITE)


def lightning(ic):
    bolt = poly([(28, 2), (9, 27), (21, 27), (15, 46), (39, 18), (27, 18), (36, 2)])
    shaded(ic, bolt, YELLOW, YELLOW_D, d=2.4)
    ic.fill(line(27.5, 5, 16, 22, 1.4) & bolt, YELLOW_L)


def sun(ic):
    ic.draw(star(24, 24, 23.5, 15, 12, -90), ORANGE)
    disc = circle(24, 24, 14)
    shaded(ic, disc, YELLOW, YELLOW_D, YELLOW_L, 1.8, ellipse(17, 16, 3.5, 1.8, -40))
    ic.fill(arc(18.5, 23, 2.8, 1.6, 200, 340) | arc(29.5, 23, 2.8, 1.6, 200, 340), INK)
    ic.fill(arc(24, 25.5, 6, 1.8, 30, 150), INK)
    ic.fill(ellipse(14.5, 27.5, 2.2, 1.5) | ellipse(33.5, 27.5, 2.2, 1.5), ORANGE_L)


def moon(ic):
    crescent = circle(21, 25, 19.5) - circle(31, 19, 16.5)
    shaded(ic, crescent, MOON, YELLOW_D, d=2)
    ic.fill(arc(10.5, 24, 2.6, 1.5, 20, 160), INK)
    ic.fill(circle(13, 31, 1.6) | circle(7, 18, 1.1), YELLOW_D)
    ic.draw(star(35, 15, 6, 2.6, 5), YELLOW)
    ic.draw(star(42.5, 26.5, 3.8, 1.6, 5, -80), YELLOW)


def rain_cloud(ic):
    for x, y in ((13, 39), (24, 43), (35, 39)):
        d = teardrop(x, y, 3.2)
        ic.draw(d, BLUE)
        ic.fill(circle(x - 1, y - 0.5, 0.9), BLUE_L)
    cloud = circle(14, 20, 8) | circle(24, 14.5, 10.5) | circle(34, 19, 8.5) | rrect(5, 17, 43, 30, 6.5)
    shaded(ic, cloud, SNOW, GREY_L, d=2.6)
    ic.fill(ellipse(19, 10, 3.5, 1.6, -30), WHITE)


def snowflake(ic):
    parts = [circle(24, 24, 4)]
    for k in range(6):
        a = math.radians(-90 + 60 * k)
        ex, ey = 24 + 20.5 * math.cos(a), 24 + 20.5 * math.sin(a)
        parts.append(line(24, 24, ex, ey, 3))
        for d, ln in ((10.5, 7), (16, 4.5)):
            px, py = 24 + d * math.cos(a), 24 + d * math.sin(a)
            for side in (-1, 1):
                b = a + side * math.radians(50)
                parts.append(line(px, py, px + ln * math.cos(b), py + ln * math.sin(b), 2.6))
    flake = union(*parts)
    ic.draw(flake, BLUE_L)
    ic.fill(circle(24, 24, 2), WHITE)


def flower(ic):
    ic.draw(line(24, 28, 24, 46, 2.8), GREEN_D)
    ic.draw(ellipse(16.5, 39.5, 6.5, 2.8, -30), GREEN)
    ic.draw(ellipse(31.5, 37.5, 6.5, 2.8, 30), GREEN)
    cx, cy = 24, 18
    for k in range(6):
        a = -90 + 60 * k + 30
        r = math.radians(a)
        p = ellipse(cx + 9.2 * math.cos(r), cy + 9.2 * math.sin(r), 7, 5.4, a)
        shaded(ic, p, PINK, PINK_D, d=1.3)
    ic.draw(circle(cx, cy, 6), YELLOW)
    for dx, dy in ((-2, -2), (2, -1), (-1, 2), (2, 2.5), (0, 0)):
        ic.dot(int(cx + dx), int(cy + dy), ORANGE_D)


def tree(ic):
    trunk = poly([(20, 28), (28, 28), (28.5, 41), (32, 45), (16, 45), (19.5, 41)])
    shaded(ic, trunk, BROWN, BROWN_D, d=1.6)
    canopy = union(circle(14, 21, 10), circle(34, 21, 10), circle(24, 13, 11.5),
                   circle(24, 26, 10), circle(15, 12, 7), circle(33, 12, 7))
    shaded(ic, canopy, GREEN, GREEN_D, d=2.5)
    ic.fill(ellipse(18, 9, 4, 2.2, -30) | ellipse(9, 17, 2, 3), GREEN_L)
    for x, y in ((16.5, 22.5), (30.5, 16.5), (26.5, 27.5), (36.5, 25.5), (21.5, 13.5)):
        ic.draw(circle(x, y, 2.4), RED)
        ic.dot(int(x) - 1, int(y) - 1, RED_L)


def cactus(ic):
    body = line(24, 10, 24, 38, 11) | path([(20, 27), (11, 27), (11, 16)], 7) | \
        path([(28, 22), (37, 22), (37, 12)], 7)
    shaded(ic, body, GREEN, GREEN_D, d=1.6)
    for x, y0, y1 in ((22, 8, 34), (26, 8, 34)):
        ic.fill(line(x, y0, x, y1, 1) & body, GREEN_D)
    for x, y in ((19, 15), (29, 13), (20, 22), (29, 29), (11, 20), (37, 16), (19, 31)):
        ic.dot(x, y, INK)
    ic.draw(star(24, 5, 4, 2, 5), PINK)
    ic.fill(circle(24, 5.2, 1.2), YELLOW)
    ic.draw(rrect(11, 33, 37, 37.5, 1), TERRACOTTA)
    pot = poly([(13, 37.5), (35, 37.5), (32, 46), (16, 46)])
    shaded(ic, pot, TERRACOTTA, TERRACOTTA_D, d=1.6)


def house(ic):
    ic.draw(rect(31, 6, 36, 16), RED_D)
    walls = rect(8, 21, 40, 44)
    shaded(ic, walls, CREAM, TAN, d=1.6)
    ic.draw(poly([(2.5, 23), (24, 4), (45.5, 23)]), RED)
    ic.fill(rim(poly([(2.5, 23), (24, 4), (45.5, 23)]), 0, 2), RED_D)
    ic.draw(rrect(20, 31, 28, 44, 1.5), BROWN)
    ic.fill(circle(26, 38, 0.9), YELLOW)
    for x in (11, 30):
        ic.draw(rect(x, 27, x + 7, 34), BLUE_L)
        ic.fill(line(x + 3.5, 27, x + 3.5, 34, 1) | line(x, 30.5, x + 7, 30.5, 1), INK)


def key(ic):
    ic.view = rotation(45)
    k = (ring(11, 24, 9.5, 4.2) | rect(19, 21.5, 46, 26.5) | rect(36, 26, 39.5, 32.5)
         | rect(41.5, 26, 45.5, 34))
    shaded(ic, k, YELLOW, YELLOW_D, d=2)
    ic.fill(arc(11, 24, 7.2, 1.4, 190, 260), YELLOW_L)


def bell(ic):
    ic.draw(ring(24, 5.5, 3.6, 1.6), YELLOW_D)
    ic.draw(circle(24, 40, 4.5), YELLOW_D)
    body = circle(24, 17, 10.5) | rounded([(14, 17), (34, 17), (38, 32), (42, 35.5), (6, 35.5), (10, 32)], 1.5)
    shaded(ic, body, YELLOW, YELLOW_D, d=2.2)
    ic.fill(ellipse(18, 18, 2, 6, 10), YELLOW_L)
    ic.draw(rrect(5, 33, 43, 38, 2.5), YELLOW_D)
    ic.draw(ellipse(18.5, 8, 5.5, 3.2, -20) | ellipse(29.5, 8, 5.5, 3.2, 20), RED)
    ic.fill(ellipse(18.5, 8, 2.5, 1, -20) | ellipse(29.5, 8, 2.5, 1, 20), RED_D)
    ic.draw(circle(24, 9, 2.4), RED)


def music_notes(ic):
    heads = ellipse(12.5, 38.5, 6.3, 4.6, -25) | ellipse(33.5, 34.5, 6.3, 4.6, -25)
    stems = rect(16.2, 11, 19, 38) | rect(37.2, 6.5, 40, 34)
    beam = poly([(16.2, 10), (40, 4.5), (40, 11), (16.2, 16.5)])
    notes = heads | stems | beam
    shaded(ic, notes, PURPLE, PURPLE_D, d=1.6)
    ic.fill(ellipse(10.5, 37, 2, 1.2, -25) | ellipse(31.5, 33, 2, 1.2, -25), PURPLE_L)


def gem(ic):
    top = [(13, 8), (24, 8), (35, 8)]
    g = [(3, 19), (16, 19), (32, 19), (45, 19)]
    bottom = (24, 45)
    ic.draw(poly([top[0], top[2], g[3], bottom, g[0]]), CYAN_L)
    facets = [([g[0], top[0], g[1]], CYAN_L), ([top[0], top[1], g[1]], WHITE),
              ([top[1], g[1], g[2]], CYAN_L), ([top[1], top[2], g[2]], CYAN),
              ([top[2], g[2], g[3]], TEAL), ([g[0], g[1], bottom], CYAN),
              ([g[1], g[2], bottom], CYAN_L), ([g[2], g[3], bottom], TEAL)]
    for pts, col in facets:
        ic.fill(poly(pts), col)
    edges = [(g[0], g[3]), (top[0], g[1]), (top[1], g[1]), (top[1], g[2]), (top[2], g[2]),
             (g[1], bottom), (g[2], bottom)]
    for a, b in edges:
        ic.fill(line(a[0], a[1], b[0], b[1], 1), BLUE)
    ic.draw(line(8.5, 2.5, 8.5, 10.5, 1.2) | line(4.5, 6.5, 12.5, 6.5, 1.2), WHITE)


def crown(ic):
    y = 4
    body = poly([(5, 36 + y), (5, 12 + y), (15, 24 + y), (24, 8 + y), (33, 24 + y), (43, 12 + y), (43, 36 + y)])
    shaded(ic, body, YELLOW, YELLOW_D, d=2)
    for x, by in ((5, 11), (24, 7), (43, 11)):
        ic.draw(circle(x, by + y, 3), YELLOW)
        ic.fill(circle(x - 0.8, by + y - 0.8, 1), WHITE)
    band = rrect(4, 30 + y, 44, 39 + y, 1.5)
    shaded(ic, band, YELLOW, YELLOW_D, d=1.5)
    for x, col in ((13, RED), (24, BLUE), (35, GREEN)):
        ic.draw(circle(x, 34.5 + y, 2.6), col)
        ic.dot(x - 1, 33 + y, WHITE)
    ic.draw(poly([(24, 17 + y), (27.5, 22 + y), (24, 27 + y), (20.5, 22 + y)]), RED)


def beach_ball(ic):
    cx, cy, R = 24, 24, 21.5
    ax, ay, az = -0.3, -0.36, 0.9                      # the ball's axis, tipped towards us
    n = math.sqrt(ax * ax + ay * ay + az * az)
    ax, ay, az = ax / n, ay / n, az / n
    e1 = (-ay, ax, 0.0)                                # two directions across the axis
    n = math.hypot(e1[0], e1[1])
    e1 = (e1[0] / n, e1[1] / n, 0.0)
    e2 = (ay * e1[2] - az * e1[1], az * e1[0] - ax * e1[2], ax * e1[1] - ay * e1[0])
    cols = [RED, WHITE, YELLOW, WHITE, BLUE, WHITE]

    def segment(x, y):
        nx, ny = (x - cx) / R, (y - cy) / R
        nz = math.sqrt(max(0.0, 1 - nx * nx - ny * ny))
        if nx * ax + ny * ay + nz * az > 0.985:
            return -1
        u = nx * e1[0] + ny * e1[1] + nz * e1[2]
        v = nx * e2[0] + ny * e2[1] + nz * e2[2]
        return int((math.atan2(v, u) + math.pi) / (2 * math.pi) * 6) % 6
    ball = circle(cx, cy, R)
    ic.draw(ball, WHITE)
    ic.paint(ball, lambda x, y: WHITE if segment(x, y) < 0 else cols[segment(x, y)])
    # seam round the white cap on top
    ic.paint(ball, lambda x, y: GREY if (segment(x, y) < 0) != (segment(x + 1, y) < 0) or
             (segment(x, y) < 0) != (segment(x, y + 1) < 0) else None)
    ic.fill(rim(ball, 1.5, 1.5), GREY_L)
    ic.fill(ellipse(14, 14, 3.5, 1.8, -40), WHITE)


def balloon(ic):
    ic.fill(path(bezier((24, 36), (28.5, 40.5), (22.5, 46.5)), 1.4), INK)
    ic.draw(poly([(21, 37), (27, 37), (24, 33)]), MAGENTA_D)
    body = ellipse(24, 18, 14.5, 16.5)
    shaded(ic, body, MAGENTA, MAGENTA_D, d=2.2)
    ic.fill(ellipse(16.5, 11, 2.5, 5, 25), PINK)
    ic.fill(ellipse(15.6, 8.8, 1, 1.6, 25), WHITE)


def ice_cream(ic):
    cone = poly([(12, 24), (36, 24), (24, 46)])
    ic.draw(cone, TAN)
    lines = Shape(lambda x, y: (x + y) % 5 < 1.1 or (x - y) % 5 < 1.1)
    ic.fill(lines & cone, BROWN_L)
    ic.fill(rim(cone, 1.5, 0), BROWN_L)
    scoop = circle(24, 16, 12) | union(*[circle(x, 25, 3.3) for x in (13.5, 20, 26.5, 33.5)]) | \
        rect(14, 16, 34, 25)
    shaded(ic, scoop, PINK, PINK_D, PINK_L, 1.8, ellipse(18, 9.5, 3.5, 1.8, -35))
    ic.draw(path(bezier((27, 4), (28, 2.5), (31, 2.2)), 1.2), GREEN_D)
    ic.draw(circle(26, 5, 3), RED)
    ic.dot(25, 4, WHITE)


def cupcake(ic):
    wrapper = poly([(9, 28), (39, 28), (35, 45), (13, 45)])
    ic.draw(wrapper, BLUE_L)
    for i in range(6):
        x0 = 9 + 5 * i
        x1 = 13 + 3.66 * i
        ic.fill(poly([(x0 + 2.5, 28), (x0 + 5, 28), (x1 + 3.66, 45), (x1 + 1.8, 45)]) & wrapper, BLUE)
    frosting = ellipse(24, 26, 18.5, 5) | ellipse(24, 20, 14.5, 6) | ellipse(24, 13.5, 9.5, 5) | circle(24, 9, 4.5)
    shaded(ic, frosting, PINK_L, PINK, d=1.6)
    for x, y, a, col in ((14, 22, 30, YELLOW), (20, 17, -40, BLUE), (28, 20, 20, GREEN), (33, 24, -30, ORANGE),
                         (22, 25, 80, PURPLE), (30, 14, 60, YELLOW), (18, 27, -10, GREEN), (26, 12, -20, BLUE)):
        r = math.radians(a)
        ic.fill(line(x - 1.3 * math.cos(r), y - 1.3 * math.sin(r), x + 1.3 * math.cos(r), y + 1.3 * math.sin(r), 1.3),
                col)
    ic.draw(circle(24, 4.5, 3.2), RED)
    ic.dot(23, 3, WHITE)


def coffee_cup(ic):
    for x in (17, 24, 31):
        ic.draw(path([(x + 1.3 * math.sin(i * 0.8 + x), 4 + i * 0.8) for i in range(12)], 1.8), GREY_L)
    ic.draw(ellipse(24, 41.5, 21, 4.5), SNOW)
    ic.fill(ellipse(24, 41, 12, 2), GREY_L)
    ic.draw(ring(37, 27.5, 7, 3.5), SNOW)
    cup = rounded([(9, 20), (39, 20), (34, 38), (14, 38)], 1.5)
    shaded(ic, cup, SNOW, GREY_L, d=2)
    ic.fill(rect(0, 26, 48, 29.5) & cup, RED)
    ic.draw(ellipse(24, 20, 15, 3.5), COFFEE)
    ic.fill(ellipse(20, 19.8, 4, 1), BROWN)


def umbrella(ic):
    ic.draw(line(24, 20, 24, 40, 2.2) | arc(19.5, 40, 4.5, 2.2, 0, 180), GREY_D)
    cx, cy = 24, 25
    scallops = union(*[circle(x, 29.5, 7.4) for x in (10, 24, 38)])
    canopy = (circle(cx, cy, 21.5) & rect(0, 0, 48, cy)) - scallops
    ic.draw(canopy, RED)

    def panel(x, y):
        a = math.degrees(math.atan2(y - 40, x - 24))
        return YELLOW if 247 - 360 < a < 293 - 360 else None
    ic.paint(canopy, panel)
    ic.fill(rim(canopy, 0, 1.6) - scallops, RED_D)
    ic.fill(line(24, 2.2, 24, 4.5, 2), GREY_D)
    ic.finish()


def anchor(ic):
    a = (ring(24, 7.5, 5, 2.5) | line(24, 12, 24, 41, 4.2) | line(13, 17.5, 35, 17.5, 3.8)
         | arc(24, 25, 17, 4, 18, 162))
    for side in (-1, 1):
        ex = 24 + side * 17 * math.cos(math.radians(18))
        a = a | poly([(ex, 22), (ex - side * 4, 32), (ex + side * 5.5, 32.5)])
    shaded(ic, a, BLUE, BLUE_D, d=1.6)
    ic.fill(line(22.5, 14, 22.5, 38, 1) & a, BLUE_L)


def alarm_clock(ic):
    ic.draw(line(14, 39, 10, 45, 3) | line(34, 39, 38, 45, 3), CHARCOAL)
    ic.draw(rrect(22, 4, 26, 10, 1), CHARCOAL)
    ic.draw(ellipse(11, 11, 7.5, 5, -40), YELLOW)
    ic.draw(ellipse(37, 11, 7.5, 5, 40), YELLOW)
    body = circle(24, 27, 17)
    shaded(ic, body, RED, RED_D, d=2)
    ic.draw(circle(24, 27, 13.2), WHITE)
    for k in range(12):
        r = math.radians(30 * k)
        big = k % 3 == 0
        ic.fill(circle(24 + 10.6 * math.cos(r), 27 + 10.6 * math.sin(r), 1.2 if big else 0.8), INK)
    ic.fill(line(24, 27, 24, 19, 2) | line(24, 27, 30.5, 30, 1.8), INK)
    ic.fill(circle(24, 27, 1.5), RED)


def light_bulb(ic):
    for a in (200, 235, 270, 305, 340):
        r = math.radians(a)
        ic.draw(line(24 + 14.8 * math.cos(r), 19 + 14.8 * math.sin(r),
                     24 + 17.6 * math.cos(r), 19 + 17.6 * math.sin(r), 1.8), YELLOW)
    glass = taper(24, 19, 12, 24, 31, 6)
    shaded(ic, glass, YELLOW_L, YELLOW, d=2)
    ic.fill(ellipse(18, 14, 2, 4, 30), WHITE)
    ic.fill(path([(21, 33), (21, 24), (22, 22), (23.3, 24), (24.6, 22), (25.9, 24), (27, 22), (27, 33)], 1.1),
            ORANGE_D)
    base = rrect(17.5, 31, 30.5, 41, 1.5)
    shaded(ic, base, GREY_L, GREY, d=1.6)
    ic.fill(line(17.5, 34.5, 30.5, 35.5, 1) | line(17.5, 37.5, 30.5, 38.5, 1), GREY_D)
    ic.draw(rrect(20.5, 41, 27.5, 45, 2), CHARCOAL)


def ghost(ic):
    body = union(circle(24, 19, 15), rect(9, 19, 39, 39),
                 *[circle(12.75 + 7.5 * i, 39, 3.75) for i in range(4)],
                 ellipse(8, 27, 4.5, 2.6, -30), ellipse(40, 27, 4.5, 2.6, 30))
    shaded(ic, body, WHITE, PURPLE_L, d=2.2)
    oval_eye(ic, 18.5, 19, 2.8, 4)
    oval_eye(ic, 29.5, 19, 2.8, 4)
    ic.fill(ellipse(24, 29, 3, 3.6), INK)
    ic.fill(ellipse(13.5, 25.5, 2.5, 1.5) | ellipse(34.5, 25.5, 2.5, 1.5), PINK)


PICTURES = [
    smiley, winking_face, surprised_face, cat_face, dog_face, frog, pig, mouse, owl, fish,
    bird, ladybird, bee, snail, apple, cherries, banana, strawberry, orange, pear,
    watermelon, grapes, carrot, mushroom, car, bus, rocket, aeroplane, sailboat, bicycle,
    train, star_shape, heart_shape, lightning, sun, moon, rain_cloud, snowflake, flower, tree,
    cactus, house, key, bell, music_notes, gem, crown, beach_ball, balloon, ice_cream,
    cupcake, coffee_cup, umbrella, anchor, alarm_clock, light_bulb, ghost,
]


def save_png(px, path):
    """A palette of the picture's own colours, clear first, at 4 bits a pixel: the
    smallest file, and Qt decodes it to the same pixels as the shared palette."""
    used = sorted({index for row in px for index in row} | {CLEAR})
    assert len(used) <= 16, path
    local = {index: i for i, index in enumerate(used)}
    image = Image.new('P', (SIZE, SIZE))
    image.putpalette([level for index in used for level in PALETTE[index]])
    image.putdata([local[index] for row in px for index in row])
    image.save(path, 'PNG', bits=4, transparency=0, compress_level=9)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    outdir = os.path.join(root, 'assets')
    os.makedirs(outdir, exist_ok=True)
    assert len(PICTURES) == 57
    for i, draw_picture in enumerate(PICTURES):
        ic = Icon()
        draw_picture(ic)
        ic.finish()
        save_png(ic.px, os.path.join(outdir, 'p%02d.png' % i))
    print('wrote %d pictures to %s' % (len(PICTURES), outdir))


if __name__ == '__main__':
    main()
