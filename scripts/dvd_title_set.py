#!/usr/bin/env python3
"""Builds one small DVD title set (VIDEO_TS/VTS_01_0.IFO, .BUP, VTS_01_1.VOB)
from synthetic test sources with ffmpeg and dvdauthor.

Each --track is one audio stream, in title set order:
    "KIND LANG LAYOUT RATE [ENCODER OPTIONS...]"
  KIND    ac3, dts, lpcm16, lpcm20, lpcm24 or mp2 (MPEG-1 Layer II, carried
          as PES stream 0xC0+n instead of private stream 1)
  LANG    two-letter code written to the IFO, or - for none
  LAYOUT  an ffmpeg channel layout the encoder takes (mono, stereo, 5.1(side), FC+LFE ...)
  RATE    sample rate in Hz
  OPTIONS ffmpeg encoder options without stream specifier (-b 448k -dsur_mode on);
          the specifier of the track is added here.

Steps: ffmpeg muxes a testsrc video and the tracks with its dvd muxer, the
audio sub-streams are renumbered to the DVD convention (rewrite_substreams.py;
--keep-numbers leaves ffmpeg's own numbering, each kind from its own base, and
dvdauthor then pairs entries with streams itself), dvdauthor authors the title
set, and the VOB is cut to its first packs: just
past the point where every track can be recognised, plus a margin
(tests/fixtures/check_substreams.py --cut-size); --no-cut keeps the whole VOB
(benchmark media, or the uncut stream for checks with other tools). The IFO and
BUP stay whole. --start N:SECONDS makes track N begin that late (its packets
come only from that point of the program stream on). --pal makes a 720x576,
25 frames/s title set instead of the 720x480, 29.97 frames/s one.

A title set with an mp2 track names every track's format in dvdauthor's
XML (and the channel count of its MPEG tracks, which dvdauthor does not
read), so that its IFO entries come in track order; it is renumbered by
rewrite_audio_ids.py, and its VOB is cut no earlier than where every MPEG
audio stream has shown 16 frames (mpeg_audio_frames.py).
"""
import argparse
import collections
import os
import re
import shlex
import shutil
import subprocess
import sys
import tempfile

from ifo_layout import audio_entries, declared_streams, program_chains, stream_control
from lavfi_sources import channel_count, sine_graph
import mpeg_audio_frames

HERE = os.path.dirname(os.path.abspath(__file__))
CHECK = os.path.join(HERE, "..", "tests", "fixtures", "check_substreams.py")
REWRITE = os.path.join(HERE, "rewrite_substreams.py")
REWRITE_WITH_MPEG = os.path.join(HERE, "rewrite_audio_ids.py")

# Layouts ffmpeg's pcm_dvd encoder takes; other 16-bit layouts go through
# pcm_s16be, which the dvd muxer packs as 16-bit LPCM as well.
PCM_DVD_LAYOUTS = {"mono", "stereo", "5.1(side)", "7.1"}
BITEXACT = ["-fflags", "+bitexact", "-flags", "+bitexact"]
SUB_STREAM_BASES = {"ac3": 0x80, "dts": 0x88, "lpcm": 0xA0, "mp2": 0xC0}
# MPEG audio: the PES stream id of audio stream n is 0xC0+n; IFO coding
# modes 2 (MPEG-1) and 3 (MPEG-2 extension).
MPEG_AUDIO_CODINGS = (2, 3)
DVDAUTHOR_FORMATS = {"ac3": "ac3", "dts": "dts", "lpcm": "pcm", "mp2": "mp2"}
# mediainfo takes a mono Layer II track of a cut VOB for stereo when the cut
# holds only 14 of its frames; from 16 on it reads it right.
MIN_MPEG_FRAMES = 16
PAL = {"video_size": "720x576", "frame_rate": "25"}


