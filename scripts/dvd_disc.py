#!/usr/bin/env python3
"""Builds a small DVD-Video disc of several title sets (a VIDEO_TS folder, and
optionally its image) from synthetic test sources with ffmpeg, dvdauthor and
genisoimage. Each title set holds one title of its own length and tracks.

    dvd_disc.py --out DIR [--image FILE] [--split-vob N] [--no-cut]
                [--video-size WxH] [--video-rate R]
                --title-set SECONDS TRACK... [--title-set SECONDS TRACK...]...

TRACK as in dvd_title_set.py ("KIND LANG LAYOUT RATE [ENCODER OPTIONS]").
The folder's title VOB of each set is cut to its first packs, as
dvd_title_set.py cuts it (--no-cut keeps it whole). The IFOs and BUPs
(VIDEO_TS and every VTS) stay whole.

--split-vob N writes title set N's VOB as two files, VTS_0N_1.VOB and
VTS_0N_2.VOB, cut at the start of the pack that completes the last track a
scan recognises, so that finding every track means reading on from one file
into the next.

--image FILE makes a DVD-Video image with genisoimage -dvd-video. Its VOBs are
whole (split as in the folder): genisoimage places every file where the IFOs
say it lies, so cut VOBs would leave the rest of each title set's room in the
image filled anyway. Short titles and a small video keep it small.
"""
import argparse
import os
import shutil
import sys
import tempfile

import dvd_title_set as ts

sys.path.insert(0, os.path.join(os.path.dirname(ts.CHECK)))
import check_substreams  # noqa: E402

PACK_SIZE = 2048


def parse_args():
    parser = argparse.ArgumentParser()
    parser.add_argument("--out", required=True, help="folder that receives VIDEO_TS/")
    parser.add_argument("--image", help="also make a DVD-Video image of the disc")
    parser.add_argument("--split-vob", type=int, action="append", default=[],
                        help="title set whose VOB is written as two files")
    parser.add_argument("--no-cut", action="store_true", help="keep the folder's VOBs whole")
    parser.add_argument("--video-size", default="720x480")
    parser.add_argument("--video-rate", default="1M")
    parser.add_argument("--margin-packs", type=int, default=16)
    parser.add_argument("--min-dts-syncs", type=int, default=1)
    parser.add_argument("--intent", help="file to append one description line per track to")
    parser.add_argument("--title-set", nargs="+", action="append", required=True,
                        metavar="SECONDS TRACK")
    args = parser.parse_args()
    sets = []
    for number, (seconds, *texts) in enumerate(args.title_set, start=1):
        if not texts:
            raise SystemExit("title set %d has no track" % number)
        sets.append((seconds, [ts.Track(text, i) for i, text in enumerate(texts)]))
    return args, sets


def copy_part(source, target, start, size):
    with open(source, "rb") as src, open(target, "wb") as dst:
        src.seek(start)
        dst.write(src.read(size))


def split_point(vob):
    """The start of the pack holding the last byte the program's scan needs."""
    with open(vob, "rb") as f:
        data = f.read()
    needed = max(end for _, end in check_substreams.simulate_scan(data).values())
    return (needed - 1) // PACK_SIZE * PACK_SIZE


def write_title_vobs(vob, size, split_at, folder, number):
    """The first `size` bytes of the title VOB of set `number` in `folder`,
    as VTS_nn_1.VOB alone or, with `split_at`, as VTS_nn_1.VOB and _2."""
    name = os.path.join(folder, "VTS_%02d_%%d.VOB" % number)
    if split_at is None:
        copy_part(vob, name % 1, 0, size)
    else:
        copy_part(vob, name % 1, 0, split_at)
        copy_part(vob, name % 2, split_at, size - split_at)


def stage(video_ts, folder, sizes, splits):
    os.makedirs(folder)
    names = ["VIDEO_TS.IFO", "VIDEO_TS.BUP"]
    for number in sizes:
        names += ["VTS_%02d_0.IFO" % number, "VTS_%02d_0.BUP" % number]
    for name in names:
        shutil.copyfile(os.path.join(video_ts, name), os.path.join(folder, name))
    for number, size in sizes.items():
        write_title_vobs(os.path.join(video_ts, "VTS_%02d_1.VOB" % number), size,
                         splits.get(number), folder, number)


def main():
    args, sets = parse_args()
    target = os.path.join(args.out, "VIDEO_TS")
    video = {"video_size": args.video_size, "video_rate": args.video_rate}
    with tempfile.TemporaryDirectory() as workdir:
        programs = [(tracks, ts.renumbered_program_stream(tracks, seconds, workdir,
                                                          "vts%d" % n, **video))
                    for n, (seconds, tracks) in enumerate(sets, start=1)]
        video_ts = ts.author_title_sets(programs, workdir)
        numbers = range(1, len(sets) + 1)
        vobs = {n: os.path.join(video_ts, "VTS_%02d_1.VOB" % n) for n in numbers}
        whole = {n: os.path.getsize(vobs[n]) for n in numbers}
        cut = whole if args.no_cut else {
            n: ts.cut_size(vobs[n], args.margin_packs, args.min_dts_syncs) for n in numbers}
        splits = {n: split_point(vobs[n]) for n in args.split_vob}
        for n in numbers:
            print("title set %d: VOB of %d bytes, %d in the folder%s"
                  % (n, whole[n], cut[n],
                     ", split at %d" % splits[n] if n in splits else ""), file=sys.stderr)

        staged = os.path.join(workdir, "folder", "VIDEO_TS")
        stage(video_ts, staged, cut, splits)
        if args.image:
            image_root = os.path.join(workdir, "image")
            stage(video_ts, os.path.join(image_root, "VIDEO_TS"), whole, splits)
            os.makedirs(os.path.dirname(os.path.abspath(args.image)), exist_ok=True)
            ts.run(["genisoimage", "-quiet", "-dvd-video", "-no-pad", "-V", "TONVIKA_DISC",
                    "-o", args.image, image_root])
        if os.path.isdir(target):
            shutil.rmtree(target)
        shutil.copytree(staged, target)
    if args.intent:
        for number, (_, tracks) in enumerate(sets, start=1):
            ts.write_intent(args.intent, os.path.join(target, "VTS_%02d_1.VOB" % number), tracks)


if __name__ == "__main__":
    main()
