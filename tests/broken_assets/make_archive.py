#!/usr/bin/python3
"""Copies the game's asset archive with one entry missing or damaged.
Usage: make_archive.py SOURCE.zip OUT.zip missing|damaged|corrupt ENTRY
  missing  the entry is left out
  damaged  the entry's file is cut to its first 64 bytes and zero-filled to its length
           (the archive is sound, the file is not)
  corrupt  the entry's compressed bytes are overwritten in the archive (checksum mismatch)"""
import sys, zipfile

source, out, mode, entry = sys.argv[1:5]
found = False
with zipfile.ZipFile(source) as src, zipfile.ZipFile(out, "w") as dst:
    for info in src.infolist():
        data = src.read(info)
        if info.filename == entry:
            found = True
            if mode == "missing":
                continue
            if mode == "damaged":
                data = data[:64] + bytes(len(data) - 64)
        dst.writestr(info, data, compress_type=info.compress_type)
if not found:
    sys.exit("no entry %r in %s" % (entry, source))
if mode == "corrupt":
    with zipfile.ZipFile(out) as z:
        info = z.getinfo(entry)
    with open(out, "r+b") as f:
        f.seek(info.header_offset + 26)
        name_len = int.from_bytes(f.read(2), "little")
        extra_len = int.from_bytes(f.read(2), "little")
        start = info.header_offset + 30 + name_len + extra_len
        middle = start + info.compress_size // 2
        f.seek(middle)
        f.write(b"\x5a" * 16)
