#!/usr/bin/env python3
"""Draws the images of the object tree into res/: the branch marks of the tree
view and the icons of its command buttons. Plain Python, no imaging library:
each picture is a few shapes of pngcanvas.py rasterised with 4x4 supersampling.

Usage: draw_tree_icons.py [output folder]   (default: res/ beside this script)
"""
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pngcanvas import Layers, arc, box, box_frame, disc, polygon, segment, write_png  # noqa: E402


class Canvas(Layers):
    """Shapes are painted in order; each is a predicate over a point and a colour."""

    def rect(self, x0, y0, x1, y1, colour):
        self.add(box(x0, y0, x1, y1), colour)

    def frame(self, x0, y0, x1, y1, t, colour):
        self.add(box_frame(x0, y0, x1, y1, t), colour)

    def line(self, ax, ay, bx, by, t, colour):
        self.add(segment(ax, ay, bx, by, t), colour)

    def disc(self, cx, cy, r, colour):
        self.add(disc(cx, cy, r), colour)

    def ring(self, cx, cy, r, t, colour, start=0.0, end=360.0):
        self.add(arc(cx, cy, r, t, start, end), colour)

    def poly(self, pts, colour):
        self.add(polygon(pts), colour)


LINE = (128, 128, 128, 255)
BOX = (70, 100, 150, 255)
BOX_FILL = (240, 245, 252, 255)
MARK = (30, 60, 120, 255)
GRID = (90, 110, 140, 255)
SHEET = (250, 250, 250, 255)
HEAD = (120, 160, 210, 255)
GREEN = (30, 150, 60, 255)
RED = (200, 40, 40, 255)
BLUE = (40, 90, 190, 255)
ORANGE = (230, 140, 20, 255)


# ---- Branch marks (20 x 20, stretched or centred by the tree view) ----------

def branch_lines(c, up, down, right):
    mid = 10
    if up:
        c.rect(mid - 0.5, 0, mid + 0.5, mid, LINE)
    if down:
        c.rect(mid - 0.5, mid, mid + 0.5, 20, LINE)
    if right:
        c.rect(mid, mid - 0.5, 20, mid + 0.5, LINE)


def node(opened, siblings):
    c = Canvas(20, 20)
    branch_lines(c, True, siblings, True)
    c.rect(5, 5, 15, 15, BOX_FILL)
    c.frame(5, 5, 15, 15, 1, BOX)
    c.rect(7, 9.5, 13, 10.5, MARK)
    if not opened:
        c.rect(9.5, 7, 10.5, 13, MARK)
    return c


def vline():
    c = Canvas(20, 20)
    branch_lines(c, True, True, False)
    return c


def branch_more():
    c = Canvas(20, 20)
    branch_lines(c, True, True, True)
    return c


def branch_end():
    c = Canvas(20, 20)
    branch_lines(c, True, False, True)
    return c


# ---- Button icons (32 x 32) -------------------------------------------------

def table(c, x0, y0, x1, y1):
    c.rect(x0, y0, x1, y1, SHEET)
    c.rect(x0, y0, x1, y0 + 5, HEAD)
    c.frame(x0, y0, x1, y1, 1.2, GRID)
    for k in range(1, 3):
        y = y0 + 5 + k * (y1 - y0 - 5) / 3.0
        c.rect(x0, y - 0.5, x1, y + 0.5, GRID)
    xm = (x0 + x1) / 2.0
    c.rect(xm - 0.5, y0, xm + 0.5, y1, GRID)


def plus(c, cx, cy, r, colour):
    c.disc(cx, cy, r, (255, 255, 255, 255))
    c.disc(cx, cy, r - 1, colour)
    c.rect(cx - r + 3, cy - 1.2, cx + r - 3, cy + 1.2, (255, 255, 255, 255))
    c.rect(cx - 1.2, cy - r + 3, cx + 1.2, cy + r - 3, (255, 255, 255, 255))


