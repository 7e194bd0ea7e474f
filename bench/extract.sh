#!/bin/sh
# Times tonvika-cli --extract against ffmpeg's -c copy of the same stream and
# against cat of the same VOBs to /dev/null, side by side in one hyperfine
# run: on a fixture VOB, on the benchmarks' disc's main feature (title set
# 2, 60 s, its VOBs as files, as a folder and as an image), and on a long
# VOB (that title set's VOB 16 times over, 247 MB, 16 minutes), where what
# a run costs besides the reading no longer counts. The page cache is warm:
# every command runs 3 times before it is timed; the outputs are removed
# before each run, so that no run replaces a file.
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
long=$media/long.VOB
[ -f "$long" ] || for i in $(seq 16); do cat $vobs; done > "$long"
echo "fixture: $(stat -c %s "$fixture") bytes; title set 2: $(cat $vobs | wc -c) bytes in $(echo $vobs | wc -w) VOB(s)"
mkdir -p "$results"
# Title set 2 holds DTS 0x88 and AC-3 0x81 (--streams shows them); -y and
# --force let each run write over the last one.
hyperfine -N --warmup 3 --min-runs 15 --style basic --export-markdown "$results/extract.md" --prepare "rm -f $out/f.ac3 $out/t.ac3" \
  -n "fixture: cat" "cat $fixture" \
  -n "fixture: ffmpeg -c copy" "ffmpeg -v quiet -y -i $fixture -map 0:i:0x80 -c copy -f ac3 $out/f.ac3" \
  -n "fixture: tonvika-cli --extract" "$cli --extract 0x80 -o $out/t.ac3 $fixture" \
  -n "title set 2: cat" "cat $vobs" \
  -n "title set 2: ffmpeg -c copy" "ffmpeg -v quiet -y -i $(echo $vobs | cut -d' ' -f1) -map 0:i:0x81 -c copy -f ac3 $out/f.ac3" \
  -n "title set 2: tonvika-cli --extract, VOB" "$cli --extract 0x81 -o $out/t.ac3 $(echo $vobs | cut -d' ' -f1)" \
  -n "title set 2: tonvika-cli --extract, folder" "$cli --extract 0x81 --title-set 2 -o $out/t.ac3 $folder" \
  -n "title set 2: tonvika-cli --extract, image" "$cli --extract 0x81 --title-set 2 -o $out/t.ac3 $media/disc.iso" \
  -n "long VOB: cat" "cat $long" \
  -n "long VOB: ffmpeg -c copy" "ffmpeg -v quiet -y -i $long -map 0:i:0x81 -c copy -f ac3 $out/f.ac3" \
  -n "long VOB: tonvika-cli --extract" "$cli --extract 0x81 --no-progress -o $out/t.ac3 $long" >&2
cat "$results/extract.md"
