#!/usr/bin/env python3
"""Steps of tests/fixtures/make_frame_fixtures.sh: media whose audio frames
change from one frame to the next, or carry damaged bytes.

  encode OUT --codec C --layout L --seconds S --frequency F [--frames N] [-- OPTIONS]
      a raw AC-3, DTS or MPEG audio file of a sine from ffmpeg; with --frames
      the file must hold exactly N frames
  title-set --out DIR --audio FILE --kind K --layout L --lang XX --keep-frames N
            [--margin-packs M] [--seconds S] [--whole-frames-only]
      a PAL title set (VIDEO_TS/VTS_01_0.IFO, .BUP, VTS_01_1.VOB) of a
      352x288 test picture (MPEG-2, 150 kb/s) and the audio file copied as
      it is (ffmpeg's dvd muxer, dvdauthor); the VOB is cut after the pack
      that holds the last byte of audio frame N-1, plus M packs. With
      --whole-frames-only only the first N frames of the audio file are
      muxed, so that the cut ends no frame short (a decoder that is handed
      the piece of a frame left at the end of a cut may report it as a CRC
      failure)
  describe VOB --stream ID [--change-at N]
      writes VOB.frames.json: the whole frames of the stream in the file, in
      runs of frames with the same header (first frame, its file offset and
      PTS); checks every frame's PTS, and its channel count, against
      ffprobe -show_frames, and with --change-at that the header changes at
      frame N and nowhere else
  crccheck VOB --stream ID --message TEXT [--damage FRAMES --byte POS]
      with --damage, changes one byte (inverts it) of each listed frame in
      place: the byte POS bytes into the frame (`middle` for half the frame's
      length); then counts the lines TEXT of
      ffmpeg -err_detect crccheck -i VOB -map 0:a -f null -
      and writes VOB.crccheck.json; the count must equal the number of
      frames damaged
  raw-junk OUT --frames N --junk N --stray-at N
      a raw AC-3 2/0 192 kb/s file: N frames behind N bytes of junk free of
      sync words, with a stray AC-3 sync word and header in the junk
  record FILE...
      FILE.ffprobe.json (ffprobe -show_streams, format by extension, as
      tests/fixtures/record_ffprobe.sh) and, for a raw file,
      FILE.mediainfo_raw.json: mediainfo's format, channels, bit rate, sample
      rate, frame count and stream size. A raw file has no stream id and no
      video, so it gets no MEDIUM.mediainfo.json: those records (written by
      tests/fixtures/record_mediainfo.sh, for a VOB) pair streams by id and
      compare delays.
"""
import argparse
import collections
import json
import os
import re
import shlex
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import dvd_title_set  # noqa: E402
from lavfi_sources import sine_graph  # noqa: E402
from raw_stream import SYNC_WORDS, first_frames, junk_bytes  # noqa: E402
import vob_audio_frames  # noqa: E402

BITEXACT = ["-fflags", "+bitexact", "-flags", "+bitexact"]
PACK_SIZE = 2048
# ffmpeg's raw muxer and demuxer of each kind.
FORMATS = {"ac3": "ac3", "dts": "dts", "mp2": "mp3"}
MUXERS = {"ac3": "ac3", "dts": "dts", "mp2": "mp2"}
VIDEO = ["-c:v", "mpeg2video", "-b:v", "150k", "-minrate", "150k", "-maxrate", "150k",
         "-bufsize", "300k", "-aspect", "4:3", "-threads", "1"]


def run(command, **kwargs):
    print("+ " + " ".join(shlex.quote(c) for c in command), file=sys.stderr)
    return subprocess.run(command, check=True, **kwargs)


def ffmpeg_version():
    line = subprocess.run(["ffmpeg", "-version"], check=True, capture_output=True,
                          text=True).stdout.splitlines()[0]
    return line.split()[2]


