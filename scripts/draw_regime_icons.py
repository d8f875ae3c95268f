#!/usr/bin/env python3
"""Draws the icons of the regime window into res/regime/: the error log, the
navigation picture, the background colour and the two zoom buttons (48 x 48,
shapes and palette of pngcanvas.py), and the colour swatches of the legend
of its parameter pop-up (16 x 16, the colour of each band in a dark frame).

    /usr/bin/python3 scripts/draw_regime_icons.py [target-folder]
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pngcanvas import (Canvas, draw_icons, disc, ring, segment, rect,  # noqa: E402
                       INK, PAPER, EDGE, BLUE, RED, GREEN, GOLD)


def calc_ur(c):
    # a log sheet with a warning mark
    c.fill(rect(6, 3, 34, 43, 2), EDGE)
    c.fill(rect(7.5, 4.5, 32.5, 41.5, 1), PAPER)
    for y in (11, 17, 23, 29, 35):
        c.fill(segment(12, y, 28, y, 1.8), EDGE)
    c.fill(disc(34, 34, 11), RED)
    c.fill(rect(32.5, 26, 35.5, 36, 1), (255, 255, 255))
    c.fill(disc(34, 40, 1.8), (255, 255, 255))


def about_screen(c):
    # the whole scheme in small, with the part shown framed
    c.fill(rect(3, 6, 45, 38, 2), INK)
    c.fill(rect(5, 8, 43, 36), (20, 20, 20))
    c.fill(segment(9, 14, 39, 14, 2), BLUE)
    c.fill(segment(15, 14, 15, 30, 1.5), GOLD)
    c.fill(segment(31, 14, 31, 30, 1.5), GOLD)
    c.fill(segment(11, 30, 35, 30, 2), BLUE)
    c.fill(rect(20, 18, 38, 33), (255, 255, 255, 60))
    for x0, y0, x1, y1 in ((20, 18, 38, 18), (38, 18, 38, 33), (38, 33, 20, 33), (20, 33, 20, 18)):
        c.fill(segment(x0, y0, x1, y1, 1.6), RED)
    c.fill(rect(18, 38, 30, 42), EDGE)
    c.fill(rect(12, 42, 36, 45, 1), EDGE)


def server_connect_off(c):
    # a dark background with the colours it may take
    c.fill(rect(4, 4, 44, 44, 4), INK)
    c.fill(disc(16, 17, 6.5), RED)
    c.fill(disc(32, 17, 6.5), GREEN)
    c.fill(disc(24, 31, 6.5), BLUE)


def magnifier(c):
    c.fill(ring(20, 20, 13, 4), INK)
    c.fill(disc(20, 20, 11), (200, 225, 250))
    c.fill(segment(30, 30, 43, 43, 6), INK)
    c.fill(segment(13, 20, 27, 20, 3.5), INK)


def zoom_in(c):
    magnifier(c)
    c.fill(segment(20, 13, 20, 27, 3.5), INK)


ICONS = {
    'calc_UR.png': calc_ur,
    'about-screen.png': about_screen,
    'server-connect-off.png': server_connect_off,
    'report-zoomin.png': zoom_in,
    'report-zoomout.png': magnifier,
}

# The legend's colours: node and branch bands of the regime display.
SWATCHES = {
    'madgclr.png': (0, 255, 255),
    'blueclr.png': (0, 128, 255),
    'whiteclr.png': (255, 255, 255),
    'greyclr.png': (128, 128, 128),
    'greenclr.png': (0, 178, 0),
    'yellclr.png': (228, 228, 0),
    'redclr.png': (255, 0, 0),
}


def swatch(colour):
    c = Canvas(16)
    c.fill(rect(0, 0, 16, 16), (60, 60, 60))
    c.fill(rect(1.5, 1.5, 14.5, 14.5), colour)
    return c.png()


def main():
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..', 'res', 'regime')
    os.makedirs(target, exist_ok=True)
    draw_icons(ICONS, target)
    for name, colour in SWATCHES.items():
        with open(os.path.join(target, name), 'wb') as out:
            out.write(swatch(colour))


if __name__ == '__main__':
    main()
