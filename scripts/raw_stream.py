#!/usr/bin/env python3
"""Writes a short raw AC-3 or DTS elementary stream file for tests.

The stream is encoded by ffmpeg from a sine, then cut to its first whole
frames (frame sizes as ffprobe reports them). Optionally junk bytes are put
in front of the first frame, or the frames are stored with their 16-bit
words byte-swapped.

Usage: raw_stream.py OUT KIND LAYOUT RATE [--frames N] [--junk N]
                     [--false-sync] [--byteswap] [--intent FILE] [-- ENCODER OPTIONS]
  KIND  ac3 or dts
"""
import argparse
import os
import shlex
import subprocess
import sys
import tempfile

from lavfi_sources import sine_graph

BITEXACT = ["-fflags", "+bitexact", "-flags", "+bitexact"]
CODECS = {"ac3": ("ac3", "ac3"), "dts": ("dca", "dts")}
SYNC_WORDS = (b"\x0b\x77", b"\x77\x0b", b"\x7f\xfe\x80\x01", b"\xfe\x7f\x01\x80")


def junk_bytes(count, salt):
    """Deterministic filler (a linear congruential sequence) free of sync words."""
    state = 0x2545F491 ^ salt
    out = bytearray()
    while len(out) < count:
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        out.append((state >> 16) & 0xFF)
        if any(word in out[-4:] for word in SYNC_WORDS):
            out.pop()  # drop the byte that completed a sync word and go on
    return bytes(out)


def encode(kind, layout, rate, options, target):
    codec, muxer = CODECS[kind]
    command = ["ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-y",
               "-f", "lavfi",
               "-i", sine_graph(layout, rate, 1, 440),
               "-c:a", codec, "-channel_layout", layout, "-strict", "-2"] + options
    command += BITEXACT + ["-f", muxer, target]
    print("+ " + " ".join(shlex.quote(c) for c in command), file=sys.stderr)
    subprocess.run(command, check=True)


def first_frames(path, kind, count):
    sizes = subprocess.run(
        ["ffprobe", "-v", "error", "-f", CODECS[kind][1], "-show_entries", "packet=size",
         "-of", "csv=p=0", path], check=True, capture_output=True, text=True).stdout.split()
    with open(path, "rb") as f:
        data = f.read()
    return data[:sum(int(s) for s in sizes[:count])]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("out")
    parser.add_argument("kind", choices=sorted(CODECS))
    parser.add_argument("layout")
    parser.add_argument("rate")
    parser.add_argument("--frames", type=int, default=3)
    parser.add_argument("--junk", type=int, default=0)
    parser.add_argument("--false-sync", action="store_true",
                        help="put a stray 0B 77 (AC-3) into the junk, 40 bytes in")
    parser.add_argument("--byteswap", action="store_true")
    parser.add_argument("--intent", help="file to append a description line to")
    argv = sys.argv[1:]
    options = argv[argv.index("--") + 1:] if "--" in argv else []
    args = parser.parse_args(argv[:argv.index("--")] if "--" in argv else argv)
    args.options = options

    with tempfile.TemporaryDirectory() as workdir:
        encoded = os.path.join(workdir, "stream." + CODECS[args.kind][1])
        encode(args.kind, args.layout, args.rate, args.options, encoded)
        frames = first_frames(encoded, args.kind, args.frames)
    if args.byteswap:
        swapped = bytearray(frames)
        swapped[0::2], swapped[1::2] = frames[1::2], frames[0::2]
        frames = bytes(swapped)
    junk = bytearray(junk_bytes(args.junk, len(args.out)))
    if args.false_sync:
        junk[40:47] = b"\x0b\x77\x12\x34\x1c\x40\xe1"
    data = bytes(junk) + frames
    with open(args.out, "wb") as f:
        f.write(data)
    if args.intent:
        notes = "junk=%d frames=%d" % (args.junk, args.frames)
        if args.false_sync:
            notes += " false-sync@40"
        if args.byteswap:
            notes += " byteswapped"
        with open(args.intent, "a") as f:
            f.write("\t".join([args.out, "0", "-", args.kind, "-", args.layout, args.rate,
                               " ".join(args.options), notes]) + "\n")
    print("%s: %d bytes" % (args.out, len(data)), file=sys.stderr)


if __name__ == "__main__":
    main()
