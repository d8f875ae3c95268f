#!/usr/bin/env python3
"""Draws the program icon res/ZORVAN.png: a lightning bolt over a pylon-blue disc
(one sample per pixel, pngcanvas.py)."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pngcanvas import Layers, disc, polygon  # noqa: E402

N = 64
bolt = [(36, 6), (16, 36), (30, 36), (24, 58), (48, 26), (34, 26), (42, 6)]
icon = Layers(N, N, ss=1)
icon.add(disc(32, 32, 30.5), (20, 70, 150, 255))
icon.add(polygon(bolt), (255, 200, 0, 255))
open(sys.argv[1] if len(sys.argv) > 1 else 'res/ZORVAN.png', 'wb').write(icon.png())
