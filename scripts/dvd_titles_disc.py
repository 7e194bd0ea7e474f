#!/usr/bin/env python3
"""Builds the fixture disc whose titles are not its VOBs: a VIDEO_TS folder
(VOBs cut) and its image (VOBs whole), with ffmpeg, dvdauthor and
genisoimage.

Title set 1 holds two titles (two program chains in dvdauthor's <titles>):
  title 1, a 1 s trailer: AC-3 2/0 192 kb/s as audio stream 0; its chain
    plays IFO entry 1 [ja] from stream 0 and marks entry 0 unavailable (its
    control words edited in the IFO and BUP);
  title 2, the 3 s feature: AC-3 3/2+LFE 448 kb/s [en] as stream 0, AC-3 2/0
    192 kb/s [ja] as stream 1; its chain plays entry n from stream n.
  The title VOB is written as VTS_01_1.VOB and VTS_01_2.VOB, split inside
  title 2 where its scan has yet to recognise its last track: the title is
  read on from one file into the next.
Title set 2 holds one 2 s title of two cells, stored as cell A (1 s, AC-3
  2/0 192 kb/s [en], stream 0) then cell B (1 s, AC-3 3/2+LFE 448 kb/s on the
  same stream); the chain's two cells are swapped (scripts/swap_cells.py), so
  it plays B first.

A VOB read from its start finds the trailer and cell A; the titles as their
chains play them find the feature's two tracks and cell B. The folder keeps
each VOB up to the start of what its title plays first plus enough packs to
recognise every track there (tests/fixtures/check_substreams.py); the image,
made with the clock held at 2000-01-01 and settled by settle_dvd_image.py,
holds them whole.

Usage: dvd_titles_disc.py --out DIR --image FILE [--margin-packs N]
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile

import dvd_disc
import dvd_title_set as ts
from ifo_layout import cell_sectors, program_chains
from set_audio_control import set_control
from swap_cells import swap_in_files

PACK = 2048
VIDEO = {"video_size": "352x240", "video_rate": "150k"}
SETTLE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "settle_dvd_image.py")

# (name, seconds, tracks) of each program stream muxed.
STREAMS = [
    ("trailer", 1, ["ac3 ja stereo 48000 -b 192k"]),
    ("feature", 3, ["ac3 en 5.1(side) 48000 -b 448k", "ac3 ja stereo 48000 -b 192k"]),
    ("cell_a", 1, ["ac3 en stereo 48000 -b 192k"]),
    ("cell_b", 1, ["ac3 en 5.1(side) 48000 -b 448k"]),
]

XML = """<dvdauthor dest="{dest}">
  <vmgm/>
  <titleset>
    <titles>
      <audio lang="en"/>
      <audio lang="ja"/>
      <pgc><vob file="{trailer}"/></pgc>
      <pgc><vob file="{feature}"/></pgc>
    </titles>
  </titleset>
  <titleset>
    <titles>
      <audio lang="en"/>
      <pgc><vob file="{cell_a}"/><vob file="{cell_b}"/></pgc>
    </titles>
  </titleset>
</dvdauthor>
"""


def author(workdir, streams):
    xml = os.path.join(workdir, "titles.xml")
    with open(xml, "w") as f:
        f.write(XML.format(dest=os.path.join(workdir, "dvd"), **streams))
    # dvdauthor warns about the time stamps of ffmpeg's audio packets in
    # most sectors; its output is shown only when it fails.
    result = subprocess.run(["dvdauthor", "-x", xml], env=dict(os.environ, VIDEO_FORMAT="NTSC"),
                            capture_output=True, text=True)
    if result.returncode != 0:
        sys.stderr.write(result.stdout + result.stderr)
        result.check_returncode()
    return os.path.join(workdir, "dvd", "VIDEO_TS")


def first_played_sector(video_ts, title_set, chain):
    with open(os.path.join(video_ts, "VTS_%02d_0.IFO" % title_set), "rb") as f:
        data = f.read()
    return cell_sectors(data, program_chains(data)[chain - 1])[0][0]


def title_bytes(vob, start_sector, workdir):
    """The VOB from `start_sector` on, as a file of its own."""
    part = os.path.join(workdir, "from_%d.vob" % start_sector)
    with open(vob, "rb") as src, open(part, "wb") as dst:
        src.seek(start_sector * PACK)
        dst.write(src.read())
    return part


def make_image(video_ts, sizes, splits, image, workdir):
    root = os.path.join(workdir, "image")
    dvd_disc.stage(video_ts, os.path.join(root, "VIDEO_TS"), sizes, splits)
    ts.run(["find", root, "-exec", "touch", "-h", "-d", "2000-01-01 00:00:00 UTC", "{}", "+"])
    os.makedirs(os.path.dirname(os.path.abspath(image)), exist_ok=True)
    ts.run(["faketime", "-f", "2000-01-01 00:00:00", "genisoimage", "-quiet", "-dvd-video", "-no-pad",
            "-V", "TONVIKA_TITLES", "-o", image, root],
           env=dict(os.environ, TZ="UTC", NO_FAKE_STAT="1"))
    ts.run([sys.executable, SETTLE, image])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--out", required=True, help="folder that receives VIDEO_TS/")
    parser.add_argument("--image", required=True)
    parser.add_argument("--margin-packs", type=int, default=16)
    args = parser.parse_args()
    with tempfile.TemporaryDirectory() as workdir:
        streams = {name: ts.renumbered_program_stream([ts.Track(t, i) for i, t in enumerate(tracks)],
                                                      seconds, workdir, name, **VIDEO)
                   for name, seconds, tracks in STREAMS}
        video_ts = author(workdir, streams)
        for suffix in ("IFO", "BUP"):
            set_control(os.path.join(video_ts, "VTS_01_0." + suffix), {0: None, 1: 0}, chain_numbers=[1])
        swap_in_files(video_ts, 2, 1, 1, 2)

        vobs = {n: os.path.join(video_ts, "VTS_%02d_1.VOB" % n) for n in (1, 2)}
        whole = {n: os.path.getsize(vobs[n]) for n in vobs}
        # What each title set's title plays first: title 2's first cell, cell B.
        starts = {1: first_played_sector(video_ts, 1, 2), 2: first_played_sector(video_ts, 2, 1)}
        cut = {}
        for n, sector in starts.items():
            part = title_bytes(vobs[n], sector, workdir)
            cut[n] = sector * PACK + ts.cut_size(part, args.margin_packs, 1)
        feature = title_bytes(vobs[1], starts[1], workdir)
        splits = {1: starts[1] * PACK + dvd_disc.split_point(feature)}
        for n in vobs:
            print("title set %d: VOB of %d bytes, its title from sector %d, %d bytes in the folder%s"
                  % (n, whole[n], starts[n], cut[n],
                     ", split at %d" % splits[n] if n in splits else ""), file=sys.stderr)

        staged = os.path.join(workdir, "folder", "VIDEO_TS")
        dvd_disc.stage(video_ts, staged, cut, splits)
        make_image(video_ts, whole, splits, args.image, workdir)
        target = os.path.join(args.out, "VIDEO_TS")
        if os.path.isdir(target):
            shutil.rmtree(target)
        shutil.copytree(staged, target)


if __name__ == "__main__":
    main()
