"""Writes the bare dialog's icon: a 32x32 and a 16x16 32-bit image, a ring on a clear ground.

Usage: python3 make_icon.py OUT.ico
"""
import struct
import sys


def image(size: int) -> bytes:
    """One icon image: BITMAPINFOHEADER (double height), BGRA rows bottom-up, then the AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    centre = (size - 1) / 2
    rows = []
    for y in range(size):
        row = bytearray()
        for x in range(size):
            d = ((x - centre) ** 2 + (y - centre) ** 2) ** 0.5
            if size * 0.25 <= d <= size * 0.47:
                row += bytes((0xC0, 0x60, 0x10, 0xFF))  # blue ring, opaque
            else:
                row += bytes((0, 0, 0, 0))
        rows.append(bytes(row))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytes(mask_stride * size)  # all zero: the alpha channel decides
    return header + b"".join(reversed(rows)) + mask


def main() -> None:
    images = [image(32), image(16)]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip((32, 16), images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(sys.argv[1], "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main()
