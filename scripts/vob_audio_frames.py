#!/usr/bin/env python3
"""Finds the frames of one audio stream of a DVD program stream (VOB), or of
a raw AC-3, DTS or MPEG audio file, and tells where each lies in the file.

The stream is an AC-3 (0x80-0x87) or DTS (0x88-0x8F) sub-stream of private
stream 1, or an MPEG audio PES stream (0xC0-0xC7). Its payloads are joined
(for a sub-stream without the four bytes that follow the sub-stream number:
the number itself, the frame count and the first access unit pointer), and
every payload byte keeps its file offset, so a frame that straddles two
packets is still one frame and no byte of a PES header is ever taken for
frame data. A frame is a sync word with a header that gives its length and
whose whole length lies in the joined payload; the walk goes frame by frame
and looks for the next sync word only where a frame is not followed by one.

Each frame gets the PTS of the packet in which it begins when it is the
first frame to begin in that packet (the rule of the PES header), otherwise
the PTS of the frame before it plus one frame's duration.

Usage: vob_audio_frames.py FILE [--stream 0x80] [--raw ac3|dts|mp2]
  prints one line per frame: index, file offsets of its first and last byte,
  PTS (90 kHz), a description of its header
"""
import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from mpeg_audio_frames import Header as MpegHeader  # noqa: E402
from ps_packets import PRIVATE_STREAM_1, walk_packets  # noqa: E402

AC3_SYNC = b"\x0b\x77"
DTS_SYNC = b"\x7f\xfe\x80\x01"
# AC-3 frame sizes in 16-bit words by frame size code (two codes a rate)
# for 48, 44.1 and 32 kHz; kb/s by frame size code.
AC3_RATES = [32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 448,
             512, 576, 640]
AC3_SAMPLE_RATES = [48000, 44100, 32000]
AC3_ACMODS = ["1+1", "1/0", "2/0", "3/0", "2/1", "3/1", "2/2", "3/2"]
AC3_CHANNELS = [2, 1, 2, 3, 3, 4, 4, 5]
DTS_RATES = [32, 56, 64, 96, 112, 128, 192, 224, 256, 320, 384, 448, 512, 576, 640, 768,
             960, 1024, 1152, 1280, 1344, 1408, 1411.2, 1472, 1536, 1920, 2048, 3072, 3840]
DTS_SAMPLE_RATES = {1: 8000, 2: 16000, 3: 32000, 6: 11025, 7: 22050, 8: 44100,
                    11: 12000, 12: 24000, 13: 48000}


