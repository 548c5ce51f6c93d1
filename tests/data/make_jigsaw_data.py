#!/usr/bin/env python3
"""Writes the jigsaw files the game tests read: jigsaws/ holds small good
files, bad/jigsaws/ broken ones that the reader must refuse cleanly.

A broken file's name starts with the read modes that must refuse it:
  all_     every mode (0 browse, 1 new game, 2 thumbnail)
  browse_  modes 0 and 2 (its thumbnail is broken; a new game skips it)
  game_    mode 1 (its description or picture is broken)

Written independently of the game's own writer, from the file layout, so
the tests also check the reader against a second writer. Needs
images/photo.jpg (a 32 x 24 JFIF JPEG) and images/gray8.png. The output is
committed, so the tests never run this script."""
import os
import random
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
GOOD = os.path.join(HERE, "jigsaws")
BAD = os.path.join(HERE, "bad", "jigsaws")

MAGIC = b"ORVEL1.0\0"
THUMB_KEY, TEXT_KEY_BASE, PIC_KEY_BASE = 0x9D, 0x4E, 0xB3


def read(name):
    with open(os.path.join(HERE, "images", name), "rb") as f:
        return f.read()


PHOTO = read("photo.jpg")  # 32 x 24, JFIF


def scramble(data, key, rotates):
    out = bytearray(len(data))
    for i, b in enumerate(data):
        out[i] = b ^ key
        if rotates:
            key = ((key << 7) | (key >> 1)) & 0xFF
    return bytes(out)


def entry(data, key, rotates, length=None):
    n = len(data) if length is None else length
    return struct.pack("<i", n) + scramble(data, key, rotates)


def header(w, h, label=b"photo", magic=MAGIC, label_len=None):
    n = len(label) if label_len is None else label_len
    return magic + struct.pack("<ii", w, h) + bytes([n]) + label.ljust(9, b"\0")[:9]


def jigsaw(w=32, h=24, thumb=PHOTO, desc=b"A photo", picture=PHOTO, **kw):
    return (header(w, h, **kw) + entry(thumb, THUMB_KEY, False) +
            entry(desc, TEXT_KEY_BASE, True) + entry(picture, PIC_KEY_BASE, True))


def bmp24(w, h, seed):
    rng = random.Random(seed)
    row_bytes = (w * 3 + 3) & ~3
    pixels = b"".join(bytes(rng.randrange(256) for _ in range(w * 3)).ljust(row_bytes, b"\0")
                      for _ in range(h))
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + 40 + len(pixels), 0, 0, 54) + info + pixels


def jpeg_with_size(jpeg, w, h):
    """The JPEG with its frame header claiming another size."""
    i = 2
    while True:
        marker, length = jpeg[i + 1], struct.unpack(">H", jpeg[i + 2:i + 4])[0]
        if 0xC0 <= marker <= 0xCF and marker not in (0xC4, 0xC8, 0xCC):
            return jpeg[:i + 5] + struct.pack(">HH", h, w) + jpeg[i + 9:]
        i += 2 + length


def without_jfif(jpeg):
    """The JPEG with its JFIF segment replaced by an Exif one."""
    assert jpeg[2:4] == b"\xff\xe0"
    app0_end = 4 + struct.unpack(">H", jpeg[4:6])[0]
    exif = b"\xff\xe1" + struct.pack(">H", 8) + b"Exif\0\0"
    return jpeg[:2] + exif + jpeg[app0_end:]


def write(folder, name, data):
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def good():
    write(GOOD, "photo.orv", jigsaw())
    # Bitmap thumbnail and picture, 5 x 3 (rows padded), an empty label.
    pic = bmp24(5, 3, 1)
    write(GOOD, "bitmap.orv", jigsaw(5, 3, thumb=pic, desc=b"Bitmap\r\nsecond line", picture=pic, label=b""))


