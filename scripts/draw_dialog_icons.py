#!/usr/bin/env python3
"""Draws the icons of the RES dialog and of the work window into res/ (the other
buttons share the line dialog's icons of res/lin.qrc).

Drawn like the main window's icons: the 48 x 48 canvas, shapes and palette of pngcanvas.py.

    /usr/bin/python3 scripts/draw_dialog_icons.py [target-folder]
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pngcanvas import draw_icons, polygon, polyline, rect, EDGE, GREEN, GOLD  # noqa: E402


def galka_green(c):
    # a green tick
    c.fill(polyline([(7, 25), (19, 38), (42, 10)], 7), GREEN)


def waiting(c):
    # an hourglass
    c.fill(rect(10, 3, 38, 8, 2), (150, 100, 50))
    c.fill(rect(10, 40, 38, 45, 2), (150, 100, 50))
    glass = [(13, 8), (35, 8), (26, 24), (35, 40), (13, 40), (22, 24)]
    c.fill(polygon(glass), (200, 225, 245))
    c.fill(polyline(glass + [glass[0]], 1.5), EDGE)
    c.fill(polygon([(17, 13), (31, 13), (24, 22)]), GOLD)
    c.fill(polygon([(24, 31), (32, 38.5), (16, 38.5)]), GOLD)


ICONS = {
    'galka-green.png': galka_green,
    'waiting.png': waiting,
}


def main():
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..', 'res')
    draw_icons(ICONS, target)


if __name__ == '__main__':
    main()
