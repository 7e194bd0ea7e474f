#!/bin/sh
# Times tonvika-cli on a whole disc against the same title set's VOB analysed
# as a file, and counts the bytes it reads from the disc (strace), beside
# lsdvd -a on the same image.
#
# The disc is made once by bench/make_disc.sh.
#
# Usage: bench/disc.sh [BUILD_DIR]    (default: build-release; a Release build)
# Needs ffmpeg, dvdauthor, genisoimage, lsdvd, hyperfine, strace and python3
# (scripts/install-deps.sh media).
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build-release}" && pwd)
cli=$build/src/cli/tonvika-cli
media=$build/bench-disc
image=$media/disc.iso
folder=$media/folder
results=$build/bench-results
csv=$root/data/code.csv

for tool in hyperfine strace lsdvd isoinfo python3; do
  command -v "$tool" > /dev/null || { echo "disc.sh: $tool is missing (scripts/install-deps.sh media)" >&2; exit 1; }
done
[ -x "$cli" ] || { echo "disc.sh: build tonvika-cli first ($cli)" >&2; exit 1; }

"$root/bench/make_disc.sh" "$build"
echo "image: $(stat -c %s "$image") bytes; VTS_02_1.VOB: $(stat -c %s "$folder/VIDEO_TS/VTS_02_1.VOB") bytes"

mkdir -p "$results"
hyperfine -N --warmup 3 --min-runs 20 --style basic --export-markdown "$results/disc.md" \
  -n "image, title set 2" "$cli --code-csv $csv --title-set 2 $image" \
  -n "VTS_02_1.VOB as a file" "$cli --code-csv $csv $folder/VIDEO_TS/VTS_02_1.VOB" \
  -n "folder, title set 2" "$cli --code-csv $csv --title-set 2 $folder" \
  -n "image, all 3 title sets" "$cli --code-csv $csv $image" \
  -n "folder, all 3 title sets" "$cli --code-csv $csv $folder" \
  -n "lsdvd -a image" "lsdvd -a $image" >&2
cat "$results/disc.md"

trace=$results/disc.strace
count() {
  echo
  echo "### Bytes read: $1"
  shift
  strace -f -qq -y -e trace=openat,read,pread64,readv,preadv,lseek -o "$trace" "$@" > /dev/null 2>&1
  python3 "$root/bench/disc_reads.py" "$trace" --image "$image" | grep -v 'system and language table'
}
count "tonvika-cli on the image" "$cli" --code-csv "$csv" "$image"
count "tonvika-cli --title-set 2 on the image" "$cli" --code-csv "$csv" --title-set 2 "$image"
count "tonvika-cli on the folder" "$cli" --code-csv "$csv" "$folder"
count "lsdvd -a on the image" lsdvd -a "$image"
