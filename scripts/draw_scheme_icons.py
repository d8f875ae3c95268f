#!/usr/bin/env python3
"""Draws the icons of the scheme windows into res/scheme/.

Drawn like the main window's icons: the 48 x 48 canvas, shapes and palette of pngcanvas.py.

    /usr/bin/python3 scripts/draw_scheme_icons.py [target-folder]
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pngcanvas import (draw_icons, polygon, disc, ring, segment, polyline, rect,  # noqa: E402
                       frame, INK, PAPER, EDGE, BLUE, RED, GREEN, GOLD, SILVER)

WHITE = (255, 255, 255)


def galka_red(c):
    # a red tick: the navigation window's picture until the scheme's is set
    c.fill(polyline([(7, 25), (19, 38), (42, 10)], 7), RED)


def about_screen(c):
    # a screen showing the whole scheme, with the part in view framed red
    c.fill(rect(3, 6, 45, 36, 3), EDGE)
    c.fill(rect(6, 9, 42, 33, 1), PAPER)
    c.fill(segment(10, 14, 38, 14, 2.5), INK)
    c.fill(segment(15, 14, 15, 28, 1.8), BLUE)
    c.fill(segment(31, 14, 31, 28, 1.8), BLUE)
    c.fill(segment(11, 28, 19, 28, 2.5), INK)
    c.fill(segment(27, 28, 35, 28, 2.5), INK)
    c.fill(frame(24, 11, 40, 31, 2), RED)
    c.fill(rect(20, 36, 28, 41), EDGE)
    c.fill(rect(13, 41, 35, 44, 1), EDGE)


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


def magnifier(c):
    c.fill(segment(29, 29, 43, 43, 6), (120, 80, 40))
    c.fill(disc(19, 19, 15), EDGE)
    c.fill(disc(19, 19, 12.5), WHITE)


def report_zoomin(c):
    magnifier(c)
    c.fill(segment(12, 19, 26, 19, 3.5), GREEN)
    c.fill(segment(19, 12, 19, 26, 3.5), GREEN)


def report_zoomout(c):
    magnifier(c)
    c.fill(segment(12, 19, 26, 19, 3.5), RED)


def server_connect_off(c):
    # a palette with colour wells: the background colour
    c.fill(disc(24, 24, 20), GOLD)
    c.fill(disc(31, 33, 5), WHITE)
    for (x, y), colour in zip(((14, 18), (22, 11), (32, 14), (14, 30)), (RED, GREEN, BLUE, INK)):
        c.fill(disc(x, y, 4), colour)
    c.fill(ring(31, 33, 5, 1.5), EDGE)


ICONS = {
    'galka-red.png': galka_red,
    'about-screen.png': about_screen,
    'calc_discn.png': calc_discn,
    'bringtofront.png': bringtofront,
    'sendtoback.png': sendtoback,
    'report-zoomin.png': report_zoomin,
    'report-zoomout.png': report_zoomout,
    'server-connect-off.png': server_connect_off,
}


def main():
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..', 'res', 'scheme')
    os.makedirs(target, exist_ok=True)
    draw_icons(ICONS, target)


if __name__ == '__main__':
    main()
