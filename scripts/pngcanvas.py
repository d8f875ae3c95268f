"""Drawing primitives of the icon scripts: shapes as predicates over canvas
coordinates, two supersampling canvases and the PNG writer. Pure Python, so
the icons can be drawn again on any machine without an imaging library.

A shape is a function inside(x, y) -> bool; a pixel (px, py) covers the
square from (px, py) to (px + 1, py + 1) and is sampled SS x SS times.
"""
import math
import os
import struct
import zlib

SS = 4  # samples per pixel edge


# ---- PNG ----------------------------------------------------------------------------

def encode_png(w, h, pixels):
    """PNG bytes of an 8-bit RGBA image; pixels: w * h (r, g, b, a) integer
    tuples, row by row."""
    raw = b''.join(b'\x00' + bytes(c for px in pixels[y * w:(y + 1) * w] for c in px)
                   for y in range(h))

    def chunk(kind, data):
        c = struct.pack('>I', len(data)) + kind + data
        return c + struct.pack('>I', zlib.crc32(kind + data) & 0xffffffff)

    return (b'\x89PNG\r\n\x1a\n'
            + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(raw, 9))
            + chunk(b'IEND', b''))


def write_png(path, w, h, pixels):
    with open(path, 'wb') as out:
        out.write(encode_png(w, h, pixels))


# ---- shapes -------------------------------------------------------------------------

def inside_polygon(x, y, points):
    """Even-odd rule."""
    c = False
    j = len(points) - 1
    for i in range(len(points)):
        xi, yi = points[i]
        xj, yj = points[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            c = not c
        j = i
    return c


def polygon(points):
    return lambda x, y: inside_polygon(x, y, points)


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r, width):
    lo, hi = (r - width / 2) ** 2, (r + width / 2) ** 2
    return lambda x, y: lo <= (x - cx) ** 2 + (y - cy) ** 2 <= hi


def arc(cx, cy, r, width, start=0.0, end=360.0):
    """A ring from angle start to end (degrees, counter-clockwise on screen)."""
    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        if abs(d - r) > width / 2.0:
            return False
        a = math.degrees(math.atan2(-(y - cy), x - cx)) % 360.0
        return start <= a <= end if start <= end else (a >= start or a <= end)
    return inside


def segment(x0, y0, x1, y1, width):
    """A stroke of the given width with round ends."""
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy or 1e-9
    half2 = (width / 2) ** 2

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
        px, py = x0 + t * dx - x, y0 + t * dy - y
        return px * px + py * py <= half2
    return inside


def polyline(points, width):
    parts = [segment(*points[i], *points[i + 1], width) for i in range(len(points) - 1)]
    return lambda x, y: any(p(x, y) for p in parts)


def rect(x0, y0, x1, y1, radius=0.0):
    """Closed rectangle, corners rounded by radius."""
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        if radius <= 0:
            return True
        cx = min(max(x, x0 + radius), x1 - radius)
        cy = min(max(y, y0 + radius), y1 - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius
    return inside


def frame(x0, y0, x1, y1, width, radius=0.0):
    outer = rect(x0, y0, x1, y1, radius)
    inner = rect(x0 + width, y0 + width, x1 - width, y1 - width, max(0.0, radius - width))
    return lambda x, y: outer(x, y) and not inner(x, y)


def box(x0, y0, x1, y1):
    """Half-open rectangle: x0 <= x < x1, y0 <= y < y1 (sharp pixel edges)."""
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def box_frame(x0, y0, x1, y1, width):
    return lambda x, y: (x0 <= x < x1 and y0 <= y < y1
                         and not (x0 + width <= x < x1 - width and y0 + width <= y < y1 - width))


# ---- canvases -----------------------------------------------------------------------

class Canvas:
    """Square canvas painted shape by shape: each fill blends its colour over
    what is there by the share of samples the shape covers."""

    def __init__(self, size=48):
        self.size = size
        self.px = [[(0.0, 0.0, 0.0, 0.0)] * size for _ in range(size)]

    def fill(self, shape, colour):
        n = self.size
        r, g, b = colour[:3]
        a = colour[3] / 255.0 if len(colour) > 3 else 1.0
        for py in range(n):
            for px in range(n):
                hits = 0
                for sy in range(SS):
                    for sx in range(SS):
                        if shape(px + (sx + 0.5) / SS, py + (sy + 0.5) / SS):
                            hits += 1
                if not hits:
                    continue
                cov = a * hits / (SS * SS)
                dr, dg, db, da = self.px[py][px]
                out_a = cov + da * (1 - cov)
                if out_a <= 0:
                    continue
                mix = lambda s, d: (s * cov + d * da * (1 - cov)) / out_a
                self.px[py][px] = (mix(r, dr), mix(g, dg), mix(b, db), out_a)

    def pixels(self):
        return [(int(round(r)), int(round(g)), int(round(b)), int(round(a * 255)))
                for row in self.px for r, g, b, a in row]

    def png(self):
        return encode_png(self.size, self.size, self.pixels())


class Layers:
    """A w x h picture of shapes in order: at each sample the last shape that
    holds it gives the colour (r, g, b, a); a pixel is the mean of its samples."""

    def __init__(self, w, h, ss=SS):
        self.w, self.h, self.ss = w, h, ss
        self.shapes = []

    def add(self, inside, colour):
        self.shapes.append((inside, colour))

    def render(self):
        out = []
        ss = self.ss
        n = ss * ss
        for py in range(self.h):
            for px in range(self.w):
                acc = [0.0, 0.0, 0.0, 0.0]
                for sy in range(ss):
                    for sx in range(ss):
                        x, y = px + (sx + 0.5) / ss, py + (sy + 0.5) / ss
                        col = None
                        for inside, colour in self.shapes:
                            if inside(x, y):
                                col = colour
                        if col:
                            a = col[3] / 255.0
                            acc[0] += col[0] * a
                            acc[1] += col[1] * a
                            acc[2] += col[2] * a
                            acc[3] += a
                a = acc[3] / n
                if acc[3] > 0:
                    out.append((round(acc[0] / acc[3]), round(acc[1] / acc[3]),
                                round(acc[2] / acc[3]), round(a * 255)))
                else:
                    out.append((0, 0, 0, 0))
        return out

    def png(self):
        return encode_png(self.w, self.h, self.render())


def draw_icons(icons, target):
    """Writes each icon of icons (file name -> function painting a Canvas)
    into the folder target."""
    for name, draw in icons.items():
        canvas = Canvas()
        draw(canvas)
        with open(os.path.join(target, name), 'wb') as out:
            out.write(canvas.png())


# ---- the palette of the 48 x 48 icons -----------------------------------------------

INK = (40, 48, 60)
PAPER = (252, 252, 248)
EDGE = (110, 118, 130)
BLUE = (30, 90, 170)
RED = (200, 40, 40)
GREEN = (40, 140, 60)
GOLD = (230, 170, 20)
BROWN = (150, 100, 50)
SILVER = (170, 176, 186)
