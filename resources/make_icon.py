#!/usr/bin/env python3
"""Draws the program's icon: one 32 x 32 image in 256 colours, a serial connector on a blue tile.

Run it to regenerate resources/Ravelix.ico; the icon is committed, so the build does not need it.
"""
import struct
import sys

SIZE = 32
palette = [(0, 0, 0)] * 256
palette[0] = (0, 0, 0)          # transparent corners (masked)
palette[1] = (24, 78, 160)      # tile
palette[2] = (48, 118, 214)     # tile highlight
palette[3] = (235, 235, 240)    # connector body
palette[4] = (90, 90, 100)      # connector outline and pins
palette[5] = (255, 200, 40)     # signal mark

pixels = [[0] * SIZE for _ in range(SIZE)]
mask = [[1] * SIZE for _ in range(SIZE)]  # 1: transparent


def put(x, y, c):
    if 0 <= x < SIZE and 0 <= y < SIZE:
        pixels[y][x] = c
        mask[y][x] = 0


# A rounded tile.
for y in range(1, 31):
    for x in range(1, 31):
        corner = (x in (1, 30) and y in (1, 2, 29, 30)) or (y in (1, 30) and x in (2, 29))
        if not corner:
            put(x, y, 2 if y < 9 else 1)

# A nine-pin serial connector: a trapezoid, wider at the top.
top, bottom = 11, 22
for y in range(top, bottom + 1):
    inset = (y - top) // 3
    left, right = 5 + inset, 26 - inset
    for x in range(left, right + 1):
        edge = y in (top, bottom) or x in (left, right)
        put(x, y, 4 if edge else 3)
# Five pins on the upper row, four on the lower.
for i in range(5):
    put(9 + i * 3, 14, 4)
    put(10 + i * 3, 14, 4)
for i in range(4):
    put(11 + i * 3, 19, 4)
    put(12 + i * 3, 19, 4)
# A signal mark above the connector.
for x in range(13, 19):
    put(x, 6, 5)

xor_rows = b"".join(bytes(pixels[y]) for y in reversed(range(SIZE)))
and_rows = b""
for y in reversed(range(SIZE)):
    bits = 0
    for x in range(SIZE):
        bits = (bits << 1) | mask[y][x]
    and_rows += struct.pack(">I", bits)
header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 8, 0, len(xor_rows) + len(and_rows), 0, 0, 256, 0)
pal = b"".join(bytes((b, g, r, 0)) for (r, g, b) in palette)
image = header + pal + xor_rows + and_rows
icon = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 8, len(image), 6 + 16) + image
out = sys.argv[1] if len(sys.argv) > 1 else __file__.rsplit("/", 1)[0] + "/Ravelix.ico"
with open(out, "wb") as f:
    f.write(icon)