def ac3_frame_bytes(sample_rate_code, size_code):
    kbps = AC3_RATES[size_code >> 1]
    if sample_rate_code == 0:
        return kbps * 4
    if sample_rate_code == 1:
        return (kbps * 320 // 147 + (size_code & 1)) * 2
    return kbps * 6


class Bits:
    def __init__(self, data):
        self.data = data
        self.pos = 0

    def read(self, count):
        value = 0
        for _ in range(count):
            value = (value << 1) | ((self.data[self.pos >> 3] >> (7 - (self.pos & 7))) & 1)
            self.pos += 1
        return value


class Frame:
    """One frame: `index` in the stream, `start` and `last` (file offsets of its
    first and last byte), `size`, `pts` (90 kHz, or None) and header fields."""

    def __init__(self, kind, header, index, size, samples, fields, description):
        self.kind = kind
        self.header = header
        self.index = index
        self.size = size
        self.samples = samples
        self.fields = fields
        self.description = description
        self.start = self.last = None
        self.pts = None
        self.offsets = None  # file offset of every byte of the frame
        self.position = None

    def as_dict(self):
        out = {"index": self.index, "offset": self.start, "last_offset": self.last,
               "size": self.size, "pts": self.pts}
        out.update(self.fields)
        return out


def parse_ac3(head):
    if len(head) < 8 or head[:2] != AC3_SYNC:
        return None
    rate_code, size_code = head[4] >> 6, head[4] & 0x3F
    bsid = head[5] >> 3
    if rate_code == 3 or size_code >= 38 or bsid > 10:
        return None
    bits = Bits(head[6:8])
    acmod = bits.read(3)
    if acmod & 1 and acmod != 1:
        bits.read(2)  # cmixlev
    if acmod & 4:
        bits.read(2)  # surmixlev
    if acmod == 2:
        bits.read(2)  # dsurmod
    lfe = bits.read(1)
    kbps = AC3_RATES[size_code >> 1]
    fields = {"bit_rate": kbps * 1000, "sample_rate": AC3_SAMPLE_RATES[rate_code],
              "acmod": acmod, "lfeon": lfe, "channels": AC3_CHANNELS[acmod] + lfe, "bsid": bsid}
    description = "AC-3 %s%s %d kb/s %d Hz" % (AC3_ACMODS[acmod], "+LFE" if lfe else "",
                                              kbps, AC3_SAMPLE_RATES[rate_code])
    return ac3_frame_bytes(rate_code, size_code), 1536, fields, description


def parse_dts(head):
    if len(head) < 11 or head[:4] != DTS_SYNC:
        return None
    bits = Bits(head[4:11])
    bits.read(1 + 5 + 1)  # frame type, deficit sample count, CRC present
    blocks = bits.read(7) + 1
    size = bits.read(14) + 1
    amode = bits.read(6)
    sample_rate = DTS_SAMPLE_RATES.get(bits.read(4))
    rate_index = bits.read(5)
    bits.read(10)  # mix, dynamic range, time stamp, aux, HDCD, ext audio id, ext audio, sync
    lff = bits.read(2)
    if size < 96 or sample_rate is None or rate_index >= len(DTS_RATES):
        return None
    kbps = DTS_RATES[rate_index]
    fields = {"bit_rate": int(kbps * 1000), "sample_rate": sample_rate, "amode": amode,
              "lff": lff}
    description = "DTS amode %d%s %g kb/s %d Hz" % (amode, "+LFE" if lff else "", kbps,
                                                   sample_rate)
    return size, blocks * 32, fields, description


def parse_mpeg(head):
    if len(head) < 4 or head[0] != 0xFF or (head[1] & 0xE0) != 0xE0:
        return None
    header = MpegHeader(head[:4])
    if not header.valid:
        return None
    samples = 384 if header.layer == 1 else 1152
    if header.layer == 3 and header.version != 1:
        samples = 576
    fields = {"bit_rate": header.kbps * 1000, "sample_rate": header.sample_rate,
              "layer": header.layer, "channels": header.channels,
              "protected": (head[1] & 1) == 0}
    description = header.describe() + (" CRC" if fields["protected"] else "")
    return header.length, samples, fields, description


PARSERS = {"ac3": (AC3_SYNC, parse_ac3), "dts": (DTS_SYNC, parse_dts),
           "mp2": (b"\xff", parse_mpeg)}


def kind_of(stream_id):
    if 0x80 <= stream_id <= 0x87:
        return "ac3"
    if 0x88 <= stream_id <= 0x8F:
        return "dts"
    if 0xC0 <= stream_id <= 0xC7:
        return "mp2"
    raise SystemExit("stream 0x%02X is no AC-3, DTS or MPEG audio stream" % stream_id)


def pes_payload(data, packet):
    """Offset of the payload of an MPEG-2 PES packet and its PTS (or None)."""
    at = packet.offset
    if (data[at + 6] & 0xC0) != 0x80:
        return None, None
    pts = None
    if data[at + 7] & 0x80:
        b = data[at + 9:at + 14]
        pts = (((b[0] >> 1) & 7) << 30 | b[1] << 22 | (b[2] >> 1) << 15 | b[3] << 7
               | b[4] >> 1)
    return at + 9 + data[at + 8], pts


class Elementary:
    """The joined payload of one stream: `payload`, `offsets` (file offset of
    each byte) and `marks` ((first and one past the last index in payload,
    PTS or None) of each packet)."""

    def __init__(self):
        self.payload = bytearray()
        self.offsets = []
        self.marks = []
        self.packets = 0


def elementary(data, stream_id):
    stream = Elementary()
    for packet in walk_packets(data):
        end = min(packet.end, len(data))
        if stream_id < 0xC0:
            if packet.stream_id != PRIVATE_STREAM_1:
                continue
            start, pts = pes_payload(data, packet)
            if start is None or start >= end or data[start] != stream_id:
                continue
            start += 4  # sub-stream number, frame count, first access unit pointer
        else:
            if packet.stream_id != stream_id:
                continue
            start, pts = pes_payload(data, packet)
            if start is None:
                continue
        if start >= end:
            continue
        stream.packets += 1
        stream.marks.append((len(stream.payload), len(stream.payload) + end - start, pts))
        stream.payload += data[start:end]
        stream.offsets.extend(range(start, end))
    return stream


def raw_elementary(data):
    stream = Elementary()
    stream.payload = bytearray(data)
    stream.offsets = range(len(data))
    return stream


def walk(stream, kind, resync=True):
    """Every whole frame of the joined payload, in order."""
    sync, parse = PARSERS[kind]
    data = stream.payload
    frames = []
    marks = iter(stream.marks + [(len(data), len(data) + 1, None)])
    mark = next(marks)
    at = 0
    previous_start = -1
    while at < len(data):
        parsed = parse(bytes(data[at:at + 16]))
        if parsed is None or at + parsed[0] > len(data):
            if parsed is not None or not resync:
                break  # the last frame is cut short
            found = data.find(sync, at + 1)
            if found < 0:
                break
            at = found
            continue
        size, samples, fields, description = parsed
        frame = Frame(kind, bytes(data[at:at + 16]), len(frames), size, samples, fields,
                      description)
        frame.position = at  # in the joined payload
        frame.offsets = stream.offsets[at:at + size]
        frame.start, frame.last = frame.offsets[0], frame.offsets[-1]
        while mark[1] <= at:
            mark = next(marks)  # the packet in which the frame begins
        if mark[2] is not None and previous_start < mark[0] <= at:
            frame.pts = mark[2]  # the first frame that begins in a packet with a PTS
        elif frames and frames[-1].pts is not None:
            previous = frames[-1]
            frame.pts = previous.pts + previous.samples * 90000 // previous.fields["sample_rate"]
        frames.append(frame)
        previous_start = at
        at += size
    return frames


def vob_frames(data, stream_id):
    return walk(elementary(data, stream_id), kind_of(stream_id))


def runs(frames):
    """Consecutive frames with the same header description: (first, count)."""
    out = []
    for frame in frames:
        if out and out[-1][0].description == frame.description:
            out[-1][1] += 1
        else:
            out.append([frame, 1])
    return [(first, count) for first, count in out]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("file")
    parser.add_argument("--stream", type=lambda s: int(s, 0), default=0x80)
    parser.add_argument("--raw", choices=sorted(PARSERS),
                        help="the file is a raw elementary stream of this kind")
    args = parser.parse_args()
    with open(args.file, "rb") as f:
        data = f.read()
    if args.raw:
        frames = walk(raw_elementary(data), args.raw)
    else:
        frames = vob_frames(data, args.stream)
    for frame in frames:
        pts = "-" if frame.pts is None else "%d" % frame.pts
        print("%4d 0x%06X-0x%06X pts %s  %s" % (frame.index, frame.start, frame.last, pts,
                                               frame.description))


if __name__ == "__main__":
    main()
