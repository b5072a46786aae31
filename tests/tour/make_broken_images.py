#!/usr/bin/env python3
"""Writes the broken scene images the loader tests embed as resources.

    make_broken_images.py GOOD_JPEG OUT_DIR

notajpeg.jpg is plain text; damaged.jpg is GOOD_JPEG with its frame
header's sample precision set to 3, which the decoder refuses. The
resource script broken_images.rc names both.
"""
import os
import sys

good, out = sys.argv[1], sys.argv[2]
os.makedirs(out, exist_ok=True)
with open(os.path.join(out, "notajpeg.jpg"), "wb") as f:
    f.write(b"this is not a picture\n")

data = bytearray(open(good, "rb").read())
pos = 2
while data[pos] == 0xFF and data[pos + 1] != 0xC0:
    pos += 2 + (data[pos + 2] << 8 | data[pos + 3])
assert data[pos + 1] == 0xC0, "no baseline frame header"
data[pos + 4] = 3
with open(os.path.join(out, "damaged.jpg"), "wb") as f:
    f.write(data)

with open(os.path.join(out, "broken_images.rc"), "w") as f:
    # LANGUAGE keeps windres from joining one entry's path to the next name.
    for name in ("notajpeg.jpg", "damaged.jpg"):
        f.write("LANGUAGE 9, 1\n")
        f.write('"%s" JPEG "%s"\n' % (name.upper(), os.path.join(out, name)))
