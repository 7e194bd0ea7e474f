#!/usr/bin/env python3
"""Builds one small DVD title set (VIDEO_TS/VTS_01_0.IFO, .BUP, VTS_01_1.VOB)
from synthetic test sources with ffmpeg and dvdauthor.

Each --track is one audio stream, in title set order:
    "KIND LANG LAYOUT RATE [ENCODER OPTIONS...]"
  KIND    ac3, dts, lpcm16, lpcm20 or lpcm24
  LANG    two-letter code written to the IFO, or - for none
  LAYOUT  an ffmpeg channel layout the encoder takes (mono, stereo, 5.1(side), FC+LFE ...)
  RATE    sample rate in Hz
  OPTIONS ffmpeg encoder options without stream specifier (-b 448k -dsur_mode on);
          the specifier of the track is added here.

Steps: ffmpeg muxes a testsrc video and the tracks with its dvd muxer, the
audio sub-streams are renumbered to the DVD convention (rewrite_substreams.py),
dvdauthor authors the title set, and the VOB is cut to its first packs: just
past the point where every track can be recognised, plus a margin
(tests/fixtures/check_substreams.py --cut-size); --no-cut keeps the whole VOB
(benchmark media, or the uncut stream for checks with other tools). The IFO and
BUP stay whole.
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

from lavfi_sources import sine_graph

HERE = os.path.dirname(os.path.abspath(__file__))
CHECK = os.path.join(HERE, "..", "tests", "fixtures", "check_substreams.py")
REWRITE = os.path.join(HERE, "rewrite_substreams.py")

# Layouts ffmpeg's pcm_dvd encoder takes; other 16-bit layouts go through
# pcm_s16be, which the dvd muxer packs as 16-bit LPCM as well.
PCM_DVD_LAYOUTS = {"mono", "stereo", "5.1(side)", "7.1"}
BITEXACT = ["-fflags", "+bitexact", "-flags", "+bitexact"]


class Track:
    def __init__(self, text, index):
        fields = shlex.split(text)
        if len(fields) < 4:
            raise SystemExit("track needs KIND LANG LAYOUT RATE: %r" % text)
        self.kind, lang, self.layout, self.rate = fields[:4]
        self.lang = None if lang == "-" else lang
        self.options = fields[4:]
        self.index = index

    @property
    def mux_kind(self):
        return "lpcm" if self.kind.startswith("lpcm") else self.kind

    def source(self, duration):
        """A sine of its own frequency per track, spread over every channel."""
        graph = sine_graph(self.layout, self.rate, duration, 220 + 110 * self.index)
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


def mux(tracks, duration, target, video_size="720x480", video_rate="1M"):
    command = ["ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-y",
               "-f", "lavfi",
               "-i", "testsrc=size=%s:rate=30000/1001:duration=%s" % (video_size, duration)]
    for track in tracks:
        command += ["-f", "lavfi", "-i", track.source(duration)]
    command += ["-map", "0:v"]
    for n in range(len(tracks)):
        command += ["-map", "%d:a" % (n + 1)]
    command += ["-c:v", "mpeg2video", "-b:v", video_rate, "-aspect", "4:3", "-threads", "1"]
    for track in tracks:
        command += track.codec_options()
    command += ["-strict", "-2"] + BITEXACT + ["-f", "dvd", target]
    run(command)


def titleset_xml(tracks, vob):
    audio = []
    for track in tracks:
        audio.append('      <audio lang="%s"/>' % track.lang if track.lang else "      <audio/>")
    return ('  <titleset>\n    <titles>\n%s\n      <pgc><vob file="%s"/></pgc>\n'
            '    </titles>\n  </titleset>\n' % ("\n".join(audio), vob))


def author(tracks, vob, workdir):
    return author_title_sets([(tracks, vob)], workdir)


def author_title_sets(title_sets, workdir):
    """One disc with a title set per (tracks, vob) pair, in that order; each
    title set holds one title. Returns the VIDEO_TS folder."""
    xml = os.path.join(workdir, "titleset.xml")
    with open(xml, "w") as f:
        f.write('<dvdauthor dest="%s">\n  <vmgm/>\n%s</dvdauthor>\n'
                % (os.path.join(workdir, "dvd"),
                   "".join(titleset_xml(tracks, vob) for tracks, vob in title_sets)))
    env = dict(os.environ, VIDEO_FORMAT="NTSC")
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


def renumbered_program_stream(tracks, duration, workdir, name="title", **video):
    """ffmpeg's program stream of the tracks with DVD sub-stream numbers."""
    muxed = os.path.join(workdir, name + "_ffmpeg.vob")
    renumbered = os.path.join(workdir, name + "_dvd_numbers.vob")
    mux(tracks, duration, muxed, **video)
    rewrite = [sys.executable, REWRITE, muxed, renumbered] + [t.mux_kind for t in tracks]
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
    parser.add_argument("--track", action="append", required=True)
    parser.add_argument("--intent", help="file to append one description line per track to")
    args = parser.parse_args()
    tracks = [Track(text, i) for i, text in enumerate(args.track)]

    with tempfile.TemporaryDirectory() as workdir:
        renumbered = renumbered_program_stream(tracks, args.duration, workdir)
        video_ts = author(tracks, renumbered, workdir)

        vob = os.path.join(video_ts, "VTS_01_1.VOB")
        size = os.path.getsize(vob) if args.no_cut else cut_size(vob, args.margin_packs,
                                                                args.min_dts_syncs)
        target = os.path.join(args.out, "VIDEO_TS")
        if os.path.isdir(target):
            shutil.rmtree(target)
        os.makedirs(target)
        for name in ("VTS_01_0.IFO", "VTS_01_0.BUP"):
            shutil.copyfile(os.path.join(video_ts, name), os.path.join(target, name))
        with open(vob, "rb") as src, open(os.path.join(target, "VTS_01_1.VOB"), "wb") as dst:
            dst.write(src.read(size))
        print("%s: VOB cut to %d of %d bytes" % (target, size, os.path.getsize(vob)),
              file=sys.stderr)
    if args.intent:
        write_intent(args.intent, os.path.join(target, "VTS_01_1.VOB"), tracks)


def cut_size(vob, margin_packs, min_dts_syncs):
    return int(subprocess.run([sys.executable, CHECK, "--cut-size", "--margin-packs",
                               str(margin_packs), "--min-dts-syncs", str(min_dts_syncs), vob],
                              check=True, capture_output=True, text=True).stdout)


def write_intent(path, vob, tracks):
    """One tab-separated line per track: file, track, sub-stream, kind, language,
    layout, rate, encoder options."""
    bases = {"ac3": 0x80, "dts": 0x88, "lpcm": 0xA0}
    with open(path, "a") as f:
        for t in tracks:
            f.write("\t".join([vob, str(t.index), "0x%02X" % (bases[t.mux_kind] + t.index),
                               t.kind, t.lang or "-", t.layout, t.rate,
                               " ".join(t.options), ""]) + "\n")


if __name__ == "__main__":
    main()