def table_add():
    c = Canvas(32, 32)
    table(c, 2, 3, 26, 25)
    plus(c, 23, 23, 8, GREEN)
    return c


def table_item_add():
    c = Canvas(32, 32)
    table(c, 2, 2, 22, 18)
    # a new row hanging below the table
    c.rect(8, 20, 28, 26, SHEET)
    c.frame(8, 20, 28, 26, 1.2, GREEN)
    c.line(5, 18, 5, 23, 1.5, GRID)
    c.line(5, 23, 8, 23, 1.5, GRID)
    plus(c, 24, 24, 7, GREEN)
    return c


def cancel():
    c = Canvas(32, 32)
    c.disc(16, 16, 14, (150, 20, 20, 255))
    c.disc(16, 16, 12.5, RED)
    c.line(10.5, 10.5, 21.5, 21.5, 3.5, (255, 255, 255, 255))
    c.line(21.5, 10.5, 10.5, 21.5, 3.5, (255, 255, 255, 255))
    return c


def page(c, x0, y0, x1, y1, fill):
    fold = 5
    c.poly([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)], GRID)
    c.poly([(x0 + 1.2, y0 + 1.2), (x1 - fold - 0.5, y0 + 1.2), (x1 - 1.2, y0 + fold + 0.5),
            (x1 - 1.2, y1 - 1.2), (x0 + 1.2, y1 - 1.2)], fill)
    for k in range(3):
        y = y0 + 8 + k * 4
        if y < y1 - 3:
            c.rect(x0 + 3, y, x1 - 4, y + 1, (160, 170, 190, 255))


def report_copy():
    c = Canvas(32, 32)
    page(c, 3, 2, 20, 23, SHEET)
    page(c, 12, 9, 29, 30, (235, 243, 255, 255))
    return c


def arrow(c, ax, ay, bx, by, colour, t=3.0, head=6.0):
    ang = math.atan2(by - ay, bx - ax)
    hx, hy = bx - head * math.cos(ang), by - head * math.sin(ang)
    c.line(ax, ay, hx, hy, t, colour)
    nx, ny = -math.sin(ang), math.cos(ang)
    c.poly([(bx, by), (hx + nx * head * 0.7, hy + ny * head * 0.7),
            (hx - nx * head * 0.7, hy - ny * head * 0.7)], colour)


def table_item_join():
    c = Canvas(32, 32)
    table(c, 10, 8, 30, 28)
    page(c, 1, 1, 12, 15, SHEET)
    arrow(c, 7, 16, 17, 22, GREEN)
    return c


def table_import():
    c = Canvas(32, 32)
    table(c, 2, 10, 22, 30)
    arrow(c, 29, 3, 17, 16, BLUE, t=3.2, head=7.0)
    return c


def update_events():
    c = Canvas(32, 32)
    c.ring(16, 16, 11, 3.2, ORANGE, 20, 160)
    c.ring(16, 16, 11, 3.2, BLUE, 200, 340)
    # arrow heads at the ends of both arcs
    c.poly([(3, 11), (10, 16), (2.5, 19)], ORANGE)
    c.poly([(29, 21), (22, 16), (29.5, 13)], BLUE)
    return c


IMAGES = {
    'node_branch_close1.png': lambda: node(False, False),
    'node_branch_close.png': lambda: node(False, True),
    'node_branch_open1.png': lambda: node(True, False),
    'node_branch_open.png': lambda: node(True, True),
    'branch_more.png': branch_more,
    'branch_end.png': branch_end,
    'vline.png': vline,
    'table-add.png': table_add,
    'table-item-add.png': table_item_add,
    'cancel1.png': cancel,
    'report-editcopy.png': report_copy,
    'table-item-join.png': table_item_join,
    'table-import-blank.png': table_import,
    'update_events.png': update_events,
}


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..', 'res')
    for name, draw in IMAGES.items():
        c = draw()
        write_png(os.path.join(out, name), c.w, c.h, c.render())


if __name__ == '__main__':
    main()
