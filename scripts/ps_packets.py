"""Walks an MPEG-2 program stream (DVD VOB) pack by pack and packet by packet.

Shared by rewrite_substreams.py and tests/fixtures/check_substreams.py.
Only MPEG-2 pack headers are understood; anything else stops the walk.
"""

PACK_START = 0xBA
END_CODE = 0xB9
PRIVATE_STREAM_1 = 0xBD


class Packet:
    """One PES packet: its start offset, stream id and payload bounds."""

    def __init__(self, data, offset):
        self.offset = offset
        self.stream_id = data[offset + 3]
        self.length = (data[offset + 4] << 8) | data[offset + 5]
        self.end = offset + 6 + self.length  # one past the last byte

    def substream_offset(self, data):
        """Offset of the DVD sub-stream number of a 0xBD packet, or None."""
        if self.stream_id != PRIVATE_STREAM_1 or (data[self.offset + 6] & 0xC0) != 0x80:
            return None
        at = self.offset + 9 + data[self.offset + 8]
        return at if at < min(self.end, len(data)) else None


def walk_packets(data):
    """Yields every PES packet of the stream (pack and end codes are skipped)."""
    pos = 0
    size = len(data)
    while pos + 4 <= size:
        if data[pos] != 0 or data[pos + 1] != 0 or data[pos + 2] != 1:
            raise ValueError("no start code at offset 0x%X" % pos)
        code = data[pos + 3]
        if code == PACK_START:
            if pos + 14 > size:
                return
            if (data[pos + 4] & 0xC0) != 0x40:
                raise ValueError("MPEG-1 pack header at offset 0x%X" % pos)
            pos += 14 + (data[pos + 13] & 0x07)
        elif code == END_CODE:
            pos += 4
        else:
            if pos + 6 > size:
                return
            packet = Packet(data, pos)
            yield packet
            pos = packet.end
