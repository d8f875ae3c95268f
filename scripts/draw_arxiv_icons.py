#!/usr/bin/env python3
"""Draws the button icons of the loss archive viewer into res/arxiv/.

Drawn like the other icons: the 48 x 48 canvas, shapes and palette of pngcanvas.py.

    /usr/bin/python3 scripts/draw_arxiv_icons.py [target-folder]
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pngcanvas import (draw_icons, disc, segment, rect,  # noqa: E402
                       PAPER, EDGE, BLUE, RED, GREEN, SILVER)

WHITE = (255, 255, 255)


def sheet(c, x0=4, y0=4, x1=36, y1=40):
    # a workbook page: ruled rows under a green header
    c.fill(rect(x0, y0, x1, y1, 2), EDGE)
    c.fill(rect(x0 + 1.5, y0 + 1.5, x1 - 1.5, y1 - 1.5, 1), PAPER)
    c.fill(rect(x0 + 1.5, y0 + 1.5, x1 - 1.5, y0 + 8, 1), GREEN)
    for y in range(int(y0) + 14, int(y1) - 2, 6):
        c.fill(segment(x0 + 5, y, x1 - 5, y, 1.5), SILVER)


def table_item_info(c):
    sheet(c)
    c.fill(disc(35, 35, 11), BLUE)
    c.fill(disc(35, 29.5, 1.8), WHITE)
    c.fill(rect(33.5, 33, 36.5, 41), WHITE)


def cross(c, cx, cy, half, width, colour):
    c.fill(segment(cx - half, cy - half, cx + half, cy + half, width), colour)
    c.fill(segment(cx - half, cy + half, cx + half, cy - half, width), colour)


def table_item_delete(c):
    sheet(c)
    c.fill(disc(35, 35, 11), RED)
    cross(c, 35, 35, 5, 3, WHITE)


def delete(c):
    # a waste bin with a red cross over it
    c.fill(rect(10, 8, 38, 12, 1), EDGE)
    c.fill(rect(19, 4, 29, 9, 1), EDGE)
    c.fill(rect(12, 13, 36, 44, 2), EDGE)
    c.fill(rect(14, 15, 34, 42, 1), PAPER)
    for x in (19, 24, 29):
        c.fill(segment(x, 18, x, 39, 2), SILVER)
    cross(c, 24, 28, 13, 5, RED)


ICONS = {
    'table-item-info.png': table_item_info,
    'table-item-delete.png': table_item_delete,
    'delete.png': delete,
}


def main():
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..', 'res', 'arxiv')
    os.makedirs(target, exist_ok=True)
    draw_icons(ICONS, target)


if __name__ == '__main__':
    main()
