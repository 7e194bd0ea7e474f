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
import sys

from fixture_documents import documents, media_with, summary


def main(argv):
    cli, source = argv[1], pathlib.Path(argv[2])
    media = media_with(source, ".mediainfo.json")
    failures = compared = 0
    for medium, doc in zip(media, documents(cli, source, media)):
        ours = {s["stream_id"]: s for s in doc.get("streams", [])}
        with open(medium + ".mediainfo.json", encoding="utf-8") as f:
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
    return summary(compared, media, failures, "delays")


if __name__ == "__main__":
    sys.exit(main(sys.argv))
