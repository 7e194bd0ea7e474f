#!/usr/bin/python3
"""Compares tonvika-cli's header values with what ffprobe recorded of the
same media (MEDIUM.ffprobe.json, made by tests/fixtures/record_ffprobe.sh).

For every track tonvika-cli finds: sample rate and channels always, the bit
rate for AC-3 and DTS, the word length for LPCM. A track is matched with
ffprobe's stream of the same sub-stream id; a raw file's track with its one
audio stream. MPEG audio streams (in "streams", as the list has no row for
them) are compared the same way, with their bit rate; ffprobe names them by
their PES id with a 0x100 prefix (0x1c0 for 0xC0).

Usage: compare_ffprobe.py TONVIKA_CLI SOURCE_DIR   (every medium with a record)
Exit status 0 when every comparison holds, 1 otherwise.
"""
import json
import pathlib
import subprocess
import sys

# Disagreements explained by the header bytes: (medium suffix, stream id or
# None, key) -> why. Nothing else may disagree.
STRAY_SYNC = ("a stray 0B 77 12 34 1C 40 E1 at offset 40 is taken for the first frame, as a raw "
              "file's first sync word always is: frmsizecod 28 (384 kb/s), acmod 7 with lfeon 1 "
              "(6 channels); ffprobe resynchronises on the real frames from offset 100 "
              "(0B 77 15 52 14 40 43: frmsizecod 20, 192 kb/s, acmod 2) and gives a bit rate of "
              "288 kb/s, which no frame header of the file says")
LATE_STREAM = ("sub-stream 0x81 begins 7.5 s into the title, past ffprobe's analysis "
               "duration (5 s), so ffprobe lists it with 0 Hz, 0 channels and no bit rate; its "
               "frames, the first at offset 0x10D824 (0B 77 2C BB 14 40 43: fscod 0, frmsizecod "
               "20, acmod 2), say 48 kHz, 192 kb/s, 2/0")
LAYOUT_CHANGE = ("the track is 2/0 at 192 kb/s for its first 63 frames (which the list describes), then "
                 "3/2+LFE at 448 kb/s from frame 63 (2.016 s in, the header-change note); ffprobe keeps the "
                 "channels of the last frames it read and gives an average bit rate no frame header says")
JUNK_SYNC = ("a stray 0B 77 00 00 1E 40 EB at offset 10 (448 kb/s, 3/2+LFE) is taken for the first frame, as a "
             "raw file's first sync word always is (the false-sync note tells where the frames start); ffprobe "
             "resynchronises on the real frames at offset 64 (2/0, 192 kb/s) and gives the file size over "
             "the duration as the bit rate")
TWO_CELLS = ("read as a file, the VOB holds sub-stream 0x80 as 2/0 at 192 kb/s first (title 1, the trailer; "
             "cell A), which the list describes, then as 3/2+LFE at 448 kb/s (title 2, the feature; cell B), as "
             "the disc's titles play them; ffprobe keeps the channels of the last frames it read and gives an "
             "average bit rate no frame header says")
EXPLAINED = {
    ("frames/ac3_layout_change/VIDEO_TS/VTS_01_1.VOB", 0x80, "channels"): LAYOUT_CHANGE,
    ("frames/ac3_layout_change/VIDEO_TS/VTS_01_1.VOB", 0x80, "bit_rate_kbps"): LAYOUT_CHANGE,
    ("frames/raw/ac3_junk64_false_sync.ac3", None, "channels"): JUNK_SYNC,
    ("frames/raw/ac3_junk64_false_sync.ac3", None, "bit_rate_kbps"): JUNK_SYNC,
    ("declared/late_stream/VIDEO_TS/VTS_01_1.VOB", 0x81, "sample_rate_hz"): LATE_STREAM,
    ("declared/late_stream/VIDEO_TS/VTS_01_1.VOB", 0x81, "channels"): LATE_STREAM,
    ("declared/late_stream/VIDEO_TS/VTS_01_1.VOB", 0x81, "bit_rate_kbps"): LATE_STREAM,
    ("raw/ac3_false_sync_stereo_192k.ac3", None, "channels"): STRAY_SYNC,
    ("raw/ac3_false_sync_stereo_192k.ac3", None, "bit_rate_kbps"): STRAY_SYNC,
    ("disc/titles_by_chain/VIDEO_TS/VTS_01_1.VOB", 0x80, "channels"): TWO_CELLS,
    ("disc/titles_by_chain/VIDEO_TS/VTS_01_1.VOB", 0x80, "bit_rate_kbps"): TWO_CELLS,
    ("disc/titles_by_chain/VIDEO_TS/VTS_02_1.VOB", 0x80, "channels"): TWO_CELLS,
    ("disc/titles_by_chain/VIDEO_TS/VTS_02_1.VOB", 0x80, "bit_rate_kbps"): TWO_CELLS,
}


