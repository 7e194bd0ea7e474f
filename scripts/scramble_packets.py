#!/usr/bin/env python3
"""Copies a VOB with the PES scrambling control bits set (to 01) in every
private stream 1 packet, as the packets of an encrypted disc copied without
decryption carry them. Nothing else changes; the payload stays as it was.

Usage: scramble_packets.py IN OUT
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from ps_packets import PRIVATE_STREAM_1, walk_packets  # noqa: E402

SCRAMBLING_BITS = 0x30
SCRAMBLED = 0x10


def main():
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    with open(sys.argv[1], "rb") as f:
        data = bytearray(f.read())
    count = 0
    for packet in walk_packets(data):
        if packet.stream_id != PRIVATE_STREAM_1:
            continue
        flags = packet.offset + 6
        data[flags] = (data[flags] & ~SCRAMBLING_BITS & 0xFF) | SCRAMBLED
        count += 1
    with open(sys.argv[2], "wb") as f:
        f.write(data)
    print("%s: scrambling bits set in %d packets" % (sys.argv[2], count), file=sys.stderr)


if __name__ == "__main__":
    main()
