#!/bin/sh
# Times tonvika-cli against ffprobe and mediainfo on one DVD title set VOB, and
# against the bare cost of reading the same window (head -c into /dev/null).
#
# The VOB (AC-3 5.1 448 kb/s, DTS 5.1 768 kb/s and LPCM 16-bit stereo, with a
# 1 Mb/s MPEG-2 video, some 28 MB) is made once with ffmpeg and dvdauthor
# (scripts/dvd_title_set.py --no-cut) and kept in BUILD/bench-media/; it is
# not part of the sources. hyperfine (warmup 3, at least 20 runs, no shell,
# output to /dev/null) measures every command with the file in the page cache.
#
# Usage: bench/compare.sh [BUILD_DIR]    (default: build; a Release build)
# Needs ffmpeg, dvdauthor, ffprobe, mediainfo, hyperfine and python3
# (scripts/install-deps.sh media). Results: BUILD/bench-results/compare.json
# and a Markdown table on standard output.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
cli=$build/src/cli/tonvika-cli
media=$build/bench-media
vob=$media/VIDEO_TS/VTS_01_1.VOB
results=$build/bench-results
min_bytes=25000000

for tool in ffprobe mediainfo hyperfine python3; do
  command -v "$tool" > /dev/null || { echo "compare.sh: $tool is missing (scripts/install-deps.sh media)" >&2; exit 1; }
done
[ -x "$cli" ] || { echo "compare.sh: build tonvika-cli first ($cli)" >&2; exit 1; }
if grep -q '^CMAKE_BUILD_TYPE:STRING=Release$' "$build/CMakeCache.txt" 2> /dev/null; then :; else
  echo "compare.sh: warning: $build is not a Release build" >&2
fi

if [ ! -f "$vob" ] || [ "$(stat -c %s "$vob")" -lt "$min_bytes" ]; then
  echo "compare.sh: making the title set in $media (once)" >&2
  python3 "$root/scripts/dvd_title_set.py" --out "$media" --no-cut --duration 60 \
    --track "ac3 en 5.1(side) 48000 -b 448k" \
    --track "dts ja 5.1(side) 48000 -b 768k" \
    --track "lpcm16 fr stereo 48000" 2> "$media.log" \
    || { cat "$media.log" >&2; exit 1; }
fi
size=$(stat -c %s "$vob")
[ "$size" -ge "$min_bytes" ] || { echo "compare.sh: $vob has only $size bytes" >&2; exit 1; }

mkdir -p "$results"
csv=$root/data/code.csv
mib=1048576
set --
for n in 1 5 20; do
  set -- "$@" -n "tonvika-cli --read-size $n" "$cli --code-csv $csv --read-size $n $vob"
done
for n in 1 5 20; do
  set -- "$@" -n "head -c ${n}MiB" "head -c $((n * mib)) $vob"
done
set -- "$@" -n "ffprobe -show_streams" "ffprobe -v error -show_streams $vob"
set -- "$@" -n "mediainfo" "mediainfo $vob"

hyperfine -N --warmup 3 --min-runs 20 --style basic --export-json "$results/compare.json" "$@" >&2

python3 - "$results/compare.json" "$vob" "$size" <<'EOF'
import json
import sys

path, vob, size = sys.argv[1], sys.argv[2], int(sys.argv[3])
runs = {r["command"]: r for r in json.load(open(path))["results"]}
ms = lambda name: runs[name]["mean"] * 1000

print("File: `%s`, %d bytes (%.1f MB)\n" % (vob, size, size / 1e6))
print("| command | mean ms | σ ms | min ms | max ms | runs |")
print("|---|---:|---:|---:|---:|---:|")
for name, r in runs.items():
    print("| %s | %.2f | %.2f | %.2f | %.2f | %d |" % (
        name, r["mean"] * 1000, r["stddev"] * 1000, r["min"] * 1000, r["max"] * 1000,
        len(r["times"])))

base = ms("tonvika-cli --read-size 5")
print("\n| peer | peer / tonvika-cli at read size 5 | goal ≥ 10× |")
print("|---|---:|---|")
for peer in ("ffprobe -show_streams", "mediainfo"):
    ratio = ms(peer) / base
    print("| %s | %.1f× | %s |" % (peer, ratio, "met" if ratio >= 10 else "NOT met"))

print("\n| read size | tonvika-cli ms | head -c ms | difference ms | goal ≤ 2 ms |")
print("|---:|---:|---:|---:|---|")
for n in (1, 5, 20):
    mine, head = ms("tonvika-cli --read-size %d" % n), ms("head -c %dMiB" % n)
    print("| %d MiB | %.2f | %.2f | %+.2f | %s |" % (
        n, mine, head, mine - head, "met" if mine - head <= 2 else "NOT met"))
EOF

# Where tonvika-cli's time beyond head -c goes: the page faults of its read
# buffer (one per 4 KiB page touched), counted when perf is at hand.
if command -v perf > /dev/null && perf stat -e page-faults true > /dev/null 2>&1; then
  printf '\n| read size | tonvika-cli page faults | head -c page faults |\n|---:|---:|---:|\n'
  for n in 1 5 20; do
    mine=$(perf stat -x, -e page-faults "$cli" --code-csv "$csv" --read-size $n "$vob" 2>&1 > /dev/null | cut -d, -f1)
    head=$(perf stat -x, -e page-faults head -c $((n * mib)) "$vob" 2>&1 > /dev/null | cut -d, -f1)
    echo "| $n MiB | $mine | $head |"
  done
fi