def bad():
    good_file = jigsaw()
    thumb_end = 27 + 4 + len(PHOTO)
    cases = {
        "all_empty.orv": b"",
        "all_random_bytes.orv": bytes(random.Random(7).randrange(256) for _ in range(600)),
        "all_wrong_magic.orv": jigsaw(magic=b"ORVEL2.0\0"),
        "all_magic_not_terminated.orv": jigsaw(magic=b"ORVEL1.0X"),
        "all_header_truncated.orv": good_file[:20],
        "all_huge_picture_size.orv": jigsaw(100000, 100000),
        "all_zero_width.orv": jigsaw(0, 24),
        "all_negative_height.orv": jigsaw(32, -24),
        "all_label_too_long.orv": jigsaw(label_len=10),
        "all_no_thumbnail.orv": header(32, 24),
        "all_thumbnail_longer_than_file.orv": header(32, 24) + entry(PHOTO, THUMB_KEY, False, len(PHOTO) + 1000),
        "all_thumbnail_negative_length.orv": header(32, 24) + entry(b"", THUMB_KEY, False, -5),
        "all_whole_file_scrambled.orv": scramble(good_file, 0x5A, True),
        "browse_thumbnail_gif.orv": jigsaw(thumb=b"GIF89a\x01\x00\x01\x00\x00\x00\x00;"),
        "browse_thumbnail_png.orv": jigsaw(thumb=read("gray8.png")),
        "browse_thumbnail_wrong_key.orv": header(32, 24) + entry(PHOTO, THUMB_KEY ^ 1, False) +
                                          good_file[thumb_end:],
        "browse_thumbnail_rotating_key.orv": header(32, 24) + entry(PHOTO, THUMB_KEY, True) +
                                             good_file[thumb_end:],
        "browse_thumbnail_truncated_jpeg.orv": jigsaw(thumb=PHOTO[:len(PHOTO) // 2]),
        "browse_thumbnail_claims_huge_size.orv": jigsaw(thumb=jpeg_with_size(PHOTO, 60000, 60000)),
        "browse_thumbnail_claims_dense_size.orv": jigsaw(thumb=jpeg_with_size(PHOTO, 1000, 1000)),
        "game_no_description.orv": good_file[:thumb_end],
        "game_description_longer_than_file.orv": good_file[:thumb_end] + entry(b"x", TEXT_KEY_BASE, True, 99999),
        "game_no_picture.orv": good_file[:thumb_end] + entry(b"A photo", TEXT_KEY_BASE, True),
        "game_picture_longer_than_file.orv": good_file[:thumb_end] + entry(b"A photo", TEXT_KEY_BASE, True) +
                                             entry(PHOTO, PIC_KEY_BASE, True, len(PHOTO) + 1),
        "game_picture_truncated.orv": good_file[:-100],
        "game_picture_other_size.orv": jigsaw(64, 48),
        "game_picture_not_jfif.orv": jigsaw(picture=without_jfif(PHOTO)),
        "game_picture_png.orv": jigsaw(picture=read("gray8.png")),
        "game_picture_wrong_key.orv": good_file[:thumb_end] + entry(b"A photo", TEXT_KEY_BASE, True) +
                                      entry(PHOTO, PIC_KEY_BASE + 1, True),
        "game_picture_fixed_key.orv": good_file[:thumb_end] + entry(b"A photo", TEXT_KEY_BASE, True) +
                                      entry(PHOTO, PIC_KEY_BASE, False),
        "game_picture_claims_8000_square.orv": jigsaw(8000, 8000, picture=jpeg_with_size(PHOTO, 8000, 8000)),
        "game_picture_cut_scan.orv": jigsaw(picture=PHOTO[:-60] + b"\xff\xd9"),
        "game_bitmap_truncated_pixels.orv": jigsaw(5, 3, picture=bmp24(5, 3, 2)[:-10]),
    }
    for name, data in cases.items():
        write(BAD, name, data)


if __name__ == "__main__":
    good()
    bad()
