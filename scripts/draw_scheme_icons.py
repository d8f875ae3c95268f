#!/usr/bin/env python3
"""Draws the icons of the scheme windows into res/scheme/.

Drawn like the main window's icons: the 48 x 48 canvas, shapes and palette of pngcanvas.py.

    /usr/bin/python3 scripts/draw_scheme_icons.py [target-folder]
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pngcanvas import draw_icons, polyline, RED  # noqa: E402


def galka_red(c):
    # a red tick: the navigation window's picture until the scheme's is set
    c.fill(polyline([(7, 25), (19, 38), (42, 10)], 7), RED)


ICONS = {
    'galka-red.png': galka_red,
}


def main():
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..', 'res', 'scheme')
    os.makedirs(target, exist_ok=True)
    draw_icons(ICONS, target)


if __name__ == '__main__':
    main()
