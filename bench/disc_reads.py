#!/usr/bin/env python3
"""Sums what a traced program read, by file, from an strace log made with
    strace -f -qq -y -e trace=openat,read,pread64,readv,preadv,lseek -o LOG ...
For a DVD image (--image FILE) the reads inside it are split by the image's
files (their extents from `isoinfo -l`) and the rest, its file system.
Prints a Markdown table: what, bytes read, reads.
"""
import argparse
import collections
import re
import subprocess

CALL = re.compile(r"^\d+\s+(\w+)\((\d+)<([^>]*)>(.*)\) = (-?\d+)")
ISO_ENTRY = re.compile(r"\s(\d+)\s+\w{3}\s+\d+\s+\d{4}\s+\[\s*(\d+)\s+\d+\]\s+(\S+?)(;1)?\s*$")


def image_extents(image):
    """(start byte, end byte, name) of each file in the image."""
    listing = subprocess.run(["isoinfo", "-l", "-i", image], capture_output=True, text=True,
                             check=True).stdout
    extents = []
    for line in listing.splitlines():
        match = ISO_ENTRY.search(line)
        if match and not line.startswith("d"):
            size, block, name = int(match.group(1)), int(match.group(2)), match.group(3)
            extents.append((block * 2048, block * 2048 + size, name))
    return extents


def reads(log):
    """(path, offset, bytes) of every successful read."""
    position = collections.defaultdict(int)
    for line in open(log):
        match = CALL.match(line)
        if not match:
            continue
        call, fd, path, rest, result = match.groups()
        result = int(result)
        key = (fd, path)
        if call == "lseek" and result >= 0:
            position[key] = result
        elif call == "openat":
            continue
        elif call in ("read", "readv") and result > 0:
            yield path, position[key], result
            position[key] += result
        elif call in ("pread64", "preadv") and result > 0:
            offset = int(rest.rsplit(",", 1)[1])
            yield path, offset, result


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("log")
    parser.add_argument("--image")
    args = parser.parse_args()
    extents = image_extents(args.image) if args.image else []
    totals = collections.OrderedDict()
    for path, offset, size in reads(args.log):
        if path.startswith(("/proc/", "/sys/", "/etc/", "/usr/", "/lib")) or path.endswith(".csv"):
            what = "system and language table: " + path
        elif args.image and path.endswith(args.image.split("/")[-1]):
            what = "image: file system (descriptors, UDF tables, directories)"
            for start, end, name in extents:
                if start <= offset < end:
                    what = "image: " + name
                    break
        else:
            what = path.split("/")[-1]
        bytes_read, count = totals.get(what, (0, 0))
        totals[what] = (bytes_read + size, count + 1)
    print("| what | bytes read | reads |")
    print("|---|---:|---:|")
    for what, (bytes_read, count) in sorted(totals.items()):
        print("| %s | %d | %d |" % (what, bytes_read, count))


if __name__ == "__main__":
    main()
