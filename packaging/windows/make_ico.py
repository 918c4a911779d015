#!/usr/bin/python3
"""Packs PNG pictures into a Windows icon: make_ico.py OUT.ico PICTURE.png[:SIZE]...

Each picture becomes one image of the icon, scaled by whole steps (nearest pixel) to SIZE when given,
so the 16-colour drawings stay crisp. The images are stored as 32-bit bitmaps with an AND mask, the
form every Windows version, Wine and NSIS read.
"""

import struct
import sys

from PIL import Image


def bitmap(picture):
    """BITMAPINFOHEADER, bottom-up BGRA rows, then the 1-bit AND mask (set where transparent)."""
    width, height = picture.size
    pixels = picture.load()
    rows = []
    mask_rows = []
    mask_stride = ((width + 31) // 32) * 4
    for y in reversed(range(height)):
        row = bytearray()
        mask = bytearray(mask_stride)
        for x in range(width):
            r, g, b, a = pixels[x, y]
            row += bytes((b, g, r, a))
            if a == 0:
                mask[x // 8] |= 0x80 >> (x % 8)
        rows.append(bytes(row))
        mask_rows.append(bytes(mask))
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0,
                         width * height * 4 + mask_stride * height, 0, 0, 0, 0)
    return header + b"".join(rows) + b"".join(mask_rows)


def main(out, entries):
    images = []
    for entry in entries:
        path, _, size = entry.partition(":")
        picture = Image.open(path).convert("RGBA")
        if size:
            side = int(size)
            if side % picture.width or picture.width != picture.height:
                raise SystemExit(f"{path}: {side} is no whole multiple of its size")
            picture = picture.resize((side, side), Image.NEAREST)
        if picture.width > 256 or picture.height > 256:
            raise SystemExit(f"{path}: an icon image is at most 256 pixels wide")
        images.append((picture.width, picture.height, bitmap(picture)))

    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    for width, height, data in images:
        directory += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(out, "wb") as icon:
        icon.write(directory)
        for _, _, data in images:
            icon.write(data)


if __name__ == "__main__":
    if len(sys.argv) < 3:
        raise SystemExit(__doc__)
    main(sys.argv[1], sys.argv[2:])
