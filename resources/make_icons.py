#!/usr/bin/env python3
"""Draws the two 16x16 icons of the question dialog as 24-bit BMP files:
pytajnik.bmp (question mark on a blue disc) and wykrzyknik.bmp (exclamation
mark on a yellow triangle). Run it in this directory to redraw them."""
import struct

QUESTION = [
    "................",
    ".....######.....",
    "...##########...",
    "..####WWWW####..",
    "..###WW##WW###..",
    ".#######WWW####.",
    ".######WWW#####.",
    ".######WW######.",
    ".######WW######.",
    ".##############.",
    "..#####WW#####..",
    "..#####WW#####..",
    "...##########...",
    ".....######.....",
    "................",
    "................",
]

WARNING = [
    ".......KK.......",
    "......KYYK......",
    "......KYYK......",
    ".....KYYYYK.....",
    ".....KYKKYK.....",
    "....KYYKKYYK....",
    "....KYYKKYYK....",
    "...KYYYKKYYYK...",
    "...KYYYKKYYYK...",
    "..KYYYYYYYYYYK..",
    "..KYYYYKKYYYYK..",
    ".KYYYYYKKYYYYYK.",
    ".KYYYYYYYYYYYYK.",
    "KKKKKKKKKKKKKKKK",
    "................",
    "................",
]

COLOURS = {
    ".": (255, 255, 255),
    "#": (0, 64, 192),
    "W": (255, 255, 255),
    "K": (0, 0, 0),
    "Y": (255, 220, 0),
}


def write_bmp(path, rows):
    width, height = len(rows[0]), len(rows)
    row_size = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):  # bottom-up
        line = bytearray()
        for ch in row:
            r, g, b = COLOURS[ch]
            line += bytes((b, g, r))
        line += b"\0" * (row_size - len(line))
        pixels += line
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + pixels)


if __name__ == "__main__":
    write_bmp("pytajnik.bmp", QUESTION)
    write_bmp("wykrzyknik.bmp", WARNING)
