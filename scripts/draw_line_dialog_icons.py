#!/usr/bin/env python3
"""Draws the button icons of the line dialog and the line sections editor into res/lin/.

Drawn like the main window's icons: the 48 x 48 canvas, shapes and palette of pngcanvas.py.

    /usr/bin/python3 scripts/draw_line_dialog_icons.py [target-folder]
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pngcanvas import (draw_icons, polygon, disc, ring, segment, rect,  # noqa: E402
                       INK, PAPER, EDGE, BLUE, RED, GREEN, GOLD, SILVER)


def grid(c, x0=4, y0=6, x1=40, y1=40):
    c.fill(rect(x0, y0, x1, y1, 2), EDGE)
    c.fill(rect(x0 + 1.5, y0 + 1.5, x1 - 1.5, y1 - 1.5, 1), PAPER)
    c.fill(rect(x0 + 1.5, y0 + 1.5, x1 - 1.5, y0 + 8, 1), (120, 160, 215))
    for y in (y0 + 8, y0 + 16, y0 + 24):
        c.fill(segment(x0 + 1.5, y, x1 - 1.5, y, 1.2), EDGE)
    for x in (x0 + 12, x0 + 24):
        c.fill(segment(x, y0 + 1.5, x, y1 - 1.5, 1.2), EDGE)


def pencil(c, x0=24, y0=44, x1=44, y1=24):
    c.fill(segment(x0 + 3, y0 - 3, x1, y1, 6), GOLD)
    c.fill(polygon([(x0, y0), (x0 + 1, y0 - 6), (x0 + 6, y0 - 1)]), INK)


def table_item_edit(c):
    grid(c)
    c.fill(rect(17.5, 22.5, 27.5, 29.5), (250, 220, 120))
    pencil(c)


def table_edit(c):
    grid(c)
    pencil(c)


def action_log(c):
    # a small single-line scheme: bus, two feeders and a transformer
    c.fill(segment(6, 8, 42, 8, 3.5), INK)
    c.fill(segment(14, 8, 14, 26, 2.2), BLUE)
    c.fill(segment(34, 8, 34, 20, 2.2), BLUE)
    c.fill(ring(34, 25, 5.5, 2), RED)
    c.fill(ring(34, 33, 5.5, 2), RED)
    c.fill(segment(14, 26, 14, 42, 2.2), BLUE)
    c.fill(disc(14, 26, 3), GREEN)


def edit_project(c):
    # a sheet with summary rows and a total
    c.fill(rect(8, 3, 40, 45, 2), EDGE)
    c.fill(rect(9.5, 4.5, 38.5, 43.5, 1), PAPER)
    for y in (12, 18, 24, 30):
        c.fill(segment(14, y, 34, y, 1.8), EDGE)
    c.fill(segment(14, 37, 34, 37, 3), BLUE)


def model_run(c):
    c.fill(disc(24, 24, 21), GREEN)
    c.fill(polygon([(18, 12), (36, 24), (18, 36)]), (255, 255, 255))


def preview(c):
    c.fill(ring(20, 20, 12, 4), INK)
    c.fill(disc(20, 20, 10), (200, 225, 250))
    c.fill(segment(29, 29, 42, 42, 6), INK)


def add_standard_action(c):
    c.fill(ring(16, 20, 10, 3), BLUE)
    c.fill(ring(16, 30, 10, 3), RED)
    c.fill(disc(35, 35, 11), GREEN)
    c.fill(rect(29, 33.5, 41, 36.5), (255, 255, 255))
    c.fill(rect(33.5, 29, 36.5, 41), (255, 255, 255))


def copy1(c):
    for dx, dy in ((4, 4), (16, 16)):
        c.fill(rect(dx, dy, dx + 26, dy + 26, 2), EDGE)
        c.fill(rect(dx + 1.5, dy + 1.5, dx + 24.5, dy + 24.5, 1), PAPER)
        for y in (dy + 8, dy + 13, dy + 18):
            c.fill(segment(dx + 5, y, dx + 21, y, 1.5), SILVER)


def table_delete(c):
    grid(c, 2, 2, 34, 34)
    c.fill(disc(35, 35, 11), RED)
    c.fill(rect(29, 33.5, 41, 36.5), (255, 255, 255))


ICONS = {
    'table-item-edit.png': table_item_edit,
    'action_log.png': action_log,
    'table-edit.png': table_edit,
    'edit-project.png': edit_project,
    'model-run.png': model_run,
    'preview_24.png': preview,
    'add-standard-action.png': add_standard_action,
    'copy1.png': copy1,
    'table-delete.png': table_delete,
}


def main():
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..', 'res', 'lin')
    os.makedirs(target, exist_ok=True)
    draw_icons(ICONS, target)


if __name__ == '__main__':
    main()
