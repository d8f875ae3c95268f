#!/usr/bin/env python3
"""Draws the program icon res/ZORVAN.png: a lightning bolt over a pylon-blue disc."""
import struct, zlib, sys

N = 64
def inside_poly(x, y, poly):
    c = False
    j = len(poly) - 1
    for i in range(len(poly)):
        xi, yi = poly[i]; xj, yj = poly[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            c = not c
        j = i
    return c

bolt = [(36, 6), (16, 36), (30, 36), (24, 58), (48, 26), (34, 26), (42, 6)]
rows = []
for y in range(N):
    row = bytearray([0])
    for x in range(N):
        dx, dy = x - 31.5, y - 31.5
        r2 = dx * dx + dy * dy
        if inside_poly(x + 0.5, y + 0.5, bolt):
            px = (255, 200, 0, 255)
        elif r2 <= 30.5 ** 2:
            px = (20, 70, 150, 255)
        else:
            px = (0, 0, 0, 0)
        row += bytes(px)
    rows.append(bytes(row))

def chunk(kind, data):
    c = struct.pack('>I', len(data)) + kind + data
    return c + struct.pack('>I', zlib.crc32(kind + data) & 0xffffffff)

png = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', N, N, 8, 6, 0, 0, 0))
png += chunk(b'IDAT', zlib.compress(b''.join(rows), 9)) + chunk(b'IEND', b'')
open(sys.argv[1] if len(sys.argv) > 1 else 'res/ZORVAN.png', 'wb').write(png)
