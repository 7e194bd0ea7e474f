#!/usr/bin/env python3
"""Makes a genisoimage -dvd-video image reproducible, in place.

Two parts of such an image change from one run to the next even when the
clock is held still (faketime) and every file has a fixed time:
- the sectors between two files (genisoimage places each DVD file where the
  IFOs say it lies) hold whatever its write buffer held: they are zeroed;
- the UDF volume set identifier is 16 hex digits, the time and then the
  process id: the second eight become 00000000, and the tag checksum and CRC
  of every Primary Volume Descriptor that holds it are computed again.

Sectors before the first file (the ISO 9660 and UDF structures) and after
the last one (the closing UDF anchor) are left alone otherwise.

Usage: settle_dvd_image.py IMAGE
"""
import argparse
import re
import sys

SECTOR = 2048
UDF_PRIMARY_VOLUME_DESCRIPTOR = 1
VOLUME_SET_ID = 72  # dstring of 128 bytes in the Primary Volume Descriptor


def le32(data, at):
    return int.from_bytes(data[at:at + 4], "little")


def iso_files(data):
    """(first sector, sector count) of every file of the ISO 9660 tree."""
    pvd = SECTOR * 16
    if data[pvd:pvd + 6] != b"\x01CD001":
        raise SystemExit("no ISO 9660 primary volume descriptor")
    files = []
    pending = [(le32(data, pvd + 156 + 2), le32(data, pvd + 156 + 10))]
    seen = set()
    while pending:
        extent, length = pending.pop()
        if extent in seen:
            continue
        seen.add(extent)
        at, end = extent * SECTOR, extent * SECTOR + length
        while at < end:
            size = data[at]
            if size == 0:  # records do not cross sectors: go on in the next
                at = (at // SECTOR + 1) * SECTOR
                continue
            child, child_length = le32(data, at + 2), le32(data, at + 10)
            name_length = data[at + 32]
            name = data[at + 33:at + 33 + name_length]
            if data[at + 25] & 2:
                if name not in (b"\x00", b"\x01"):
                    pending.append((child, child_length))
            else:
                files.append((child, (child_length + SECTOR - 1) // SECTOR))
            at += size
    return files


def zero_gaps(data, files):
    used = set()
    for first, count in files:
        used.update(range(first, first + count))
    start = min(first for first, _ in files)
    end = max(first + count for first, count in files)
    zeroed = 0
    for sector in range(start, end):
        if sector not in used and any(data[sector * SECTOR:(sector + 1) * SECTOR]):
            data[sector * SECTOR:(sector + 1) * SECTOR] = bytes(SECTOR)
            zeroed += 1
    return zeroed, start


def crc_itu(data):
    crc = 0
    for byte in data:
        crc ^= byte << 8
        for _ in range(8):
            crc = ((crc << 1) ^ 0x1021) if crc & 0x8000 else crc << 1
            crc &= 0xFFFF
    return crc


def retag(data, at):
    """Computes the descriptor CRC and the tag checksum of the descriptor at `at`."""
    crc_length = int.from_bytes(data[at + 10:at + 12], "little")
    data[at + 8:at + 10] = crc_itu(data[at + 16:at + 16 + crc_length]).to_bytes(2, "little")
    data[at + 4] = sum(data[at + k] for k in range(16) if k != 4) & 0xFF


def settle_volume_set_ids(data, before):
    changed = 0
    for sector in range(16, before):
        at = sector * SECTOR
        if (int.from_bytes(data[at:at + 2], "little") != UDF_PRIMARY_VOLUME_DESCRIPTOR
                or le32(data, at + 12) != sector):
            continue
        field = at + VOLUME_SET_ID
        if data[field] != 8 or not re.fullmatch(rb"[0-9A-F]{16}", bytes(data[field + 1:field + 17])):
            raise SystemExit("sector %d: unexpected volume set identifier %r"
                             % (sector, bytes(data[field:field + 20])))
        data[field + 9:field + 17] = b"00000000"
        retag(data, at)
        changed += 1
    return changed


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("image")
    args = parser.parse_args()
    with open(args.image, "rb") as f:
        data = bytearray(f.read())
    files = iso_files(data)
    zeroed, first = zero_gaps(data, files)
    changed = settle_volume_set_ids(data, first)
    if changed == 0:
        raise SystemExit("no UDF primary volume descriptor found")
    with open(args.image, "wb") as f:
        f.write(data)
    print("%s: %d files, %d gap sectors zeroed, %d volume set identifiers settled"
          % (args.image, len(files), zeroed, changed), file=sys.stderr)


if __name__ == "__main__":
    main()
