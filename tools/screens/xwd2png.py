#!/usr/bin/python3
"""Converts an xwd dump (ZPixmap, 24 or 32 bits a pixel) to PNG: xwd2png.py IN.xwd OUT.png"""
import struct
import sys

from PIL import Image


def main(source, target):
    data = open(source, "rb").read()
    header = struct.unpack(">25I", data[:100])
    header_size, _, pixmap_format, depth, width, height = header[:6]
    byte_order, bits_per_pixel, bytes_per_line = header[7], header[11], header[12]
    ncolors = header[19]
    if pixmap_format != 2 or bits_per_pixel not in (24, 32):
        sys.exit(f"xwd2png: {source}: unsupported format {pixmap_format}/{bits_per_pixel} bits")
    offset = header_size + ncolors * 12
    step = bits_per_pixel // 8
    raw = data[offset:offset + bytes_per_line * height]
    mode = "BGRX" if bits_per_pixel == 32 else "BGR"
    if byte_order == 1:  # most significant byte first
        mode = "XRGB" if bits_per_pixel == 32 else "RGB"
    image = Image.frombuffer("RGB", (width, height), raw, "raw", mode, bytes_per_line, 1)
    image.save(target)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
