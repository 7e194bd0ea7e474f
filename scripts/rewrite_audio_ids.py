#!/usr/bin/env python3
"""Renumbers the audio streams of an ffmpeg-made DVD program stream that
carries MPEG audio besides (or instead of) private stream 1 audio.

ffmpeg's dvd muxer numbers each audio kind from its own base: MPEG audio
from PES stream id 0xC0, AC-3 from sub-stream 0x80, DTS from 0x88, LPCM from
0xA0. On a DVD, audio stream n is carried as PES stream 0xC0+n (MPEG audio)
or as sub-stream 0x80+n, 0x88+n or 0xA0+n of private stream 1, n being the
track's place in the title set. rewrite_substreams.py does this for title
sets without MPEG audio; this script also moves the MPEG audio packets to
their stream ids. Packet sizes do not change.

Usage: rewrite_audio_ids.py IN OUT KIND... (KIND: ac3, dts, lpcm or mp2)
       [--lpcm-quant N:BITS] as in rewrite_substreams.py
"""
import argparse
import collections
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from ps_packets import walk_packets  # noqa: E402
from rewrite_substreams import BASES, QUANT_CODES  # noqa: E402

MPEG_AUDIO_BASE = 0xC0


def id_maps(kinds):
    """(PES stream id map for MPEG audio, sub-stream map for private stream 1):
    ffmpeg's number for each track -> the DVD number."""
    seen = collections.Counter()
    mpeg, private = {}, {}
    for track, kind in enumerate(kinds):
        if kind == "mp2":
            mpeg[MPEG_AUDIO_BASE + seen[kind]] = MPEG_AUDIO_BASE + track
        else:
            private[BASES[kind] + seen[kind]] = BASES[kind] + track
        seen[kind] += 1
    return mpeg, private


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("source")
    parser.add_argument("target")
    parser.add_argument("kinds", nargs="+", choices=sorted(BASES) + ["mp2"])
    parser.add_argument("--lpcm-quant", action="append", default=[], metavar="N:BITS")
    args = parser.parse_args()
    if len(args.kinds) > 8:
        parser.error("a title set has at most eight audio streams")
    mpeg, private = id_maps(args.kinds)
    quant = {}
    for item in args.lpcm_quant:
        track, bits = (int(x) for x in item.split(":"))
        quant[BASES["lpcm"] + track] = QUANT_CODES[bits]

    with open(args.source, "rb") as f:
        data = bytearray(f.read())
    counts = collections.Counter()
    for packet in walk_packets(data):
        if packet.stream_id in mpeg:
            new = mpeg[packet.stream_id]
            counts[(packet.stream_id, new)] += 1
            data[packet.offset + 3] = new
            continue
        at = packet.substream_offset(data)
        if at is None or data[at] not in private:
            continue
        old = data[at]
        new = private[old]
        data[at] = new
        counts[(old, new)] += 1
        if new in quant:
            data[at + 5] = (data[at + 5] & 0x3F) | (quant[new] << 6)
    with open(args.target, "wb") as f:
        f.write(data)
    for (old, new), count in sorted(counts.items()):
        print("0x%02X -> 0x%02X: %d packets" % (old, new, count), file=sys.stderr)


if __name__ == "__main__":
    main()
