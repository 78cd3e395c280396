#!/usr/bin/env python3
"""Writes the player's application icon (src/platform/win32/res/ovrix.ico):
a blue square with a white "play" triangle, at 16, 32 and 48 pixels, as
32-bit images with an alpha channel. The icon is kept in the repository; run
this again only to change its look."""
import os
import struct
import sys

BLUE = (0x24, 0x5D, 0xDB)      # red, green, blue
WHITE = (0xFF, 0xFF, 0xFF)


def pixel(x, y, size):
    """Colour and alpha of one pixel, y counted from the top."""
    margin = size / 16
    if x < margin or y < margin or x >= size - margin or y >= size - margin:
        return (0, 0, 0), 0
    # The play triangle: left edge at 35 %, tip at 75 % of the width.
    left, right = size * 0.35, size * 0.75
    top, bottom = size * 0.25, size * 0.75
    if left <= x + 0.5 <= right:
        half = (bottom - top) / 2 * (1 - (x + 0.5 - left) / (right - left))
        if abs(y + 0.5 - size / 2) <= half:
            return WHITE, 255
    return BLUE, 255


def image(size):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    for y in reversed(range(size)):  # bottom-up
        row = b""
        for x in range(size):
            (r, g, b), a = pixel(x, y, size)
            row += bytes((b, g, r, a))
        rows.append(row)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytes(mask_stride * size)  # alpha decides; the mask is all opaque
    return header + b"".join(rows) + mask


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(__file__), "..", "src", "platform", "win32", "res", "ovrix.ico")
    sizes = [16, 32, 48]
    images = [image(s) for s in sizes]
    data = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for size, blob in zip(sizes, images):
        data += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    data += b"".join(images)
    with open(out, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
