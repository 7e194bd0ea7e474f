#!/usr/bin/env python3
"""Cuts a DVD program stream so that it begins where one of its GOPs begins:
at the navigation pack that opens the GOP's VOBU when there is one, otherwise
at the pack of the video packet holding the GOP header. The cut keeps the
packs up to where every audio track can be recognised, as the title set
fixtures are cut (tests/fixtures/check_substreams.py; MPEG audio:
mpeg_audio_frames.py), plus a margin.

ffmpeg's dvd muxer starts every GOP in a new video packet right after a
navigation pack, its payload beginning with the sequence header; the cut
refuses a GOP whose packet holds the end of the previous picture first.

Usage: cut_at_gop.py IN OUT [--gop N] [--margin-packs N] [--min-ac3-syncs N]
  --gop N  the Nth GOP header of the file (default 2: the first one that
           follows other pictures)
"""
import argparse
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "..", "tests", "fixtures"))
import check_substreams  # noqa: E402
import mpeg_audio_frames  # noqa: E402
from video_gops import gops, payload_start  # noqa: E402

PACK_SIZE = 2048
PACK_START = b"\x00\x00\x01\xba"
SEQUENCE_START = b"\x00\x00\x01\xb3"
GOP_START = b"\x00\x00\x01\xb8"


def is_nav_pack(data, pack):
    """A pack whose first packet is a system header or private stream 2."""
    at = pack * PACK_SIZE
    if data[at:at + 4] != PACK_START:
        return False
    first = at + 14 + (data[at + 13] & 7)
    return data[first:first + 3] == b"\x00\x00\x01" and data[first + 3] in (0xBB, 0xBF)


def start_of_cut(data, gop):
    payload = payload_start(data, gop.packet)
    if data[payload:payload + 4] not in (SEQUENCE_START, GOP_START):
        raise SystemExit("the video packet at 0x%X does not begin with the GOP"
                         % gop.packet.offset)
    pack = gop.packet.offset // PACK_SIZE
    if data[pack * PACK_SIZE:pack * PACK_SIZE + 4] != PACK_START:
        raise SystemExit("packs are not %d bytes long" % PACK_SIZE)
    while pack > 0 and is_nav_pack(data, pack - 1):
        pack -= 1
    return pack * PACK_SIZE


def cut_length(tail, margin_packs, min_ac3_syncs, min_dts_syncs, min_mpeg_frames):
    streams = check_substreams.survey(tail, False)
    published = check_substreams.simulate_scan(tail)
    private = check_substreams.cut_size(streams, published, len(tail), min_ac3_syncs,
                                        min_dts_syncs, margin_packs)
    mpeg = mpeg_audio_frames.cut_size(tail, min_mpeg_frames, margin_packs)
    return max(private, mpeg)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("source")
    parser.add_argument("target")
    parser.add_argument("--gop", type=int, default=2)
    parser.add_argument("--margin-packs", type=int, default=16)
    parser.add_argument("--min-ac3-syncs", type=int, default=4)
    parser.add_argument("--min-dts-syncs", type=int, default=1)
    parser.add_argument("--min-mpeg-frames", type=int, default=16)
    args = parser.parse_args()
    with open(args.source, "rb") as f:
        data = f.read()
    found = gops(data)
    if len(found) < args.gop:
        raise SystemExit("%s: %d GOP headers, no GOP %d" % (args.source, len(found), args.gop))
    gop = found[args.gop - 1]
    start = start_of_cut(data, gop)
    tail = data[start:]
    size = cut_length(tail, args.margin_packs, args.min_ac3_syncs, args.min_dts_syncs,
                      args.min_mpeg_frames)
    with open(args.target, "wb") as f:
        f.write(tail[:size])
    print("%s: %s; cut from 0x%X (pack %d), %d bytes (%d packs)"
          % (args.target, gop.describe(), start, start // PACK_SIZE, size, size // PACK_SIZE),
          file=sys.stderr)


if __name__ == "__main__":
    main()
