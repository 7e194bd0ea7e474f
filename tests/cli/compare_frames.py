#!/usr/bin/python3
"""Sets tonvika-cli's walk over every frame against what was recorded of the
same media when they were made (tests/fixtures/make_frame_fixtures.sh):

- MEDIUM.frames.json: the whole frames of one stream and where its header
  changes (frame index and PTS), told by ffprobe's frames;
- MEDIUM.crccheck.json: how many frames `ffmpeg -err_detect crccheck` finds
  failing their CRC.

Every other fixture VOB is clean: each of its streams must report no CRC
error and no change.

Usage: compare_frames.py TONVIKA_CLI SOURCE_DIR
Exit status 0 when every comparison holds, 1 otherwise.
"""
import json
import pathlib
import sys

from fixture_documents import documents, summary


# Streams that change by design: (medium suffix, stream id) -> why, and the
# changes (frame index, PTS) the walk must find there.
NOT_CLEAN = {
    ("disc/titles_by_chain/VIDEO_TS/VTS_01_1.VOB", 0x80): (
        "two titles stored one after the other in the title set's VOB, the first with AC-3 2/0 "
        "192 kb/s, the second 3/2+LFE 448 kb/s; read as a file, the stream changes where the "
        "second title's cells begin (and its PTS start again)", [(32, 47523)]),
    ("disc/titles_by_chain/VIDEO_TS/VTS_02_1.VOB", 0x80): (
        "the same two titles as title set 1, its cells stored in another order", [(32, 47523)]),
}


def load(path):
    with open(path, encoding="utf-8") as f:
        return json.load(f)


def compare_walk(stream, frames, crccheck):
    """(what, ours, theirs) for every value recorded of this stream."""
    pairs = []
    if frames:
        pairs.append(("frames", stream["frames"], frames["whole_frames"]))
        pairs.append(("changes", [(c["frame"], c["pts"]) for c in stream["changes"]],
                      [(c["frame"], c["pts"]) for c in frames["changes"]]))
    if crccheck:
        pairs.append(("crc_errors", stream["crc_errors"], crccheck["crc_failures"]))
    return pairs


def main(argv):
    cli, source = argv[1], pathlib.Path(argv[2])
    media = sorted(str(p) for root in (source / "tests" / "fixtures", source / "samples")
                   for p in root.rglob("*") if p.suffix.lower() == ".vob")
    failures = compared = 0
    for medium, doc in zip(media, documents(cli, source, media, "--read-size", "20")):
        frames_path, crc_path = pathlib.Path(medium + ".frames.json"), pathlib.Path(medium + ".crccheck.json")
        frames = load(frames_path) if frames_path.exists() else None
        crccheck = load(crc_path) if crc_path.exists() else None
        recorded = {r["stream_id"] for r in (frames, crccheck) if r}
        for stream in doc.get("streams", []):
            if stream["stream_id"] in recorded:
                record = lambda r: r if r and r["stream_id"] == stream["stream_id"] else None
                pairs = compare_walk(stream, record(frames), record(crccheck))
            else:
                expected = next((changes for (suffix, sid), (_, changes) in NOT_CLEAN.items()
                                 if medium.endswith(suffix) and sid == stream["stream_id"]), [])
                pairs = [("crc_errors", stream["crc_errors"] or 0, 0),
                         ("changes", [(c["frame"], c["pts"]) for c in stream["changes"]], expected)]
            for what, ours, theirs in pairs:
                compared += 1
                if ours != theirs:
                    print(f"{medium}: stream {stream['stream_id']}: {what}: ours {ours}, recorded {theirs}")
                    failures += 1
    return summary(compared, media, failures, "values")


if __name__ == "__main__":
    sys.exit(main(sys.argv))
