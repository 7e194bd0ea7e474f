#!/usr/bin/env python3
"""Sets (or clears) the closed_gop bit of one GOP header of a DVD program
stream's video and writes the result to a new file; nothing else changes.

The GOP header's eighth byte, counting its 00 00 01 B8 start code, holds
the last bit of the time code, then closed_gop (0x40), then broken_link
(0x20) (see video_gops.py).

Usage: set_closed_gop.py IN OUT [--gop N] [--clear]
  --gop N   the Nth GOP header of the file (default 1, the first)
  --clear   clear the bit instead of setting it
"""
import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from video_gops import CLOSED_GOP, gops  # noqa: E402


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("source")
    parser.add_argument("target")
    parser.add_argument("--gop", type=int, default=1)
    parser.add_argument("--clear", action="store_true")
    args = parser.parse_args()
    with open(args.source, "rb") as f:
        data = bytearray(f.read())
    found = gops(data)
    if len(found) < args.gop:
        raise SystemExit("%s: %d GOP headers, no GOP %d" % (args.source, len(found), args.gop))
    gop = found[args.gop - 1]
    print("before: " + gop.describe(), file=sys.stderr)
    if args.clear:
        data[gop.flags_offset] &= ~CLOSED_GOP & 0xFF
    else:
        data[gop.flags_offset] |= CLOSED_GOP
    with open(args.target, "wb") as f:
        f.write(data)
    print("after:  " + gops(data)[args.gop - 1].describe(), file=sys.stderr)


if __name__ == "__main__":
    main()