def peer_streams(medium):
    with open(medium + ".ffprobe.json", encoding="utf-8") as f:
        return [s for s in json.load(f)["streams"] if s.get("codec_type") == "audio"]


def peer_stream(streams, stream_id):
    if stream_id is None:
        return streams[0] if len(streams) == 1 else None
    for s in streams:
        peer_id = int(s.get("id", "-1"), 16)
        if peer_id == stream_id or (peer_id >= 0x100 and peer_id & 0xFF == stream_id):
            return s
    return None


def expected_pairs(slot, peer):
    """(key, ours, theirs) for every value compared on this track."""
    header = slot["header"]
    pairs = [("sample_rate_hz", header["sample_rate_hz"], int(peer["sample_rate"])),
             ("channels", header["channels"], peer["channels"])]
    if slot["kind"] in ("AC-3", "DTS", "MPEG audio"):
        theirs = int(peer["bit_rate"]) / 1000 if "bit_rate" in peer else None
        pairs.append(("bit_rate_kbps", header["bit_rate_kbps"], theirs))
    else:
        raw = peer.get("bits_per_raw_sample")
        pairs.append(("bits_per_sample", header["bits_per_sample"], int(raw) if raw else None))
    return pairs


def known_fault(medium, stream_id, key):
    for (suffix, sid, k), why in EXPLAINED.items():
        if medium.endswith(suffix) and sid == stream_id and k == key:
            return why
    return None


def main(argv):
    cli, source = argv[1], pathlib.Path(argv[2])
    code_csv = str(source / "data" / "code.csv")
    records = [p for root in (source / "tests" / "fixtures", source / "samples")
               for p in root.rglob("*.ffprobe.json")]
    media = sorted(str(p)[: -len(".ffprobe.json")] for p in records)
    out = subprocess.run([cli, "--code-csv", code_csv, "--json", *media], capture_output=True, check=False)
    documents = json.loads(out.stdout)
    failures = compared = 0
    for medium, doc in zip(media, documents):
        streams = peer_streams(medium)
        # The list's tracks by slot, then the MPEG audio streams it has no row for.
        tracks = doc.get("slots", []) + [
            dict(s, number=s["summary"], kind_text=s["summary"])
            for s in doc.get("streams", []) if s["kind"] == "MPEG audio"]
        for slot in tracks:
            if slot["header"] is None:
                continue
            peer = peer_stream(streams, slot["stream_id"])
            if peer is None:
                print(f"{medium}: slot {slot['number']} ({slot['kind_text']}): ffprobe has no such stream")
                failures += 1
                continue
            for key, ours, theirs in expected_pairs(slot, peer):
                compared += 1
                if ours == theirs:
                    continue
                why = known_fault(medium, slot["stream_id"], key)
                if why:
                    print(f"{medium}: slot {slot['number']} {key}: ours {ours}, ffprobe {theirs} (explained: {why})")
                    continue
                print(f"{medium}: slot {slot['number']} {key}: ours {ours}, ffprobe {theirs}")
                failures += 1
    print(f"{compared} values compared on {len(media)} media, {failures} disagreements")
    if compared == 0:
        print("nothing was compared")
        return 1
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