def count_frames(path, kind):
    out = subprocess.run(["ffprobe", "-v", "error", "-f", FORMATS[kind], "-show_entries",
                          "packet=size", "-of", "csv=p=0", path],
                         check=True, capture_output=True, text=True).stdout
    return len(out.split())


def encode(args):
    kind = args.kind
    command = ["ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-y",
               "-f", "lavfi",
               "-i", sine_graph(args.layout, args.rate, args.seconds, args.frequency),
               "-c:a", args.codec, "-channel_layout", args.layout, "-strict", "-2"]
    command += args.options + BITEXACT + ["-f", MUXERS[kind], args.out]
    run(command)
    frames = count_frames(args.out, kind)
    if args.frames is not None and frames != args.frames:
        raise SystemExit("%s: %d frames, %d wanted" % (args.out, frames, args.frames))
    print("%s: %d frames, %d bytes" % (args.out, frames, os.path.getsize(args.out)),
          file=sys.stderr)


def mux_quietly(command):
    """ffmpeg's dvd muxer logs a "buffer underflow" line for most packs at a
    low constant video rate: they are counted, not shown."""
    print("+ " + " ".join(shlex.quote(c) for c in command), file=sys.stderr)
    result = subprocess.run(command, capture_output=True, text=True)
    lines = result.stderr.splitlines()
    notes = sum("buffer underflow" in line for line in lines)
    for line in lines:
        if "buffer underflow" not in line and "Last message repeated" not in line:
            print(line, file=sys.stderr)
    if notes:
        print("(%d buffer underflow lines of ffmpeg's dvd muxer left out)" % notes,
              file=sys.stderr)
    result.check_returncode()


