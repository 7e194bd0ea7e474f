#!/usr/bin/env python3
"""Sets which physical audio stream the program chains of a title set play
for some of its IFO audio entries: rewrites the entries' audio stream control
words (available, stream number) in every program chain of VTS_01_0.IFO and
of its backup VTS_01_0.BUP. The chains are found through the files' own
pointers. With --intent, the lines of the title set's VOB in that file get
the language the IFO now gives their sub-stream.

Usage: set_audio_control.py VIDEO_TS_DIR ENTRY:STREAM... [--intent FILE]
  e.g. 0:1 1:0 makes entry 0 play audio stream 1 and entry 1 stream 0;
  1:off marks entry 1 unavailable.
"""
import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from ifo_layout import (audio_control_offset, audio_entries, declared_streams,  # noqa: E402
                        program_chains)

NAMES = ("VTS_01_0.IFO", "VTS_01_0.BUP")


def set_control(path, mapping, chain_numbers=None):
    """Rewrites the control words of every chain, or of the chains numbered
    (from 1) in `chain_numbers`."""
    with open(path, "rb") as f:
        data = bytearray(f.read())
    chains = program_chains(data)
    if chain_numbers is not None:
        chains = [chains[n - 1] for n in chain_numbers]
    for chain in chains:
        for entry, stream in mapping.items():
            at = audio_control_offset(chain, entry)
            data[at] = 0x00 if stream is None else 0x80 | stream
            data[at + 1] = 0x00
    with open(path, "wb") as f:
        f.write(data)
    print("%s: %d program chain(s) rewritten" % (path, len(chains)), file=sys.stderr)
    return data


def update_intent(intent, vob, data):
    """Gives each of the VOB's lines the language of the entry that now plays it."""
    entries = audio_entries(data)
    declared = declared_streams(data)
    with open(intent) as f:
        lines = f.read().splitlines()
    out = []
    for line in lines:
        fields = line.split("\t")
        if fields[0] == vob:
            entry = declared.get(int(fields[2], 16))
            if entry is None:
                fields[4] = "-"
                fields[8] = "no IFO entry plays it (program chain edited)"
            else:
                fields[4] = entries[entry][1] or "-"
                fields[8] = "IFO entry %d plays it (program chain edited)" % entry
        out.append("\t".join(fields))
    with open(intent, "w") as f:
        f.write("\n".join(out) + "\n")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("video_ts")
    parser.add_argument("pairs", nargs="+", metavar="ENTRY:STREAM")
    parser.add_argument("--intent")
    args = parser.parse_args()
    mapping = {}
    for pair in args.pairs:
        entry, stream = pair.split(":")
        entry = int(entry)
        stream = None if stream == "off" else int(stream)
        if not (0 <= entry <= 7 and (stream is None or 0 <= stream <= 7)):
            parser.error("entries and streams are 0 to 7: %r" % pair)
        mapping[entry] = stream
    data = None
    for name in NAMES:
        data = set_control(os.path.join(args.video_ts, name), mapping)
    if args.intent:
        update_intent(args.intent, os.path.join(args.video_ts, "VTS_01_1.VOB"), data)


if __name__ == "__main__":
    main()