class Track:
    def __init__(self, text, index):
        fields = shlex.split(text)
        if len(fields) < 4:
            raise SystemExit("track needs KIND LANG LAYOUT RATE: %r" % text)
        self.kind, lang, self.layout, self.rate = fields[:4]
        self.lang = None if lang == "-" else lang
        self.options = fields[4:]
        self.index = index
        self.start = 0.0  # seconds into the title

    @property
    def mux_kind(self):
        return "lpcm" if self.kind.startswith("lpcm") else self.kind

    def source(self, duration):
        """A sine of its own frequency per track, spread over every channel."""
        length = "%g" % (float(duration) - self.start)
        graph = sine_graph(self.layout, self.rate, length, 220 + 110 * self.index)
        if self.mux_kind == "lpcm":
            # DVD LPCM frames last 1/600 s; ffmpeg's default 1024-sample
            # frames overflow the muxer's buffer model at high bit rates.
            graph += ",asetnsamples=n=%d" % (int(self.rate) // 600)
        return graph

    def codec_options(self):
        stream_sel = ":a:%d" % self.index
        if self.kind == "ac3":
            codec = ["-c" + stream_sel, "ac3"]
        elif self.kind == "dts":
            codec = ["-c" + stream_sel, "dca"]
        elif self.kind == "lpcm16":
            encoder = "pcm_dvd" if self.layout in PCM_DVD_LAYOUTS else "pcm_s16be"
            codec = ["-c" + stream_sel, encoder]
            if encoder == "pcm_dvd":
                codec += ["-sample_fmt" + stream_sel, "s16"]
        elif self.kind == "mp2":
            codec = ["-c" + stream_sel, "mp2"]
        elif self.kind in ("lpcm20", "lpcm24"):
            # ffmpeg writes 24-bit words only; 20-bit tracks get their word
            # length field changed afterwards.
            codec = ["-c" + stream_sel, "pcm_dvd", "-sample_fmt" + stream_sel, "s32"]
        else:
            raise SystemExit("unknown kind %r" % self.kind)
        # Naming the layout makes ffmpeg fail instead of converting silently
        # when the encoder does not take it.
        codec += ["-channel_layout" + stream_sel, self.layout]
        extra = []
        for token in self.options:
            if len(token) > 1 and token[0] == "-" and token[1].isalpha():
                token += stream_sel
            extra.append(token)
        return codec + extra


def run(command, **kwargs):
    print("+ " + " ".join(shlex.quote(c) for c in command), file=sys.stderr)
    subprocess.run(command, check=True, **kwargs)


def has_mpeg_audio(tracks):
    return any(t.kind == "mp2" for t in tracks)


def mux(tracks, duration, target, video_size="720x480", video_rate="1M",
        frame_rate="30000/1001"):
    command = ["ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-y",
               "-f", "lavfi",
               "-i", "testsrc=size=%s:rate=%s:duration=%s" % (video_size, frame_rate, duration)]
    for track in tracks:
        if track.start:
            command += ["-itsoffset", "%g" % track.start]
        command += ["-f", "lavfi", "-i", track.source(duration)]
    command += ["-map", "0:v"]
    for n in range(len(tracks)):
        command += ["-map", "%d:a" % (n + 1)]
    command += ["-c:v", "mpeg2video", "-b:v", video_rate, "-aspect", "4:3", "-threads", "1"]
    if video_rate != "1M":
        # A constant rate: the test picture alone would need far less.
        command += ["-minrate", video_rate, "-maxrate", video_rate, "-bufsize", "1835k"]
    for track in tracks:
        command += track.codec_options()
    command += ["-strict", "-2"] + BITEXACT + ["-f", "dvd", target]
    run(command)


# The order in which dvdauthor makes IFO entries of the streams it finds in a
# VOB numbered by kind: by stream number, and AC-3, LPCM, DTS within one.
DVDAUTHOR_KIND_ORDER = {"ac3": 0, "lpcm": 1, "dts": 2}


def per_kind_numbers(tracks):
    """ffmpeg's numbering: each kind counts its tracks from 0."""
    seen = collections.Counter()
    numbers = []
    for track in tracks:
        numbers.append(seen[track.mux_kind])
        seen[track.mux_kind] += 1
    return numbers


def entry_order(tracks, keep_numbers):
    """The tracks in the order of the IFO entries dvdauthor writes for them."""
    if not keep_numbers or has_mpeg_audio(tracks):
        # With MPEG audio every entry names its format: track order.
        return list(tracks)
    numbers = per_kind_numbers(tracks)
    return sorted(tracks, key=lambda t: (numbers[t.index], DVDAUTHOR_KIND_ORDER[t.mux_kind]))


def titleset_xml(tracks, vob):
    audio = []
    for track in tracks:
        if has_mpeg_audio(tracks):
            attributes = ' format="%s"' % DVDAUTHOR_FORMATS[track.mux_kind]
            if track.kind == "mp2":
                # dvdauthor does not read the channel count of MPEG audio
                # (it writes 2 unless told).
                attributes += ' channels="%d"' % channel_count(track.layout, track.rate)
            if track.lang:
                attributes += ' lang="%s"' % track.lang
            audio.append("      <audio%s/>" % attributes)
            continue
        audio.append('      <audio lang="%s"/>' % track.lang if track.lang else "      <audio/>")
    return ('  <titleset>\n    <titles>\n%s\n      <pgc><vob file="%s"/></pgc>\n'
            '    </titles>\n  </titleset>\n' % ("\n".join(audio), vob))


def author(tracks, vob, workdir, video_format="NTSC"):
    return author_title_sets([(tracks, vob)], workdir, video_format)


def author_title_sets(title_sets, workdir, video_format="NTSC"):
    """One disc with a title set per (tracks, vob) pair, in that order; each
    title set holds one title. Returns the VIDEO_TS folder."""
    xml = os.path.join(workdir, "titleset.xml")
    with open(xml, "w") as f:
        f.write('<dvdauthor dest="%s">\n  <vmgm/>\n%s</dvdauthor>\n'
                % (os.path.join(workdir, "dvd"),
                   "".join(titleset_xml(tracks, vob) for tracks, vob in title_sets)))
    env = dict(os.environ, VIDEO_FORMAT=video_format)
    command = ["dvdauthor", "-x", xml]
    print("+ " + " ".join(command), file=sys.stderr)
    result = subprocess.run(command, env=env, capture_output=True, text=True)
    # dvdauthor may warn about every sector (timestamps of ffmpeg's audio
    # packets); show each kind of warning once, with a count.
    kinds = collections.Counter()
    for line in (result.stdout + result.stderr).splitlines():
        if line.startswith(("WARN", "ERR")) and "sector:" not in line:
            kinds[re.sub(r"0x[0-9a-fA-F]+|\d+(\.\d+)?", "N", line)] += 1
    for text, count in sorted(kinds.items()):
        print("dvdauthor: %s (%d times)" % (text, count), file=sys.stderr)
    result.check_returncode()
    return os.path.join(workdir, "dvd", "VIDEO_TS")


def renumbered_program_stream(tracks, duration, workdir, name="title", keep_numbers=False, **video):
    """ffmpeg's program stream of the tracks, with DVD sub-stream numbers
    unless `keep_numbers` leaves ffmpeg's own."""
    muxed = os.path.join(workdir, name + "_ffmpeg.vob")
    renumbered = os.path.join(workdir, name + "_dvd_numbers.vob")
    mux(tracks, duration, muxed, **video)
    if keep_numbers:
        return muxed
    script = REWRITE_WITH_MPEG if has_mpeg_audio(tracks) else REWRITE
    rewrite = [sys.executable, script, muxed, renumbered] + [t.mux_kind for t in tracks]
    for track in tracks:
        if track.kind == "lpcm20":
            rewrite += ["--lpcm-quant", "%d:20" % track.index]
    run(rewrite)
    return renumbered


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--out", required=True, help="folder that receives VIDEO_TS/")
    parser.add_argument("--duration", default="3")
    parser.add_argument("--margin-packs", default="16")
    parser.add_argument("--min-dts-syncs", default="1",
                        help="keep this many frames of each DTS track (mediainfo reports "
                             "a DTS track only after a few dozen)")
    parser.add_argument("--no-cut", action="store_true", help="keep the whole VOB")
    parser.add_argument("--video-rate", default="1M", help="MPEG-2 video bit rate (ffmpeg's -b:v)")
    parser.add_argument("--track", action="append", required=True)
    parser.add_argument("--intent", help="file to append one description line per track to")
    parser.add_argument("--keep-numbers", action="store_true",
                        help="leave ffmpeg's sub-stream numbers (each kind from its own base)")
    parser.add_argument("--start", action="append", default=[], metavar="N:SECONDS",
                        help="track N begins SECONDS into the title")
    parser.add_argument("--pal", action="store_true",
                        help="a 720x576, 25 frames/s title set (default 720x480, 29.97)")
    args = parser.parse_args()
    tracks = [Track(text, i) for i, text in enumerate(args.track)]
    for item in args.start:
        index, seconds = item.split(":")
        tracks[int(index)].start = float(seconds)
    if args.keep_numbers and any(t.kind == "lpcm20" for t in tracks):
        raise SystemExit("--keep-numbers cannot mark 20-bit LPCM tracks")

    with tempfile.TemporaryDirectory() as workdir:
        video = dict(PAL) if args.pal else {}
        renumbered = renumbered_program_stream(tracks, args.duration, workdir,
                                               keep_numbers=args.keep_numbers,
                                               video_rate=args.video_rate, **video)
        video_ts = author(entry_order(tracks, args.keep_numbers), renumbered, workdir,
                          "PAL" if args.pal else "NTSC")

        numbers = per_kind_numbers(tracks) if args.keep_numbers else [t.index for t in tracks]
        check_declared(os.path.join(video_ts, "VTS_01_0.IFO"), tracks, numbers)
        vob = os.path.join(video_ts, "VTS_01_1.VOB")
        size = os.path.getsize(vob) if args.no_cut else cut_size(
            vob, args.margin_packs, args.min_dts_syncs, args.keep_numbers)
        target = os.path.join(args.out, "VIDEO_TS")
        # Only the three media files are replaced: the reviewed expected
        # outputs beside them stay.
        os.makedirs(target, exist_ok=True)
        for name in ("VTS_01_0.IFO", "VTS_01_0.BUP"):
            shutil.copyfile(os.path.join(video_ts, name), os.path.join(target, name))
        with open(vob, "rb") as src, open(os.path.join(target, "VTS_01_1.VOB"), "wb") as dst:
            dst.write(src.read(size))
        print("%s: VOB cut to %d of %d bytes" % (target, size, os.path.getsize(vob)),
              file=sys.stderr)
    if args.intent:
        write_intent(args.intent, os.path.join(target, "VTS_01_1.VOB"), tracks, numbers)


def check_declared(ifo, tracks, numbers):
    """Every track is the stream an IFO entry of its language declares."""
    with open(ifo, "rb") as f:
        data = f.read()
    entries = audio_entries(data)
    declared = declared_streams(data)
    if has_mpeg_audio(tracks):
        control = stream_control(data, program_chains(data)[0])
        for entry, (coding, _) in enumerate(entries):
            if entry in control and coding in MPEG_AUDIO_CODINGS:
                declared.setdefault(SUB_STREAM_BASES["mp2"] + control[entry], entry)
    for t in tracks:
        sub_stream = SUB_STREAM_BASES[t.mux_kind] + numbers[t.index]
        entry = declared.get(sub_stream)
        if entry is None or entries[entry][1] != t.lang:
            raise SystemExit("dvdauthor did not declare track %d as 0x%02X [%s]"
                             % (t.index, sub_stream, t.lang))


def cut_size(vob, margin_packs, min_dts_syncs, allow_taken_slots=False):
    command = [sys.executable, CHECK, "--cut-size", "--margin-packs", str(margin_packs),
               "--min-dts-syncs", str(min_dts_syncs), vob]
    if allow_taken_slots:
        command.append("--allow-taken-slots")
    size = int(subprocess.run(command, check=True, capture_output=True, text=True).stdout)
    # MPEG audio (PES streams 0xC0-0xC7) is no private stream 1 sub-stream:
    # keep MIN_MPEG_FRAMES frames of each such stream as well.
    with open(vob, "rb") as f:
        mpeg = mpeg_audio_frames.cut_size(f.read(), MIN_MPEG_FRAMES, int(margin_packs))
    return max(size, mpeg)


def write_intent(path, vob, tracks, numbers=None):
    """One tab-separated line per track: file, track, sub-stream, kind, language,
    layout, rate, encoder options, notes. `numbers`: each track's stream
    number (default its place in the title set). For mp2 tracks the
    "sub-stream" is the PES stream id."""
    if numbers is None:
        numbers = [t.index for t in tracks]
    with open(path, "a") as f:
        for t in tracks:
            notes = "starts %g s in" % t.start if t.start else ""
            f.write("\t".join([vob, str(t.index), "0x%02X" % (SUB_STREAM_BASES[t.mux_kind] + numbers[t.index]),
                               t.kind, t.lang or "-", t.layout, t.rate,
                               " ".join(t.options), notes]) + "\n")


if __name__ == "__main__":
    main()
