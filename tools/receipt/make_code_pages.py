#!/usr/bin/env python3
# Writes code_page_tables.inc: the upper halves (0x80-0xFF) of the printer's
# character tables as Unicode code points, from Python's own codecs. Run it
# by hand when a table is added; the output is kept in the tree so that the
# build needs no Python.
import sys

TABLES = [  # (ESC t number, name, codec)
    (0, "PC437", "cp437"),
    (2, "PC850", "cp850"),
    (16, "WPC1252", "cp1252"),
    (17, "PC866", "cp866"),
    (18, "PC852", "cp852"),
    (19, "PC858", "cp858"),
]

out = ["// Made by make_code_pages.py; do not edit.", ""]
for number, name, codec in TABLES:
    points = []
    for b in range(0x80, 0x100):
        try:
            points.append(ord(bytes([b]).decode(codec)))
        except UnicodeDecodeError:
            points.append(0)  # a hole in the table
    out.append(f'{{{number}, "{name}", {{')
    for row in range(0, 128, 8):
        out.append("    " + " ".join(f"0x{p:04X}," for p in points[row:row + 8]))
    out.append("}},")
sys.stdout.write("\n".join(out) + "\n")
