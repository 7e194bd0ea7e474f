#!/usr/bin/env python3
"""Lists the MPEG audio streams of a DVD program stream (PES stream ids
0xC0-0xC7) and the frames each holds, and tells how much of the file a
reader needs to see a given number of frames of every one of them.

The payloads of each stream are joined; a frame is a header (sync 0xFFE,
layer, bit rate and sample rate valid) whose length, taken from the header,
ends inside the joined payload. A header may straddle two packets.

Usage: mpeg_audio_frames.py [--cut-size [--min-frames N] [--margin-packs N]] FILE
  --cut-size  print only the byte count (whole 2048-byte packs) that holds
              N frame headers of every MPEG audio stream plus a margin, or 0
              when the file holds no MPEG audio
"""
import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from ps_packets import walk_packets  # noqa: E402

PACK_SIZE = 2048
FIRST_ID, LAST_ID = 0xC0, 0xC7

# kb/s by bit rate index, for MPEG-1 layers I, II, III and MPEG-2/2.5
# (layer I; layers II and III).
BIT_RATES = {
    (1, 1): [0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448],
    (1, 2): [0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384],
    (1, 3): [0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320],
    (2, 1): [0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256],
    (2, 2): [0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160],
    (2, 3): [0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160],
}
SAMPLE_RATES = {1: [44100, 48000, 32000], 2: [22050, 24000, 16000], 2.5: [11025, 12000, 8000]}
VERSIONS = {3: 1, 2: 2, 0: 2.5}  # the two version bits
MODES = ["stereo", "joint stereo", "dual channel", "mono"]


class Header:
    """The fields of one four-byte MPEG audio frame header."""

    def __init__(self, b):
        self.version = VERSIONS.get((b[1] >> 3) & 3)
        self.layer = 4 - ((b[1] >> 1) & 3)
        self.rate_index = b[2] >> 4
        self.frequency_index = (b[2] >> 2) & 3
        self.padding = (b[2] >> 1) & 1
        self.mode = b[3] >> 6

    @property
    def valid(self):
        return (self.version is not None and self.layer in (1, 2, 3)
                and 0 < self.rate_index < 15 and self.frequency_index < 3)

    @property
    def kbps(self):
        return BIT_RATES[(1 if self.version == 1 else 2, self.layer)][self.rate_index]

    @property
    def sample_rate(self):
        return SAMPLE_RATES[self.version][self.frequency_index]

    @property
    def channels(self):
        return 1 if self.mode == 3 else 2

    @property
    def length(self):
        bits_per_second = self.kbps * 1000
        if self.layer == 1:
            return (12 * bits_per_second // self.sample_rate + self.padding) * 4
        if self.layer == 3 and self.version != 1:
            return 72 * bits_per_second // self.sample_rate + self.padding
        return 144 * bits_per_second // self.sample_rate + self.padding

    def describe(self):
        return "MPEG-%s Layer %s %d kb/s %d Hz %s" % (
            self.version, "I" * self.layer if self.layer < 3 else "III", self.kbps,
            self.sample_rate, MODES[self.mode])


class Stream:
    def __init__(self, stream_id):
        self.stream_id = stream_id
        self.packets = 0
        self.payload = bytearray()
        self.offsets = []  # file offset of each payload byte
        self.frames = []  # (file offsets of the header's first and last byte, Header)


def payload_start(data, packet):
    """Offset of a PES packet's payload (MPEG-2 PES header)."""
    if (data[packet.offset + 6] & 0xC0) != 0x80:
        return None
    return packet.offset + 9 + data[packet.offset + 8]


def find_frames(stream):
    data = stream.payload
    at = 0
    while at + 4 <= len(data):
        if data[at] == 0xFF and (data[at + 1] & 0xE0) == 0xE0:
            header = Header(data[at:at + 4])
            if header.valid and at + header.length <= len(data):
                stream.frames.append((stream.offsets[at], stream.offsets[at + 3], header))
                at += header.length
                continue
        at += 1


def survey(data):
    """Stream id -> Stream, for every MPEG audio stream of the file."""
    streams = {}
    for packet in walk_packets(data):
        if not FIRST_ID <= packet.stream_id <= LAST_ID:
            continue
        start = payload_start(data, packet)
        end = min(packet.end, len(data))
        if start is None or start >= end:
            continue
        stream = streams.setdefault(packet.stream_id, Stream(packet.stream_id))
        stream.packets += 1
        stream.payload += data[start:end]
        stream.offsets.extend(range(start, end))
    for stream in streams.values():
        find_frames(stream)
    return streams


def cut_size(data, min_frames, margin_packs):
    """Whole packs up to the header of frame `min_frames` of every MPEG audio
    stream, plus `margin_packs`; 0 without MPEG audio."""
    streams = survey(data)
    if not streams:
        return 0
    needed = 0
    for stream in streams.values():
        if len(stream.frames) < min_frames:
            raise SystemExit("MPEG audio stream 0x%02X has %d frames, %d wanted"
                             % (stream.stream_id, len(stream.frames), min_frames))
        needed = max(needed, stream.frames[min_frames - 1][1] + 1)
    packs = (needed + PACK_SIZE - 1) // PACK_SIZE + margin_packs
    return min(packs * PACK_SIZE, len(data))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("file")
    parser.add_argument("--cut-size", action="store_true")
    parser.add_argument("--min-frames", type=int, default=16)
    parser.add_argument("--margin-packs", type=int, default=16)
    args = parser.parse_args()
    with open(args.file, "rb") as f:
        data = f.read()
    if args.cut_size:
        print(cut_size(data, args.min_frames, args.margin_packs))
        return
    streams = survey(data)
    print("%s: %d bytes (%d packs)" % (args.file, len(data), len(data) // PACK_SIZE))
    for stream_id in sorted(streams):
        s = streams[stream_id]
        line = "  0x%02X packets=%d frames=%d" % (stream_id, s.packets, len(s.frames))
        if s.frames:
            first, _, header = s.frames[0]
            line += " first header at 0x%X: %s" % (first, header.describe())
        print(line)


if __name__ == "__main__":
    main()
