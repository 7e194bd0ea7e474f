#!/bin/sh
# Times tonvika-cli --extract against ffmpeg's -c copy of the same stream and
# against cat of the same VOBs to /dev/null, side by side in one hyperfine
# run: on a fixture VOB, and on the benchmarks' disc's main feature (title
# set 2, 60 s, its VOBs as files, as a folder and as an image). The page
# cache is warm: every command runs 3 times before it is timed.
#
# Usage: bench/extract.sh [BUILD_DIR]    (default: build-release; a Release build)
# Needs ffmpeg, dvdauthor, genisoimage, hyperfine and python3
# (scripts/install-deps.sh media).
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build-release}" && pwd)
cli=$build/src/cli/tonvika-cli
media=$build/bench-disc
folder=$media/folder
results=$build/bench-results
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

for tool in hyperfine ffmpeg python3; do
  command -v "$tool" > /dev/null || { echo "extract.sh: $tool is missing (scripts/install-deps.sh media)" >&2; exit 1; }
done
[ -x "$cli" ] || { echo "extract.sh: build tonvika-cli first ($cli)" >&2; exit 1; }
"$root/bench/make_disc.sh" "$build"

fixture=$root/tests/fixtures/mixed_ac3_dts_lpcm/VIDEO_TS/VTS_01_1.VOB
vobs=$(ls "$folder"/VIDEO_TS/VTS_02_[1-9].VOB)
echo "fixture: $(stat -c %s "$fixture") bytes; title set 2: $(cat $vobs | wc -c) bytes in $(echo $vobs | wc -w) VOB(s)"
mkdir -p "$results"
# Title set 2 holds DTS 0x88 and AC-3 0x81 (--streams shows them); -y and
# --force let each run write over the last one.
hyperfine -N --warmup 3 --min-runs 15 --style basic --export-markdown "$results/extract.md" \
  -n "fixture: cat" "cat $fixture" \
  -n "fixture: ffmpeg -c copy" "ffmpeg -v error -y -i $fixture -map 0:i:0x80 -c copy -f ac3 $out/f.ac3" \
  -n "fixture: tonvika-cli --extract" "$cli --extract 0x80 --force -o $out/t.ac3 $fixture" \
  -n "title set 2: cat" "cat $vobs" \
  -n "title set 2: ffmpeg -c copy" "ffmpeg -v error -y -i $(echo $vobs | cut -d' ' -f1) -map 0:i:0x81 -c copy -f ac3 $out/f2.ac3" \
  -n "title set 2: tonvika-cli --extract, VOB" "$cli --extract 0x81 --force -o $out/t2.ac3 $(echo $vobs | cut -d' ' -f1)" \
  -n "title set 2: tonvika-cli --extract, folder" "$cli --extract 0x81 --title-set 2 --force -o $out/t3.ac3 $folder" \
  -n "title set 2: tonvika-cli --extract, image" "$cli --extract 0x81 --title-set 2 --force -o $out/t4.ac3 $media/disc.iso" >&2
cat "$results/extract.md"
