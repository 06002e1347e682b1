#!/usr/bin/env python3
"""Writes the release zip: the same inputs always give the same bytes.

    make_release_zip.py OUTPUT.zip EPOCH NAME=PATH [NAME=PATH ...]

Entries go in the order given, deflated, each dated EPOCH (seconds, taken as
UTC). Names are written in GBK, the code page Chinese Windows reads zip
names in when an archive does not say otherwise (its own zip folders, and
common archivers by default), and again in UTF-8 in an Info-ZIP Unicode Path
field (0x7075) for archivers that read it, so they show right on any system.
"""

import struct
import sys
import time
import zlib


def dos_time(epoch):
    t = time.gmtime(max(epoch, 315532800))  # a zip date starts at 1980
    return ((t.tm_hour << 11) | (t.tm_min << 5) | (t.tm_sec // 2),
            ((t.tm_year - 1980) << 9) | (t.tm_mon << 5) | t.tm_mday)


def main(argv):
    if len(argv) < 4:
        sys.exit(__doc__)
    out_path, epoch = argv[1], int(argv[2])
    mtime, mdate = dos_time(epoch)
    entries = []
    for arg in argv[3:]:
        name, path = arg.split("=", 1)
        with open(path, "rb") as f:
            entries.append((name, f.read()))

    body = bytearray()
    directory = bytearray()
    for name, data in entries:
        raw_name = name.encode("gbk")
        extra = b""
        if raw_name != name.encode("utf-8"):
            unicode_path = b"\x01" + struct.pack("<I", zlib.crc32(raw_name)) + name.encode("utf-8")
            extra = struct.pack("<HH", 0x7075, len(unicode_path)) + unicode_path
        compressor = zlib.compressobj(9, zlib.DEFLATED, -15)
        packed = compressor.compress(data) + compressor.flush()
        crc = zlib.crc32(data)
        offset = len(body)
        body += struct.pack("<IHHHHHIIIHH", 0x04034B50, 20, 0, 8, mtime, mdate, crc, len(packed), len(data),
                            len(raw_name), len(extra))
        body += raw_name + extra + packed
        directory += struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 20, 20, 0, 8, mtime, mdate, crc, len(packed),
                                 len(data), len(raw_name), len(extra), 0, 0, 0, 0x20, offset)
        directory += raw_name + extra
    end = struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, len(entries), len(entries), len(directory), len(body), 0)
    with open(out_path, "wb") as f:
        f.write(body + directory + end)


if __name__ == "__main__":
    main(sys.argv)
