"""Finds the GOP headers of the MPEG video stream (PES stream id 0xE0) of a
DVD program stream, with the first picture that follows each.

Shared by cut_at_gop.py and set_closed_gop.py. The video payloads are
joined, so a header may straddle two packets; every position found is a
file offset.

group_of_pictures_header: the start code 00 00 01 B8, then time_code
(25 bits: drop_frame_flag, hours 5, minutes 6, marker bit, seconds 6,
pictures 6), closed_gop (1 bit), broken_link (1 bit). So closed_gop is bit
0x40 and broken_link bit 0x20 of the header's eighth byte (start code
included). The picture header after it: 00 00 01 00, temporal_reference
(10 bits), picture_coding_type (3 bits: 1 I, 2 P, 3 B).
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from ps_packets import walk_packets  # noqa: E402

VIDEO_ID = 0xE0
GOP_START = b"\x00\x00\x01\xb8"
PICTURE_START = b"\x00\x00\x01\x00"
CLOSED_GOP = 0x40
BROKEN_LINK = 0x20
PICTURE_TYPES = {1: "I", 2: "P", 3: "B", 4: "D"}


class Gop:
    """One GOP header: file offsets of its start code and of its flag byte,
    the video packet holding the start code, and the first picture after it."""

    def __init__(self, payload, offsets, at, packet):
        self.offset = offsets[at]
        self.flags_offset = offsets[at + 7]
        self.packet = packet
        b = payload[at + 4:at + 8]
        self.time_code = "%02d:%02d:%02d:%02d" % ((b[0] >> 2) & 0x1F,
                                                  ((b[0] & 3) << 4) | (b[1] >> 4),
                                                  ((b[1] & 7) << 3) | (b[2] >> 5),
                                                  ((b[2] & 0x1F) << 1) | (b[3] >> 7))
        self.closed = bool(b[3] & CLOSED_GOP)
        self.broken_link = bool(b[3] & BROKEN_LINK)
        pic = payload.find(PICTURE_START, at + 8)
        if 0 <= pic and pic + 6 <= len(payload):
            self.temporal_reference = (payload[pic + 4] << 2) | (payload[pic + 5] >> 6)
            self.picture_type = PICTURE_TYPES.get((payload[pic + 5] >> 3) & 7, "?")
        else:
            self.temporal_reference = None
            self.picture_type = None

    def describe(self):
        return ("GOP at 0x%X (video packet at 0x%X): time code %s, closed_gop %d, "
                "broken_link %d, first picture %s with temporal_reference %s"
                % (self.offset, self.packet.offset, self.time_code, self.closed,
                   self.broken_link, self.picture_type, self.temporal_reference))


def payload_start(data, packet):
    if (data[packet.offset + 6] & 0xC0) != 0x80:
        return None
    return packet.offset + 9 + data[packet.offset + 8]


def gops(data):
    """Every GOP header of the video stream, in file order."""
    payload = bytearray()
    offsets = []
    packet_at = []  # index into payload where each video packet begins
    packets = []
    for packet in walk_packets(data):
        if packet.stream_id != VIDEO_ID:
            continue
        start = payload_start(data, packet)
        end = min(packet.end, len(data))
        if start is None or start >= end:
            continue
        packet_at.append(len(payload))
        packets.append(packet)
        payload += data[start:end]
        offsets.extend(range(start, end))
    found = []
    at = payload.find(GOP_START)
    which = 0
    while 0 <= at and at + 8 <= len(payload):
        while which + 1 < len(packet_at) and packet_at[which + 1] <= at:
            which += 1
        found.append(Gop(payload, offsets, at, packets[which]))
        at = payload.find(GOP_START, at + 4)
    return found
