#!/usr/bin/env python3
"""Draws the icons of the main window (tool bar, tool box pages, buttons) into res/.

Each icon is a list of filled shapes painted over a transparent 48 x 48 canvas
of pngcanvas.py with 4 x 4 supersampling, so that the edges stay smooth when Qt
scales the icons down to 24 or 16 pixels.

    /usr/bin/python3 scripts/draw_shell_icons.py [target-folder]
"""
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pngcanvas import (draw_icons, polygon, disc, ring, segment, polyline, rect, frame,  # noqa: E402
                       INK, PAPER, EDGE, BLUE, RED, GREEN, GOLD, BROWN, SILVER)


def page(c, x0=9, y0=3, x1=39, y1=45, fold=10):
    """A sheet of paper with a folded upper right corner."""
    outline = [(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)]
    c.fill(polygon(outline), EDGE)
    inner = [(x0 + 1.5, y0 + 1.5), (x1 - fold - 0.6, y0 + 1.5), (x1 - 1.5, y0 + fold + 0.6),
             (x1 - 1.5, y1 - 1.5), (x0 + 1.5, y1 - 1.5)]
    c.fill(polygon(inner), PAPER)
    c.fill(polygon([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)]), (215, 218, 224))
    c.fill(polyline([(x1 - fold, y0 + 1), (x1 - fold, y0 + fold), (x1 - 1, y0 + fold)], 1.5), EDGE)


def transformer(c):
    # two overlapping windings, the usual sign of a transformer
    c.fill(segment(2, 24, 6, 24, 3), INK)
    c.fill(segment(42, 24, 46, 24, 3), INK)
    c.fill(ring(18, 24, 12, 3.5), BLUE)
    c.fill(ring(30, 24, 12, 3.5), RED)


def overhead_line(c):
    # a lattice pylon carrying three wires
    tower = [((15, 45), (21.5, 6)), ((33, 45), (26.5, 6)),
             ((6, 13), (42, 13)), ((9, 22), (39, 22)),
             ((21.5, 6), (26.5, 6)), ((17, 33), (31, 33)),
             ((20, 13), (30, 22)), ((28, 13), (18, 22)),
             ((18, 22), (31, 33)), ((30, 22), (17, 33)),
             ((17, 33), (33, 45)), ((31, 33), (15, 45))]
    for (a, b) in tower:
        c.fill(segment(*a, *b, 2.2 if a[1] != b[1] or a[0] in (6, 9) else 2.0), INK)
    for x, y in ((7, 13), (41, 13), (10, 22), (38, 22)):
        c.fill(segment(x, y, x, y + 4, 2.4), GOLD)
    wire = lambda x0, y0, x1: [(x0 + (x1 - x0) * t / 10,
                                y0 + 3 * math.sin(math.pi * t / 10)) for t in range(11)]
    c.fill(polyline(wire(0, 17, 7) , 1.4), BLUE)
    c.fill(polyline(wire(41, 17, 48), 1.4), BLUE)
    c.fill(polyline(wire(0, 26, 10), 1.4), BLUE)
    c.fill(polyline(wire(38, 26, 48), 1.4), BLUE)


def load_graph_file(c):
    page(c)
    c.fill(polyline([(14, 14), (14, 40), (35, 40)], 1.6), INK)
    curve = [(14, 34), (17, 33), (20, 27), (23, 22), (26, 25), (29, 19), (32, 23), (35, 28)]
    c.fill(polyline(curve, 2.4), RED)


def information(c):
    c.fill(disc(24, 24, 21), BLUE)
    c.fill(ring(24, 24, 20.5, 1.5), (20, 60, 120))
    c.fill(disc(24, 13.5, 3.6), (255, 255, 255))
    c.fill(rect(20.5, 19.5, 27.5, 37, 2), (255, 255, 255))
    c.fill(rect(18, 34, 30, 38, 1.5), (255, 255, 255))


def blank_file(c):
    page(c)


def paste(c):
    # a clipboard with a written sheet
    c.fill(rect(7, 6, 41, 45, 4), BROWN)
    c.fill(rect(11, 11, 37, 42, 1.5), PAPER)
    c.fill(rect(16, 3, 32, 12, 3), SILVER)
    c.fill(frame(16, 3, 32, 12, 1.3, 3), EDGE)
    for y in (18, 23, 28, 33):
        c.fill(segment(15, y, 33 if y != 33 else 26, y, 1.8), EDGE)


def catalogs(c):
    # a reference book: cover, page block and a bookmark
    c.fill(rect(9, 4, 39, 44, 3), GREEN)
    c.fill(rect(13, 38, 39, 44, 1), PAPER)
    c.fill(segment(14, 40.5, 38, 40.5, 0.8), SILVER)
    c.fill(rect(9, 4, 13, 44, 2), (25, 100, 45))
    c.fill(rect(17, 10, 35, 18, 1), (235, 240, 230))
    c.fill(polygon([(30, 4), (34, 4), (34, 16), (32, 13.5), (30, 16)]), RED)


def table_save(c):
    # a table whose rows go down into a file
    c.fill(rect(4, 4, 38, 36, 2), EDGE)
    c.fill(rect(5.5, 5.5, 36.5, 34.5, 1), PAPER)
    c.fill(rect(5.5, 5.5, 36.5, 12, 1), (120, 160, 215))
    for y in (12, 19.5, 27):
        c.fill(segment(5.5, y, 36.5, y, 1.2), EDGE)
    for x in (16, 26):
        c.fill(segment(x, 5.5, x, 34.5, 1.2), EDGE)
    c.fill(disc(36, 36, 11), GREEN)
    c.fill(polygon([(31, 35), (34, 35), (34, 28), (38, 28), (38, 35), (41, 35), (36, 42)]),
           (255, 255, 255))


def delete_file(c):
    page(c)
    for y in (16, 22, 28):
        c.fill(segment(14, y, 30, y, 1.8), EDGE)
    c.fill(segment(24, 26, 44, 46, 5), RED)
    c.fill(segment(44, 26, 24, 46, 5), RED)


ICONS = {
    'calc_TKZ.png': delete_file,
    'transformer.png': transformer,
    'VL.png': overhead_line,
    'file-project.png': load_graph_file,
    'information.png': information,
    'file-blank.png': blank_file,
    'report-editpaste.png': paste,
    'file-ic.png': catalogs,
    'table-save.png': table_save,
}


def main():
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..', 'res')
    draw_icons(ICONS, target)


if __name__ == '__main__':
    main()
