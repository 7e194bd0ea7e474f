#!/usr/bin/env python3
"""Swaps two cells of a program chain in a title set's IFO and its backup:
their entries in the chain's cell playback table (sectors, lengths, flags)
and in its cell position table (VOB and cell ids) trade places, so that the
chain plays them in the other order while the VOB keeps storing them as it
did. The chain and its tables are found through the file's own pointers.

Usage: swap_cells.py VIDEO_TS_DIR TITLE_SET CHAIN CELL CELL   (numbers from 1)
"""
import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from ifo_layout import CELL_PLAYBACK_SIZE, CELL_POSITION_SIZE, cells, program_chains  # noqa: E402


def swap(data, chain, first, second):
    entries = cells(data, chain)
    for index, size in ((0, CELL_PLAYBACK_SIZE), (1, CELL_POSITION_SIZE)):
        a, b = entries[first - 1][index], entries[second - 1][index]
        data[a:a + size], data[b:b + size] = data[b:b + size], data[a:a + size]


def swap_in_files(video_ts, title_set, chain_number, first, second):
    for suffix in ("IFO", "BUP"):
        path = os.path.join(video_ts, "VTS_%02d_0.%s" % (title_set, suffix))
        with open(path, "rb") as f:
            data = bytearray(f.read())
        swap(data, program_chains(data)[chain_number - 1], first, second)
        with open(path, "wb") as f:
            f.write(data)
        print("%s: cells %d and %d of chain %d swapped" % (path, first, second, chain_number), file=sys.stderr)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("video_ts")
    parser.add_argument("title_set", type=int)
    parser.add_argument("chain", type=int)
    parser.add_argument("cells", type=int, nargs=2)
    args = parser.parse_args()
    swap_in_files(args.video_ts, args.title_set, args.chain, *args.cells)


if __name__ == "__main__":
    main()
