#!/usr/bin/env python3
"""Draws the icons of the scheme windows into res/scheme/.

Drawn like the main window's icons: the 48 x 48 canvas, shapes and palette of pngcanvas.py.

    /usr/bin/python3 scripts/draw_scheme_icons.py [target-folder]
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pngcanvas import (draw_icons, polygon, ring, segment, polyline, rect,  # noqa: E402
                       INK, PAPER, BLUE, RED, GREEN, GOLD, SILVER)


def galka_red(c):
    # a red tick: the navigation window's picture until the scheme's is set
    c.fill(polyline([(7, 25), (19, 38), (42, 10)], 7), RED)


def calc_discn(c):
    # a scheme laid out on its grid: buses in columns joined by sections
    for x in (10, 24, 38):
        c.fill(segment(x, 4, x, 44, 1), SILVER)
    c.fill(polyline([(10, 12), (24, 12), (38, 12)], 2.2), BLUE)
    c.fill(polyline([(24, 12), (24, 32), (38, 32)], 2.2), BLUE)
    for x, y in ((10, 12), (24, 12), (38, 12), (24, 32), (38, 32)):
        c.fill(rect(x - 4, y - 2, x + 4, y + 2), INK)
    c.fill(ring(10, 36, 4, 1.8), RED)
    c.fill(ring(10, 42, 4, 1.8), RED)
    c.fill(segment(10, 14, 10, 32, 1.8), RED)


def stacked(c, blue_on_top):
    # a plain sheet and a blue one; the blue one is the selected element,
    # drawn over the other or under it
    plain, blue = (4, 4, 28, 28), (16, 16, 40, 40)

    def sheet(box, inner):
        c.fill(rect(*box, 2), INK)
        c.fill(rect(box[0] + 2, box[1] + 2, box[2] - 2, box[3] - 2, 1), inner)

    for box in ((plain, blue) if blue_on_top else (blue, plain)):
        sheet(box, BLUE if box is blue else PAPER)
    if blue_on_top:
        c.fill(polygon([(44, 4), (44, 14), (34, 4)]), GREEN)
    else:
        c.fill(polygon([(44, 44), (34, 44), (44, 34)]), GOLD)


def bringtofront(c):
    stacked(c, True)


def sendtoback(c):
    stacked(c, False)


ICONS = {
    'galka-red.png': galka_red,
    'calc_discn.png': calc_discn,
    'bringtofront.png': bringtofront,
    'sendtoback.png': sendtoback,
}


def main():
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..', 'res', 'scheme')
    os.makedirs(target, exist_ok=True)
    draw_icons(ICONS, target)


if __name__ == '__main__':
    main()
