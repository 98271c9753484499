#!/usr/bin/env python3
"""Draws ZQMV.ico, the program's icon: a blue tile with an orange ring and tail
(a Q) crossed by a white check stroke. Writes 16, 32 and 48 pixel images, 32 bits
per pixel with alpha. Run it only to change the icon; the result is in res/."""
import math
import struct
import sys


def pixel(x, y, n):
    # Coordinates in 0..1 across the tile.
    u, v = (x + 0.5) / n, (y + 0.5) / n
    # Rounded tile.
    r = 0.18
    dx = max(abs(u - 0.5) - (0.5 - r), 0)
    dy = max(abs(v - 0.5) - (0.5 - r), 0)
    if math.hypot(dx, dy) > r:
        return (0, 0, 0, 0)
    colour = (28, 72, 150)
    d = math.hypot(u - 0.46, v - 0.46)
    if 0.20 <= d <= 0.31:
        colour = (245, 150, 30)
    # The tail of the Q.
    t = (u - 0.62) - (v - 0.62)
    if abs(t) < 0.07 and 0.58 < u < 0.86 and 0.58 < v < 0.86:
        colour = (245, 150, 30)
    # A white check stroke through the ring.
    if abs((v - 0.55) - 0.8 * (u - 0.30)) < 0.045 and 0.30 < u < 0.45:
        colour = (255, 255, 255)
    if abs((v - 0.67) + 1.3 * (u - 0.45)) < 0.05 and 0.42 < u < 0.70:
        colour = (255, 255, 255)
    return colour + (255,)


def image(n):
    s = 4  # supersampling
    rows = []
    for y in range(n - 1, -1, -1):  # bottom-up, as BMP rows are stored
        row = b""
        for x in range(n):
            acc = [0, 0, 0, 0]
            for sy in range(s):
                for sx in range(s):
                    p = pixel(x * s + sx, y * s + sy, n * s)
                    for i in range(3):
                        acc[i] += p[i] * p[3]
                    acc[3] += p[3]
            a = acc[3] / (s * s)
            rgb = [int(acc[i] / acc[3]) if acc[3] else 0 for i in range(3)]
            row += bytes((rgb[2], rgb[1], rgb[0], int(a)))
        rows.append(row)
    xor = b"".join(rows)
    mask_row = ((n + 31) // 32) * 4
    mask = b"\0" * (mask_row * n)
    header = struct.pack("<IiiHHIIiiII", 40, n, n * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + xor + mask


def main(path):
    sizes = [16, 32, 48]
    images = [image(n) for n in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for n, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", n, n, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "res/ZQMV.ico")
