#!/usr/bin/env python3
"""Draws the icons of the RES and PES dialogs and of the work window into res/.

Uses the canvas and shapes of draw_shell_icons.py (same size, same supersampling).

    /usr/bin/python3 scripts/draw_dialog_icons.py [target-folder]
"""
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from draw_shell_icons import (Canvas, polygon, disc, ring, segment, polyline, rect, frame,  # noqa: E402
                              INK, PAPER, EDGE, BLUE, RED, GREEN, GOLD, SILVER, page)


def model_run(c):
    # a green start triangle over a gear of the calculation
    c.fill(ring(24, 24, 18, 4), SILVER)
    for k in range(8):
        a = k * math.pi / 4
        c.fill(segment(24 + 17 * math.cos(a), 24 + 17 * math.sin(a),
                       24 + 22 * math.cos(a), 24 + 22 * math.sin(a), 5), SILVER)
    c.fill(polygon([(17, 12), (36, 24), (17, 36)]), GREEN)


def table_item_edit(c):
    # a table and a pencil writing into it
    c.fill(rect(3, 6, 35, 38, 2), EDGE)
    c.fill(rect(4.5, 7.5, 33.5, 36.5, 1), PAPER)
    c.fill(rect(4.5, 7.5, 33.5, 13, 1), (120, 160, 215))
    for y in (13, 21, 29):
        c.fill(segment(4.5, y, 33.5, y, 1.2), EDGE)
    c.fill(segment(16, 7.5, 16, 36.5, 1.2), EDGE)
    c.fill(segment(22, 40, 42, 16, 6), GOLD)
    c.fill(segment(40, 18.5, 44, 13.5, 6), RED)
    c.fill(polygon([(18, 44), (19.5, 37), (24.5, 41)]), INK)


def edit_project(c):
    # a bound archive book
    c.fill(rect(8, 5, 40, 44, 3), BLUE)
    c.fill(rect(8, 5, 13, 44, 2), (20, 60, 120))
    c.fill(rect(17, 11, 35, 20, 1), PAPER)
    for y in (14, 17):
        c.fill(segment(19, y, 33, y, 1.0), EDGE)
    c.fill(rect(13, 38, 40, 44, 1), PAPER)


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
    'model-run.png': model_run,
    'table-item-edit.png': table_item_edit,
    'edit-project.png': edit_project,
    'galka-green.png': galka_green,
    'waiting.png': waiting,
}


def main():
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..', 'res')
    for name, draw in ICONS.items():
        canvas = Canvas()
        draw(canvas)
        with open(os.path.join(target, name), 'wb') as out:
            out.write(canvas.png())


if __name__ == '__main__':
    main()
