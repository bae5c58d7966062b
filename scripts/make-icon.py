#!/usr/bin/env python3
"""Draws the program icon (a white V on a blue rounded tile) into
resources/vexlo.ico at 16, 24, 32 and 48 pixels, with nothing but the
standard library, so the art is reproducible on any machine."""
import struct
import sys
from pathlib import Path


def inside_v(x, y):
    # The V as a polygon on the unit square, matching the collapsed picture.
    pts = [(0.12, 0.18), (0.34, 0.18), (0.5, 0.62), (0.66, 0.18), (0.88, 0.18), (0.6, 0.86), (0.4, 0.86)]
    inside = False
    j = len(pts) - 1
    for i, (xi, yi) in enumerate(pts):
        xj, yj = pts[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return inside


def pixel(size, px, py):
    samples = 4
    cover_tile = cover_v = 0.0
    radius = 0.2
    for sy in range(samples):
        for sx in range(samples):
            x = (px + (sx + 0.5) / samples) / size
            y = (py + (sy + 0.5) / samples) / size
            cx = min(max(x, radius), 1 - radius)
            cy = min(max(y, radius), 1 - radius)
            if (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2:
                cover_tile += 1
                if inside_v((x - 0.15) / 0.7, (y - 0.15) / 0.7):
                    cover_v += 1
    n = samples * samples
    t = py / max(size - 1, 1)
    top, bottom = (0x4A, 0x86, 0xC8), (0x1F, 0x4A, 0x80)
    base = [round(a + (b - a) * t) for a, b in zip(top, bottom)]
    v = cover_v / max(cover_tile, 1)
    rgb = [round(c + (255 - c) * v) for c in base]
    alpha = round(255 * cover_tile / n)
    return rgb, alpha


def image(size):
    rows = []
    for py in range(size - 1, -1, -1):  # bottom-up
        row = b""
        for px in range(size):
            (r, g, b), a = pixel(size, px, py)
            row += bytes((b, g, r, a))
        rows.append(row)
    mask_row = ((size + 31) // 32) * 4
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    return header + b"".join(rows) + b"\0" * mask_row * size


def main(out):
    sizes = [16, 24, 32, 48]
    images = [image(s) for s in sizes]
    data = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, img in zip(sizes, images):
        data += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    Path(out).write_bytes(data + b"".join(images))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else str(Path(__file__).resolve().parent.parent / "resources" / "vexlo.ico"))
