#!/usr/bin/env python3
"""Draws the report viewer's icons into res/: a printer with a page
(report-fileprint.png) and the search arrows down and up
(table-item-down.png, table-item-up.png). Pure Python, 4x4 supersampled
(pngcanvas.py)."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pngcanvas import Layers, polygon  # noqa: E402

N = 24


def rect(x0, y0, x1, y1):
    return [(x0, y0), (x1, y0), (x1, y1), (x0, y1)]


def png(shapes):
    """shapes: list of (polygon points, rgba), later shapes paint over earlier ones."""
    picture = Layers(N, N)
    for points, rgba in shapes:
        picture.add(polygon(points), rgba)
    return picture.png()


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
        f.write(png(shapes))
