#!/usr/bin/env python3
"""Draws the report viewer's icons into res/: a printer with a page
(report-fileprint.png) and the search arrows down and up
(table-item-down.png, table-item-up.png). Pure Python, 4x4 supersampled."""
import os, struct, sys, zlib

N = 24
SS = 4


def inside_poly(x, y, poly):
    c = False
    j = len(poly) - 1
    for i in range(len(poly)):
        xi, yi = poly[i]; xj, yj = poly[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            c = not c
        j = i
    return c


def rect(x0, y0, x1, y1):
    return [(x0, y0), (x1, y0), (x1, y1), (x0, y1)]


def render(shapes):
    """shapes: list of (polygon, rgba), later shapes paint over earlier ones."""
    rows = []
    for y in range(N):
        row = bytearray([0])
        for x in range(N):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SS):
                for sx in range(SS):
                    px, py = x + (sx + 0.5) / SS, y + (sy + 0.5) / SS
                    col = (0, 0, 0, 0)
                    for poly, rgba in shapes:
                        if inside_poly(px, py, poly):
                            col = rgba
                    a = col[3] / 255.0
                    acc[0] += col[0] * a; acc[1] += col[1] * a; acc[2] += col[2] * a; acc[3] += a
            n = SS * SS
            alpha = acc[3] / n
            if alpha > 0:
                px = tuple(int(round(c / acc[3])) for c in acc[:3]) + (int(round(alpha * 255)),)
            else:
                px = (0, 0, 0, 0)
            row += bytes(px)
        rows.append(bytes(row))
    return rows


def png(rows):
    def chunk(kind, data):
        c = struct.pack('>I', len(data)) + kind + data
        return c + struct.pack('>I', zlib.crc32(kind + data) & 0xffffffff)
    out = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', N, N, 8, 6, 0, 0, 0))
    return out + chunk(b'IDAT', zlib.compress(b''.join(rows), 9)) + chunk(b'IEND', b'')


OUTLINE = (40, 48, 60, 255)
BODY = (110, 122, 140, 255)
PAPER = (250, 250, 250, 255)
INK = (20, 70, 150, 255)
LAMP = (255, 200, 0, 255)

printer = [
    (rect(6, 2, 18, 10), OUTLINE), (rect(7, 3, 17, 10), PAPER),          # sheet going in
    (rect(2, 9, 22, 19), OUTLINE), (rect(3, 10, 21, 18), BODY),          # body
    (rect(17, 11, 19, 13), LAMP),                                         # lamp
    (rect(5, 14, 19, 23), OUTLINE), (rect(6, 15, 18, 22), PAPER),        # printed page
    (rect(8, 17, 16, 18), INK), (rect(8, 19, 14, 20), INK),             # its lines
]

down = [
    (rect(9, 2, 15, 13), OUTLINE), (rect(10, 3, 14, 13), INK),
    ([(3, 12), (21, 12), (12, 22)], OUTLINE), ([(5.2, 13), (18.8, 13), (12, 20.2)], INK),
]
up = [([(x, N - y) for x, y in poly], col) for poly, col in down]

target = sys.argv[1] if len(sys.argv) > 1 else 'res'
for name, shapes in (('report-fileprint.png', printer), ('table-item-down.png', down),
                     ('table-item-up.png', up)):
    with open(os.path.join(target, name), 'wb') as f:
        f.write(png(render(shapes)))
