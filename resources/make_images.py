#!/usr/bin/env python3
"""Draws the three report backgrounds under htmldata/ as GIF files.

Run from this folder: python3 make_images.py. Needs nothing but Python.
"""
import struct


def gif_bytes(width, height, pixels):
    """A GIF89a of `pixels` (rows of (r, g, b) tuples), at most 256 colours."""
    colours = sorted({c for row in pixels for c in row})
    assert len(colours) <= 256
    index = {c: i for i, c in enumerate(colours)}
    palette = colours + [(0, 0, 0)] * (256 - len(colours))

    out = bytearray(b"GIF89a")
    out += struct.pack("<HHBBB", width, height, 0xF7, 0, 0)  # 256-colour table
    for r, g, b in palette:
        out += bytes((r, g, b))
    out += b"\x2C" + struct.pack("<HHHHB", 0, 0, width, height, 0)
    out += bytes([8]) + sub_blocks(lzw(
        [index[c] for row in pixels for c in row]))
    out += b"\x3B"
    return bytes(out)


def lzw(indices, min_size=8):
    """One code per pixel, with a clear code before the table would make the
    codes one bit wider: simple, and every decoder reads it."""
    clear, end, width = 1 << min_size, (1 << min_size) + 1, min_size + 1
    per_clear = (1 << min_size) - 3
    bits, count, data = 0, 0, bytearray()

    def put(code):
        nonlocal bits, count
        bits |= code << count
        count += width
        while count >= 8:
            data.append(bits & 0xFF)
            bits >>= 8
            count -= 8

    for start in range(0, len(indices), per_clear):
        put(clear)
        for i in indices[start:start + per_clear]:
            put(i)
    put(end)
    if count:
        data.append(bits & 0xFF)
    return bytes(data)


def sub_blocks(data):
    out = bytearray()
    for start in range(0, len(data), 255):
        chunk = data[start:start + 255]
        out += bytes([len(chunk)]) + chunk
    return bytes(out) + b"\x00"


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def page_background():
    """Warm paper with a faint diagonal weave."""
    size, paper, thread = 48, (246, 243, 235), (237, 232, 220)
    return size, size, [[thread if (x + y) % 12 == 0 or (x - y) % 12 == 0 else paper
                         for x in range(size)] for y in range(size)]


def title_bar():
    """A sky-blue bar, lighter at the top, with a bright top edge."""
    width, height = 8, 48
    top, bottom = (214, 229, 245), (150, 185, 222)
    rows = [[mix(top, bottom, y / (height - 1))] * width for y in range(height)]
    rows[0] = [(246, 250, 255)] * width
    return width, height, rows


def code_box():
    """Pale cream with a dotted grid, like squared paper."""
    size, cream, dot = 24, (252, 249, 232), (236, 228, 190)
    return size, size, [[dot if x % 8 == 0 and y % 2 == 0 or y % 8 == 0 and x % 2 == 0
                         else cream for x in range(size)] for y in range(size)]


def main():
    for name, picture in (("bkg", page_background), ("fwtype", title_bar),
                          ("codebox", code_box)):
        width, height, pixels = picture()
        with open(f"htmldata/{name}.gif", "wb") as f:
            f.write(gif_bytes(width, height, pixels))


if __name__ == "__main__":
    main()
