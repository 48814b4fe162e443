#!/usr/bin/env python3
"""Draws the process window's own icon and picture, pixel by pixel, and writes
   resources/frmProcess.ico   16 x 16, 24-bit colour, and
   resources/frmProcess.jpg   500 x 345, baseline JPEG (through cjpeg from libjpeg-turbo-progs).
The files are committed; run this only to make them anew:  python3 resources/make_pictures.py
"""

import math
import os
import struct
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def gear(x, y, cx, cy, radius, teeth):
    """Whether (x, y) lies on a gear: a ring with teeth and a hub hole."""
    dx, dy = x - cx, y - cy
    r = math.hypot(dx, dy)
    angle = math.atan2(dy, dx)
    tooth = math.cos(angle * teeth) > 0.3
    outer = radius * (1.0 if tooth else 0.84)
    return radius * 0.32 < r < outer


def picture_pixel(x, y, width, height):
    # A steel-blue evening over a control room: gradient, a faint grid, three process lines with
    # their running markers, and two gears turning into each other.
    colour = mix((18, 32, 64), (70, 118, 160), y / height)
    if x % 25 == 0 or y % 25 == 0:
        colour = mix(colour, (200, 220, 240), 0.12)
    for row, (top, marker) in enumerate(((80, 150), (150, 260), (220, 90))):
        if top <= y < top + 18 and 30 <= x < 330:
            colour = mix((228, 236, 244), (150, 190, 220), (y - top) / 18)
            if marker <= x < marker + 40:
                colour = (250, 170, 40) if row != 1 else (120, 220, 120)
        if top + 4 <= y < top + 14 and 330 <= x < 330 + (top + 14 - y):
            colour = (228, 236, 244)  # the arrow head at the line's end
    if gear(x, y, 400, 130, 70, 12):
        colour = (205, 215, 225)
    if gear(x, y, 430, 240, 48, 9):
        colour = (175, 190, 205)
    if 30 <= x < 470 and 300 <= y < 306:
        colour = (250, 170, 40)
    return colour


def write_picture():
    width, height = 500, 345
    rows = bytearray()
    for y in range(height):
        for x in range(width):
            rows.extend(picture_pixel(x, y, width, height))
    ppm = b"P6 %d %d 255\n" % (width, height) + bytes(rows)
    jpeg = subprocess.run(["cjpeg", "-baseline", "-quality", "75", "-optimize"], input=ppm,
                          stdout=subprocess.PIPE, check=True).stdout
    with open(os.path.join(HERE, "frmProcess.jpg"), "wb") as out:
        out.write(jpeg)


def icon_pixel(x, y):
    # A blue tile with a white "run" triangle and an orange process bar.
    if x in (0, 15) or y in (0, 15):
        return (20, 50, 100)
    colour = mix((40, 90, 160), (70, 130, 200), y / 15)
    if 5 <= x <= 11 and abs(y - 6.5) <= (11.5 - x) * 0.65:
        colour = (255, 255, 255)
    if 12 <= y <= 13 and 3 <= x <= 12:
        colour = (250, 170, 40)
    return colour


def write_icon():
    size = 16
    xor = bytearray()
    for y in reversed(range(size)):  # bottom-up rows, blue-green-red, 48 bytes (no padding)
        for x in range(size):
            r, g, b = icon_pixel(x, y)
            xor.extend((b, g, r))
    mask = bytes(4 * size)  # 1 bit per pixel, rows padded to 4 bytes; 0: opaque
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 24, 0, len(xor) + len(mask),
                         0, 0, 0, 0)
    image = header + bytes(xor) + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size, size, 0, 0, 1, 24, len(image), 6 + 16)
    with open(os.path.join(HERE, "frmProcess.ico"), "wb") as out:
        out.write(directory + entry + image)


if __name__ == "__main__":
    write_icon()
    write_picture()
