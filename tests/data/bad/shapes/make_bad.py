#!/usr/bin/env python3
"""Writes the broken shape data files used by the shape tests.

The prefix of each name says what the reader must make of it:
  magic_*       wrong magic: "Invalid DAT file!"
  damaged_*     counts, offsets or sizes that do not fit: no entries
  notdrawing_*  loads, but the entry's blob is not a drawing: SelectShape fails
  odd_*         loads and selects; the drawing's records are absurd: drawing
                must neither crash nor write outside the buffer
"""
import struct

MAGIC = b"BJ61DAT "


def header_record(w=50, h=40, frame=None, size=88):
    wf, hf = frame or (round(w * 2540 / 96), round(h * 2540 / 96))
    fields = [0, 0, w, h, 0, 0, wf, hf, 0x464D4520, 0x10000, 0, 0, 1, 0, 0, 0, 1920, 1080, 508, 286]
    body = struct.pack("<%dI" % len(fields), *[f & 0xFFFFFFFF for f in fields])
    return struct.pack("<II", 1, size) + body[: size - 8]


def record(rtype, *fields, size=None):
    body = struct.pack("<%dI" % len(fields), *[f & 0xFFFFFFFF for f in fields])
    return struct.pack("<II", rtype, size if size is not None else 8 + len(body)) + body


EOF_REC = record(14, 0, 16, 20)


def shape_file(blobs, width=50, height=40, flips=(0, 0), count=None, offsets=None, sizes=None):
    n = len(blobs)
    out = bytearray(MAGIC + struct.pack("<i", n if count is None else count))
    at = 12 + 40 * n
    entries = bytearray()
    for i, b in enumerate(blobs):
        off = at if offsets is None else offsets[i]
        size = len(b) if sizes is None else sizes[i]
        entries += struct.pack("<IIii16sBB2sI", off & 0xFFFFFFFF, size & 0xFFFFFFFF, width, height,
                               b"\0" * 16, flips[0], flips[1], b"\0\0", 0xDEADBEEF)
        at += len(b)
    out += entries
    for b in blobs:
        out += b
    return bytes(out)


square = header_record() + record(3, 0, 0, 9, 9, 4, 0, 0, 9, 0, 9, 9, 0, 9) + EOF_REC

files = {
    "magic_blank_missing.dat": b"BJ61DATX" + shape_file([square])[8:],
    "magic_short.dat": b"BJ61",
    "magic_lowercase.dat": b"bj61dat " + shape_file([square])[8:],
    "damaged_count_larger_than_file.dat": shape_file([square], count=1000),
    "damaged_count_negative.dat": shape_file([square], count=-1),
    "damaged_count_absurd.dat": shape_file([square], count=0x7FFFFFFF),
    "damaged_no_count.dat": MAGIC + b"\x01\x00",
    "damaged_offset_past_end.dat": shape_file([square], offsets=[100000]),
    "damaged_size_past_end.dat": shape_file([square], sizes=[100000]),
    "damaged_offset_wraps.dat": shape_file([square], offsets=[0xFFFFFFF0], sizes=[0x40]),
    "damaged_absurd_width.dat": shape_file([square], width=1000000000),
    "damaged_zero_height.dat": shape_file([square], height=0),
    "damaged_negative_width.dat": shape_file([square], width=-50),
    "notdrawing_text.dat": shape_file([b"This is not a picture at all, just some text." * 3]),
    "notdrawing_empty_blob.dat": shape_file([b""]),
    "notdrawing_record_past_blob.dat": shape_file([header_record() + record(3, 0, 0, 9, 9, 1, 5, 5, size=4000)]),
    "notdrawing_record_size_zero.dat": shape_file([header_record() + struct.pack("<II", 3, 0) + EOF_REC]),
    "notdrawing_no_signature.dat": shape_file([header_record()[:40] + b"XXXX" + header_record()[44:] + EOF_REC]),
    "notdrawing_absurd_frame.dat": shape_file([header_record(frame=(2000000000, 2000000000)) + EOF_REC]),
    "notdrawing_empty_frame.dat": shape_file([header_record(frame=(0, 0)) + EOF_REC]),
    "notdrawing_header_too_small.dat": shape_file([header_record(size=48) + EOF_REC]),
    "odd_point_count_absurd.dat": shape_file([header_record() + record(3, 0, 0, 9, 9, 0x7FFFFFFF, 1, 2) + EOF_REC]),
    "odd_polypolygon_counts_absurd.dat": shape_file([header_record() + record(8, 0, 0, 9, 9, 0x40000000, 3, 3, 0, 0, 5, 0, 5, 5) + EOF_REC]),
    "odd_polypolygon_count_exceeds_total.dat": shape_file([header_record() + record(91, 0, 0, 9, 9, 2, 3, 3, 0x7FFFFFFF, 0, 5, 0x00050005) + EOF_REC]),
    "odd_huge_coordinates.dat": shape_file([header_record() + record(3, 0, 0, 9, 9, 3, 0x7FFFFFFF, 0x80000000, 0x80000000, 0x7FFFFFFF, 5, 5) + EOF_REC]),
    "odd_huge_handles.dat": shape_file([header_record() + record(39, 0xFFFFFFFF, 0, 0x808080, 0) + record(37, 0xFFFFFFFF) + record(40, 0x7FFFFFFE) + square[88:]]),
    "odd_unknown_records.dat": shape_file([header_record() + record(9999, 1, 2, 3) + record(0, 0) + square[88:]]),
    "odd_no_eof.dat": shape_file([header_record() + record(3, 0, 0, 9, 9, 3, 0, 0, 9, 0, 9, 9)]),
    "odd_bezier_incomplete.dat": shape_file([header_record() + record(2, 0, 0, 9, 9, 2, 0, 0, 9, 9) + record(88, 0, 0, 9, 9, 1, 0x00090009) + EOF_REC]),
}

for name, data in files.items():
    with open(name, "wb") as f:
        f.write(data)
