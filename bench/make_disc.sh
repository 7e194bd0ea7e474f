#!/bin/sh
# Makes the benchmarks' disc once, with scripts/dvd_disc.py --no-cut, into
# BUILD/bench-disc/ as a folder and as an image of some 28 MB (not part of
# the sources): three title sets: 20 s AC-3 5.1 + LPCM stereo; 60 s DTS 5.1 +
# AC-3 stereo, the main feature; 20 s three AC-3 tracks; MPEG-2 video 1 Mb/s.
#
# Usage: bench/make_disc.sh BUILD_DIR
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
media=$1/bench-disc
image=$media/disc.iso
folder=$media/folder
min_bytes=25000000

if [ ! -f "$image" ] || [ "$(stat -c %s "$image")" -lt "$min_bytes" ]; then
  echo "make_disc.sh: making the disc in $media (once)" >&2
  mkdir -p "$media"
  python3 "$root/scripts/dvd_disc.py" --out "$folder" --image "$image" --no-cut \
    --title-set 20 "ac3 en 5.1(side) 48000 -b 448k" "lpcm16 ja stereo 48000" \
    --title-set 60 "dts de 5.1(side) 48000 -b 768k" "ac3 fr stereo 48000 -b 192k" \
    --title-set 20 "ac3 es stereo 48000 -b 192k" "ac3 it mono 48000 -b 96k" "ac3 zh 3.0 48000 -b 256k" \
    2> "$media.log" || { cat "$media.log" >&2; exit 1; }
fi
