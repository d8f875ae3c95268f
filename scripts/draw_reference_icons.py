#!/usr/bin/env python3
"""Draws the button icons of the catalog and load-graph editors that no other
window has into res/reference/: the search glass and the row delete.

Drawn like the line dialog's icons: the 48 x 48 canvas, shapes and palette of pngcanvas.py.

    /usr/bin/python3 scripts/draw_reference_icons.py [target-folder]
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pngcanvas import (draw_icons, disc, ring, segment, rect,  # noqa: E402
                       INK, PAPER, EDGE, RED, GOLD)


def rows(c, x0=4, y0=6, x1=34, y1=34):
    # a small table: its frame, heading and row lines
    c.fill(rect(x0, y0, x1, y1, 2), EDGE)
    c.fill(rect(x0 + 1.5, y0 + 1.5, x1 - 1.5, y1 - 1.5, 1), PAPER)
    c.fill(rect(x0 + 1.5, y0 + 1.5, x1 - 1.5, y0 + 7, 1), (120, 160, 215))
    for y in (y0 + 14, y0 + 21):
        c.fill(segment(x0 + 1.5, y, x1 - 1.5, y, 1.2), EDGE)


def search1(c):
    c.fill(segment(29, 29, 43, 43, 7), GOLD)
    c.fill(segment(29, 29, 43, 43, 3), (170, 85, 0))
    c.fill(disc(19, 19, 13), (200, 225, 250))
    c.fill(ring(19, 19, 14, 4), INK)
    c.fill(segment(12, 15, 16, 11, 2.5), (255, 255, 255))


def table_item_delete(c):
    rows(c)
    # the row to go, marked, and a red cross over it
    c.fill(rect(5.5, 21, 32.5, 26.5), (250, 220, 120))
    c.fill(disc(35, 35, 11), RED)
    c.fill(segment(30, 30, 40, 40, 3), (255, 255, 255))
    c.fill(segment(40, 30, 30, 40, 3), (255, 255, 255))


ICONS = {
    'search1.png': search1,
    'table-item-delete.png': table_item_delete,
}


def main():
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..', 'res', 'reference')
    os.makedirs(target, exist_ok=True)
    draw_icons(ICONS, target)


if __name__ == '__main__':
    main()
