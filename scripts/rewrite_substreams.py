#!/usr/bin/env python3
"""Renumbers the audio sub-streams of an ffmpeg-made DVD program stream.

ffmpeg's dvd muxer numbers each audio kind from its own base (AC-3 from 0x80,
DTS from 0x88, LPCM from 0xA0), so in a title set with AC-3, DTS and LPCM
tracks all three land on audio stream 0. On a DVD, audio stream n is carried
as 0x80+n, 0x88+n or 0xA0+n, n being the track's place in the title set.

Give the kinds of the audio tracks in the order ffmpeg muxed them; track i
then becomes audio stream i. Every 0xBD packet is rewritten in place; packet
sizes do not change.

Usage: rewrite_substreams.py IN OUT KIND... (KIND: ac3, dts or lpcm)
       [--lpcm-quant N:BITS] also sets the word length field of LPCM track N
       (16, 20 or 24) in every packet's attribute byte.
"""
import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from ps_packets import walk_packets  # noqa: E402

BASES = {"ac3": 0x80, "dts": 0x88, "lpcm": 0xA0}
QUANT_CODES = {16: 0, 20: 1, 24: 2}


def substream_map(kinds):
    """ffmpeg's sub-stream number for each track -> the DVD number."""
    seen = {kind: 0 for kind in BASES}
    mapping = {}
    for track, kind in enumerate(kinds):
        mapping[BASES[kind] + seen[kind]] = BASES[kind] + track
        seen[kind] += 1
    return mapping


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("source")
    parser.add_argument("target")
    parser.add_argument("kinds", nargs="+", choices=sorted(BASES))
    parser.add_argument("--lpcm-quant", action="append", default=[], metavar="N:BITS")
    args = parser.parse_args()
    if len(args.kinds) > 8:
        parser.error("a title set has at most eight audio streams")
    mapping = substream_map(args.kinds)
    quant = {}
    for item in args.lpcm_quant:
        track, bits = (int(x) for x in item.split(":"))
        quant[0xA0 + track] = QUANT_CODES[bits]

    with open(args.source, "rb") as f:
        data = bytearray(f.read())
    counts = {}
    for packet in walk_packets(data):
        at = packet.substream_offset(data)
        if at is None or data[at] not in mapping:
            continue
        old = data[at]
        new = mapping[old]
        data[at] = new
        counts[(old, new)] = counts.get((old, new), 0) + 1
        if new in quant:
            data[at + 5] = (data[at + 5] & 0x3F) | (quant[new] << 6)
    with open(args.target, "wb") as f:
        f.write(data)
    for (old, new), count in sorted(counts.items()):
        print("0x%02X -> 0x%02X: %d packets" % (old, new, count), file=sys.stderr)


if __name__ == "__main__":
    main()
