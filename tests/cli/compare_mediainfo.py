#!/usr/bin/python3
"""Compares tonvika-cli's delay_ms with mediainfo's "Delay relative to video"
as recorded beside the same media (MEDIUM.mediainfo.json, made by
tests/fixtures/record_mediainfo.sh).

Every audio stream mediainfo lists is matched with the stream of the same id
in the JSON document's "streams"; its delay must be the same (both null when
there is no video). A stream mediainfo lists that tonvika-cli does not is a
failure too.

Usage: compare_mediainfo.py TONVIKA_CLI SOURCE_DIR   (every medium with a record)
Exit status 0 when every comparison holds, 1 otherwise.
"""
import json
import pathlib
import subprocess
import sys


def main(argv):
    cli, source = argv[1], pathlib.Path(argv[2])
    code_csv = str(source / "data" / "code.csv")
    records = sorted(p for root in (source / "tests" / "fixtures", source / "samples")
                     for p in root.rglob("*.mediainfo.json"))
    media = [str(p)[: -len(".mediainfo.json")] for p in records]
    out = subprocess.run([cli, "--code-csv", code_csv, "--json", *media], capture_output=True, check=False)
    documents = json.loads(out.stdout)
    failures = compared = 0
    for medium, record, doc in zip(media, records, documents):
        ours = {s["stream_id"]: s for s in doc.get("streams", [])}
        with open(record, encoding="utf-8") as f:
            theirs = json.load(f)["streams"]
        for peer in theirs:
            stream = ours.get(peer["stream_id"])
            compared += 1
            if stream is None:
                print(f"{medium}: stream 0x{peer['stream_id']:02X}: not in tonvika-cli's streams")
                failures += 1
            elif stream["delay_ms"] != peer["delay_ms"]:
                print(f"{medium}: stream 0x{peer['stream_id']:02X}: delay ours {stream['delay_ms']}, "
                      f"mediainfo {peer['delay_ms']}")
                failures += 1
    print(f"{compared} delays compared on {len(media)} media, {failures} disagreements")
    if compared == 0:
        print("nothing was compared")
        return 1
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
