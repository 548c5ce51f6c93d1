#!/usr/bin/env python3
"""Writes the small pictures the graphics tests read: images/ holds good files
of the less common PNG and JPEG forms, bad/ holds truncated and corrupt PNG,
JPEG and BMP files that every decoder must refuse cleanly.

Run from anywhere; needs ImageMagick's `convert` for the JPEG bases.
The output is committed, so the tests never run this script."""
import os
import random
import struct
import subprocess
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
IMAGES = os.path.join(HERE, "images")
BAD = os.path.join(HERE, "bad")


def chunk(kind, data, crc=None):
    if crc is None:
        crc = zlib.crc32(kind + data) & 0xFFFFFFFF
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", crc)


def png(width, height, depth, ctype, raw_rows, extra=b"", interlace=0):
    ihdr = struct.pack(">IIBBBBB", width, height, depth, ctype, 0, 0, interlace)
    raw = b"".join(b"\x00" + r for r in raw_rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + extra +
            chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def write(folder, name, data):
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def good_pngs():
    # 1-bit grey, 8 x 1: bits 10110010.
    write(IMAGES, "gray1.png", png(8, 1, 1, 0, [bytes([0b10110010])]))
    # 8-bit grey, 3 x 2.
    write(IMAGES, "gray8.png", png(3, 2, 8, 0, [bytes([0, 100, 255]), bytes([1, 2, 3])]))
    # 4-bit palette, 3 x 1: indices 2, 0, 1.
    plte = chunk(b"PLTE", bytes([10, 20, 30, 40, 50, 60, 70, 80, 90]))
    write(IMAGES, "palette4.png", png(3, 1, 4, 3, [bytes([0x20, 0x10])], plte))
    # 16-bit RGB, 2 x 1: the high bytes are kept.
    write(IMAGES, "rgb16.png",
          png(2, 1, 16, 2, [struct.pack(">6H", 0x1234, 0x5678, 0x9ABC, 0xFFFF, 0x0000, 0x8001)]))
    # Grey with alpha, 2 x 1: (50, a 200), (250, a 0).
    write(IMAGES, "graya8.png", png(2, 1, 8, 4, [bytes([50, 200, 250, 0])]))


def good_jpegs(tmp):
    subprocess.run(["convert", "-size", "32x24", "gradient:red-blue", "-quality", "90",
                    os.path.join(IMAGES, "photo.jpg")], check=True)
    subprocess.run(["convert", "-size", "16x16", "gradient:", "-colorspace", "Gray",
                    os.path.join(IMAGES, "gray.jpg")], check=True)
    subprocess.run(["convert", "-size", "32x24", "gradient:red-blue", "-interlace", "JPEG",
                    os.path.join(IMAGES, "progressive.jpg")], check=True)
    for name, extra in (("plain", []), ("interlaced", ["-interlace", "PNG"])):
        subprocess.run(["convert", "-size", "9x7", "gradient:red-blue", "-alpha", "set",
                        "-channel", "A", "-evaluate", "set", "60%", "+channel"] + extra +
                       ["PNG32:" + os.path.join(IMAGES, name + "_rgba.png")], check=True)
    subprocess.run(["convert", "-size", "8x8", "xc:cyan", "-colorspace", "CMYK",
                    os.path.join(BAD, "cmyk.jpg")], check=True)


def bad_pngs():
    good = png(4, 4, 8, 2, [bytes(range(i, i + 12)) for i in range(4)])
    sig = good[:8]
    ihdr = good[8:33]
    write(BAD, "empty.png", b"")
    write(BAD, "signature_only.png", sig)
    write(BAD, "truncated_ihdr.png", good[:20])
    idat_at = good.index(b"IDAT") - 4
    write(BAD, "truncated_idat.png", good[:idat_at + 14])
    write(BAD, "no_iend.png", good[:-12])
    broken = bytearray(good)
    broken[20] ^= 0x01  # width changed, CRC not
    write(BAD, "bad_ihdr_crc.png", bytes(broken))
    rest = good[33:]
    write(BAD, "zero_width.png", sig + chunk(b"IHDR", struct.pack(">IIBBBBB", 0, 4, 8, 2, 0, 0, 0)) + rest)
    write(BAD, "huge.png", sig + chunk(b"IHDR", struct.pack(">IIBBBBB", 60000, 60000, 8, 6, 0, 0, 0)) + rest)
    write(BAD, "bad_depth.png", sig + chunk(b"IHDR", struct.pack(">IIBBBBB", 4, 4, 3, 2, 0, 0, 0)) + rest)
    rng = random.Random(7)
    junk = bytes(rng.randrange(256) for _ in range(40))
    write(BAD, "garbage_idat.png", sig + ihdr + chunk(b"IDAT", junk) + chunk(b"IEND", b""))
    write(BAD, "short_idat.png", sig + ihdr + chunk(b"IDAT", zlib.compress(b"\x00" * 13)) + chunk(b"IEND", b""))
    write(BAD, "missing_plte.png", png(2, 2, 8, 3, [b"\x00\x01", b"\x01\x00"]))
    write(BAD, "huge_chunk_length.png", sig + ihdr + b"\x7f\xff\xff\xf0IDAT" + b"\x78\x9c" * 8)


def bad_jpegs():
    with open(os.path.join(IMAGES, "photo.jpg"), "rb") as f:
        good = f.read()
    sos = good.index(b"\xff\xda")
    sof = good.index(b"\xff\xc0") if b"\xff\xc0" in good else good.index(b"\xff\xc2")
    write(BAD, "soi_only.jpg", good[:2])
    write(BAD, "truncated_header.jpg", good[:sof + 6])
    write(BAD, "truncated_scan.jpg", good[:(sos + len(good)) // 2])
    write(BAD, "no_eoi.jpg", good[:-2])
    zero = bytearray(good)
    zero[sof + 5:sof + 9] = b"\x00\x00\x00\x00"  # height 0, width 0
    write(BAD, "zero_size.jpg", bytes(zero))
    comps = bytearray(good)
    comps[sof + 9] = 0  # no components
    write(BAD, "no_components.jpg", bytes(comps))
    length = bytearray(good)
    length[4:6] = b"\xff\xff"  # first segment claims 64 KiB
    write(BAD, "bad_segment_length.jpg", bytes(length))
    dht = good.index(b"\xff\xc4")
    table = bytearray(good)
    for i in range(dht + 5, dht + 21):
        table[i] = 0xFF  # code counts far beyond what a table may hold
    write(BAD, "bad_huffman_table.jpg", bytes(table))
    rng = random.Random(11)
    scan_start = sos + 2 + struct.unpack(">H", good[sos + 2:sos + 4])[0]
    noise = bytes(rng.randrange(255) for _ in range(len(good) - 2 - scan_start))
    write(BAD, "garbage_scan.jpg", good[:scan_start] + noise + good[-2:])


def bmp(bits, width, height, pixel_bytes, palette=b"", header_size=40, compression=0,
        colors_used=0, planes=1, offset=None, declared=None):
    info = struct.pack("<IiiHHIIiiII", header_size, width, height, planes, bits, compression,
                       len(pixel_bytes), 2835, 2835, colors_used, 0)
    info += b"\x00" * max(0, header_size - 40)
    if offset is None:
        offset = 14 + len(info) + len(palette)
    total = 14 + len(info) + len(palette) + len(pixel_bytes)
    head = b"BM" + struct.pack("<IHHI", total if declared is None else declared, 0, 0, offset)
    return head + info + palette + pixel_bytes


def bad_bmps():
    pixels = b"\x10\x20\x30" * 4 + b"\x00" * 0  # 4 x 1, 12 bytes: already 4-aligned
    good = bmp(24, 4, 1, pixels)
    write(BAD, "truncated_file_header.bmp", good[:10])
    write(BAD, "truncated_info_header.bmp", good[:30])
    write(BAD, "truncated_pixels.bmp", bmp(24, 4, 3, pixels * 3)[:-5])
    write(BAD, "truncated_pixels_size_0.bmp", bmp(24, 4, 3, pixels * 3, declared=0)[:-5])
    write(BAD, "big_but_short.bmp", bmp(24, 8000, 8000, pixels))
    write(BAD, "declared_size_too_big.bmp", bmp(24, 4, 1, pixels, declared=1000))
    write(BAD, "huge.bmp", bmp(24, 100000, 100000, pixels))
    write(BAD, "zero_width.bmp", bmp(24, 0, 1, pixels))
    write(BAD, "negative_width.bmp", bmp(24, -4, 1, pixels))
    write(BAD, "min_height.bmp", bmp(24, 4, -2147483648, pixels))
    write(BAD, "offset_past_end.bmp", bmp(24, 4, 1, pixels, offset=4000))
    write(BAD, "offset_inside_header.bmp", bmp(24, 4, 1, pixels, offset=20))
    write(BAD, "bit_count_7.bmp", bmp(7, 4, 1, pixels))
    write(BAD, "bit_count_16.bmp", bmp(16, 4, 1, pixels))
    write(BAD, "palette_too_big.bmp", bmp(8, 4, 1, b"\x00\x01\x02\x03", b"\x00" * 1024, colors_used=300))
    write(BAD, "palette_truncated.bmp", bmp(8, 4, 1, b"", b"\x00" * 8, colors_used=200))
    write(BAD, "rle8.bmp", bmp(8, 4, 1, b"\x04\x01\x00\x01", b"\x00" * 8, compression=1, colors_used=2))
    write(BAD, "header_size_huge.bmp", bmp(24, 4, 1, pixels)[:14] + b"\xf0\xff\xff\x7f" + good[18:])
    write(BAD, "header_size_small.bmp", bmp(24, 4, 1, pixels)[:14] + b"\x10\x00\x00\x00" + good[18:])
    write(BAD, "planes_0.bmp", bmp(24, 4, 1, pixels, planes=0))
    masks = struct.pack("<III", 0x00FF0000, 0x0000FFF0, 0x000000FF)
    write(BAD, "odd_bitfields.bmp", bmp(32, 1, 1, masks + b"\x01\x02\x03\x04", compression=3))


def main():
    os.makedirs(IMAGES, exist_ok=True)
    os.makedirs(BAD, exist_ok=True)
    with tempfile.TemporaryDirectory() as tmp:
        good_pngs()
        good_jpegs(tmp)
        bad_pngs()
        bad_jpegs()
        bad_bmps()
    rng = random.Random(3)
    write(BAD, "random_bytes.bin", bytes(rng.randrange(256) for _ in range(300)))


if __name__ == "__main__":
    main()