def title_set(args):
    track = dvd_title_set.Track("%s %s %s 48000" % (args.kind, args.lang, args.layout), 0)
    stream_id = dvd_title_set.SUB_STREAM_BASES[args.kind]
    with tempfile.TemporaryDirectory() as workdir:
        audio = args.audio
        if args.whole_frames_only:
            with open(args.audio, "rb") as f:
                raw = f.read()
            frames = vob_audio_frames.walk(vob_audio_frames.raw_elementary(raw), args.kind)
            audio = os.path.join(workdir, "audio." + args.kind)
            with open(audio, "wb") as f:
                f.write(raw[:frames[args.keep_frames - 1].last + 1])
        muxed = os.path.join(workdir, "title.vob")
        mux_quietly(["ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-y",
                     "-f", "lavfi",
                     "-i", "testsrc=size=352x288:rate=25:duration=%s" % args.seconds,
                     "-f", FORMATS[args.kind], "-i", audio,
                     "-map", "0:v", "-map", "1:a"] + VIDEO
                    + ["-c:a", "copy"] + BITEXACT + ["-f", "dvd", muxed])
        video_ts = dvd_title_set.author([track], muxed, workdir, "PAL")
        dvd_title_set.check_declared(os.path.join(video_ts, "VTS_01_0.IFO"), [track], [0])
        vob = os.path.join(video_ts, "VTS_01_1.VOB")
        with open(vob, "rb") as f:
            data = f.read()
        frames = vob_audio_frames.vob_frames(data, stream_id)
        if len(frames) < args.keep_frames:
            raise SystemExit("%s: %d frames of stream 0x%02X, %d wanted"
                             % (args.audio, len(frames), stream_id, args.keep_frames))
        last = frames[args.keep_frames - 1].last
        size = min(len(data), (last // PACK_SIZE + 1 + args.margin_packs) * PACK_SIZE)
        target = os.path.join(args.out, "VIDEO_TS")
        os.makedirs(target, exist_ok=True)
        for name in ("VTS_01_0.IFO", "VTS_01_0.BUP"):
            shutil.copyfile(os.path.join(video_ts, name), os.path.join(target, name))
        with open(os.path.join(target, "VTS_01_1.VOB"), "wb") as f:
            f.write(data[:size])
    print("%s: VOB cut to %d of %d bytes, after frame %d of stream 0x%02X (%d frames in all)"
          % (target, size, len(data), args.keep_frames - 1, stream_id, len(frames)),
          file=sys.stderr)


def ffprobe_frames(path):
    """(PTS, channel count) of every audio frame ffprobe decodes."""
    out = subprocess.run(["ffprobe", "-v", "error", "-show_frames", "-select_streams", "a:0",
                          "-show_entries", "frame=pts,channels", "-of", "json", path],
                         check=True, capture_output=True, text=True).stdout
    return [(f.get("pts"), f.get("channels")) for f in json.loads(out)["frames"]]


def pts_time(pts):
    return None if pts is None else "%.6f" % (pts / 90000)


def describe(args):
    with open(args.vob, "rb") as f:
        data = f.read()
    stream = vob_audio_frames.elementary(data, args.stream)
    frames = vob_audio_frames.walk(stream, vob_audio_frames.kind_of(args.stream))
    expected = [sum(f.size for f in frames[:k]) for k in range(len(frames))]
    if [f.position for f in frames] != expected:
        raise SystemExit("%s: the frames of the stream do not follow each other from its "
                         "first byte on" % args.vob)
    whole = frames[-1].position + frames[-1].size
    probed = ffprobe_frames(args.vob)
    if len(probed) < len(frames):
        raise SystemExit("%s: ffprobe decodes %d frames, the walk finds %d"
                         % (args.vob, len(probed), len(frames)))
    for frame, (pts, channels) in zip(frames, probed):
        mine = frame.fields.get("channels")
        if pts != frame.pts or (mine is not None and channels != mine):
            raise SystemExit("%s: frame %d: PTS %s, %s channels; ffprobe: PTS %s, %s channels"
                             % (args.vob, frame.index, frame.pts, mine, pts, channels))
    runs = vob_audio_frames.runs(frames)
    if args.change_at is not None:
        starts = [first.index for first, _ in runs[1:]]
        if starts != [args.change_at]:
            raise SystemExit("%s: the header changes at frames %s, not at %d alone"
                             % (args.vob, starts, args.change_at))
        before, after = frames[args.change_at - 1], frames[args.change_at]
        changes = [{"frame": after.index, "offset": after.start, "pts": after.pts,
                    "pts_time": pts_time(after.pts), "from": before.description,
                    "to": after.description}]
    else:
        changes = []
    record = {
        "stream_id": args.stream,
        "whole_frames": len(frames),
        "ffprobe_frames": len(probed),
        "bytes_after_last_whole_frame": len(stream.payload) - whole,
        "runs": [{"first_frame": first.index, "frames": count, "header": first.description,
                  "offset": first.start, "pts": first.pts, "pts_time": pts_time(first.pts)}
                 for first, count in runs],
        "changes": changes,
    }
    with open(args.vob + ".frames.json", "w", encoding="utf-8") as f:
        json.dump(record, f, indent=2)
        f.write("\n")
    for first, count in runs:
        print("%s: frames %d-%d at 0x%X, PTS %s: %s" % (args.vob, first.index,
                                                        first.index + count - 1, first.start,
                                                        first.pts, first.description),
              file=sys.stderr)


def frame_list(text):
    return [int(n) for n in text.split(",") if n]


def damage(path, stream_id, indices, position):
    """Inverts one byte of each listed frame; returns what was changed."""
    with open(path, "rb") as f:
        data = bytearray(f.read())
    frames = vob_audio_frames.vob_frames(data, stream_id)
    changed = []
    for index in indices:
        frame = frames[index]
        at = frame.size // 2 if position == "middle" else int(position)
        header_bytes = {"ac3": 7, "dts": 11, "mp2": 4}[frame.kind]
        if not header_bytes <= at < frame.size:
            raise SystemExit("byte %d of frame %d is in its header" % (at, index))
        offset = frame.offsets[at]  # a payload byte: never in a PES header
        before = data[offset]
        data[offset] ^= 0xFF
        changed.append({"frame": index, "byte_in_frame": at, "offset": offset,
                        "frame_offset": frame.start, "pts": frame.pts,
                        "from": before, "to": data[offset]})
    after = vob_audio_frames.vob_frames(data, stream_id)
    if [f.size for f in after] != [f.size for f in frames]:
        raise SystemExit("the damage moved frame boundaries")
    with open(path, "wb") as f:
        f.write(data)
    return changed


def crccheck(args):
    changed = damage(args.vob, args.stream, frame_list(args.damage), args.byte) \
        if args.damage else []
    command = ["ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "repeat+error",
               "-err_detect", "crccheck", "-i", args.vob, "-map", "0:a", "-f", "null", "-"]
    result = subprocess.run(command, capture_output=True, text=True)
    lines = result.stderr.splitlines()
    failures = sum(args.message in line for line in lines)
    others = collections.Counter(re.sub(r"^\[[^]]*\] ", "", line) for line in lines
                                 if args.message not in line)
    record = {
        "ffmpeg_version": ffmpeg_version(),
        "stream_id": args.stream,
        "crc_failures": failures,
        "damaged_frames": [c["frame"] for c in changed],
        "command": "ffmpeg -err_detect crccheck -i %s -map 0:a -f null -"
                   % os.path.basename(args.vob),
        "message": args.message,
        "other_messages": dict(sorted(others.items())),
        "changed_bytes": changed,
    }
    with open(args.vob + ".crccheck.json", "w", encoding="utf-8") as f:
        json.dump(record, f, indent=2)
        f.write("\n")
    print("%s: %d lines %r for %d frames damaged; other lines: %s"
          % (args.vob, failures, args.message, len(changed), dict(others)), file=sys.stderr)
    if failures != len(changed):
        raise SystemExit("%s: ffmpeg reports %d CRC failures, %d frames damaged"
                         % (args.vob, failures, len(changed)))


def raw_junk(args):
    with tempfile.TemporaryDirectory() as workdir:
        encoded = os.path.join(workdir, "stream.ac3")
        run(["ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-y",
             "-f", "lavfi", "-i", sine_graph("stereo", 48000, 1, 440),
             "-c:a", "ac3", "-channel_layout", "stereo", "-b:a", "192k"] + BITEXACT
            + ["-f", "ac3", encoded])
        frames = first_frames(encoded, "ac3", args.frames)
    junk = bytearray(junk_bytes(args.junk, args.junk))
    at = args.stray_at
    # A stray sync word and a header that reads as valid and differs from the
    # frames': CRC1 0000, 48 kHz 448 kb/s (frmsizecod 30: 1792 bytes, so the
    # next sync word would be due 1792 bytes on, where there is none),
    # bsid 8 bsmod 0, acmod 3/2 with cmixlev and surmixlev 01, LFE on.
    junk[at:at + 7] = b"\x0b\x77\x00\x00\x1e\x40\xeb"
    data = bytes(junk) + frames
    for word in SYNC_WORDS:
        found = [m.start() for m in re.finditer(re.escape(word), data[:args.junk + 1])]
        wanted = [at] if word == b"\x0b\x77" else []
        if [f for f in found if f != args.junk] != wanted:
            raise SystemExit("sync word %s at %s in the junk" % (word.hex(), found))
    stray = vob_audio_frames.parse_ac3(data[at:at + 16])
    real = vob_audio_frames.parse_ac3(data[args.junk:args.junk + 16])
    if stray is None or real is None or stray[3] == real[3]:
        raise SystemExit("the stray header does not read as a different valid header")
    with open(args.out, "wb") as f:
        f.write(data)
    print("%s: %d bytes; stray header at %d: %s (%d bytes); frames from %d: %s"
          % (args.out, len(data), at, stray[3], stray[0], args.junk, real[3]), file=sys.stderr)


def record_mediainfo_raw(path):
    """What mediainfo says of a raw audio file (no ID, no video to be late to)."""
    out = subprocess.run(["mediainfo", "--Full", "--Output=JSON", path], check=True,
                         capture_output=True, text=True).stdout
    data = json.loads(out)
    tracks = (data.get("media") or {}).get("track", [])
    general = next((t for t in tracks if t.get("@type") == "General"), {})
    streams = []
    for track in tracks:
        if track.get("@type") != "Audio":
            continue
        streams.append({key: track.get(name) for key, name in (
            ("format", "Format"), ("channels", "Channels"), ("bit_rate", "BitRate"),
            ("sampling_rate", "SamplingRate"), ("frame_count", "FrameCount"),
            ("stream_size", "StreamSize"), ("delay", "Delay"))})
    record = {"mediainfo_version": data["creatingLibrary"]["version"],
              "format": general.get("Format"), "file_size": general.get("FileSize"),
              "streams": streams}
    with open(path + ".mediainfo_raw.json", "w", encoding="utf-8") as f:
        json.dump(record, f, indent=2)
        f.write("\n")


def record(args):
    for path in args.files:
        extension = os.path.splitext(path)[1].lower()
        fmt = {".ac3": "ac3", ".dts": "dts"}.get(extension, "mpeg")
        out = subprocess.run(["ffprobe", "-v", "error", "-f", fmt, "-show_streams", "-of",
                              "json", path], check=True, capture_output=True).stdout
        with open(path + ".ffprobe.json", "wb") as f:
            f.write(out)
        if fmt != "mpeg":
            record_mediainfo_raw(path)


def main():
    argv = sys.argv[1:]
    options = argv[argv.index("--") + 1:] if "--" in argv else []
    argv = argv[:argv.index("--")] if "--" in argv else argv
    parser = argparse.ArgumentParser()
    commands = parser.add_subparsers(dest="command", required=True)

    p = commands.add_parser("encode")
    p.add_argument("out")
    p.add_argument("--codec", required=True, help="ffmpeg encoder: ac3, dca, libtwolame")
    p.add_argument("--kind", required=True, choices=sorted(FORMATS))
    p.add_argument("--layout", required=True)
    p.add_argument("--rate", default="48000")
    p.add_argument("--seconds", required=True)
    p.add_argument("--frequency", type=int, default=440)
    p.add_argument("--frames", type=int)

    p = commands.add_parser("title-set")
    p.add_argument("--out", required=True)
    p.add_argument("--audio", required=True)
    p.add_argument("--kind", required=True, choices=sorted(FORMATS))
    p.add_argument("--layout", required=True, help="for dvdauthor's channel count (mp2)")
    p.add_argument("--lang", required=True)
    p.add_argument("--seconds", default="4", help="length of the video")
    p.add_argument("--keep-frames", type=int, required=True)
    p.add_argument("--margin-packs", type=int, default=0)
    p.add_argument("--whole-frames-only", action="store_true")

    p = commands.add_parser("describe")
    p.add_argument("vob")
    p.add_argument("--stream", type=lambda s: int(s, 0), required=True)
    p.add_argument("--change-at", type=int)

    p = commands.add_parser("crccheck")
    p.add_argument("vob")
    p.add_argument("--stream", type=lambda s: int(s, 0), required=True)
    p.add_argument("--message", required=True)
    p.add_argument("--damage", default="", help="frame indices, comma-separated")
    p.add_argument("--byte", default="middle")

    p = commands.add_parser("raw-junk")
    p.add_argument("out")
    p.add_argument("--frames", type=int, default=20)
    p.add_argument("--junk", type=int, default=64)
    p.add_argument("--stray-at", type=int, default=10)

    p = commands.add_parser("record")
    p.add_argument("files", nargs="+")

    args = parser.parse_args(argv)
    args.options = options
    {"encode": encode, "title-set": title_set, "describe": describe, "crccheck": crccheck,
     "raw-junk": raw_junk, "record": record}[args.command](args)


if __name__ == "__main__":
    main()
