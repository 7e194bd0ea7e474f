#!/bin/sh
# Times tonvika-cli against ffprobe and mediainfo on two DVD title set VOBs,
# and against the bare cost of reading the same window (head -c into
# /dev/null), all in one hyperfine run per medium.
#
# The media are made once with ffmpeg and dvdauthor (scripts/dvd_title_set.py
# --no-cut) and kept in BUILD/bench-media*/; they are not part of the sources:
#   bench-media     the bench's own title set: 60 s, 1 Mb/s MPEG-2 video,
#                   AC-3 5.1, DTS 5.1, LPCM stereo (some 29 MB)
#   bench-media-hd  the same tracks under 8.5 Mb/s constant-rate video, 30 s
#                   (some 43 MB): most of the window is video payload
# hyperfine: warmup 5, at least 100 runs, no shell, output to /dev/null; the
# files are in the page cache, so every command reads from memory.
#
# With BASELINE=/path/to/an/older/tonvika-cli (say, the previous commit's
# Release build) the older program runs in the same hyperfine run, at read
# sizes 1 and 5, so a change is measured against what it replaces.
#
# Usage: [BASELINE=CLI] bench/compare.sh [BUILD_DIR]    (default: build; a Release build)
# Needs ffmpeg, dvdauthor, ffprobe, mediainfo, hyperfine and python3
# (scripts/install-deps.sh media). Results: BUILD/bench-results/*.json and
# Markdown tables on standard output.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
cli=$build/src/cli/tonvika-cli
results=$build/bench-results
csv=$root/data/code.csv
mib=1048576
min_bytes=25000000
runs=${RUNS:-100}

for tool in ffprobe mediainfo hyperfine python3; do
  command -v "$tool" > /dev/null || { echo "compare.sh: $tool is missing (scripts/install-deps.sh media)" >&2; exit 1; }
done
[ -x "$cli" ] || { echo "compare.sh: build tonvika-cli first ($cli)" >&2; exit 1; }
if grep -q '^CMAKE_BUILD_TYPE:STRING=Release$' "$build/CMakeCache.txt" 2> /dev/null; then :; else
  echo "compare.sh: warning: $build is not a Release build" >&2
fi

# make_medium FOLDER DURATION VIDEO_RATE
make_medium() {
  vob=$1/VIDEO_TS/VTS_01_1.VOB
  if [ ! -f "$vob" ] || [ "$(stat -c %s "$vob")" -lt "$min_bytes" ]; then
    echo "compare.sh: making the title set in $1 (once)" >&2
    python3 "$root/scripts/dvd_title_set.py" --out "$1" --no-cut --duration "$2" --video-rate "$3" \
      --track "ac3 en 5.1(side) 48000 -b 448k" \
      --track "dts ja 5.1(side) 48000 -b 768k" \
      --track "lpcm16 fr stereo 48000" 2> "$1.log" \
      || { cat "$1.log" >&2; exit 1; }
  fi
  size=$(stat -c %s "$vob")
  [ "$size" -ge "$min_bytes" ] || { echo "compare.sh: $vob has only $size bytes" >&2; exit 1; }
}

mkdir -p "$results"
for medium in bench-media:60:1M bench-media-hd:30:8.5M; do
  name=${medium%%:*}
  rest=${medium#*:}
  make_medium "$build/$name" "${rest%%:*}" "${rest#*:}"
  vob=$build/$name/VIDEO_TS/VTS_01_1.VOB
  set --
  for n in 1 5 20; do
    set -- "$@" -n "tonvika-cli --read-size $n" "$cli --code-csv $csv --read-size $n $vob"
    set -- "$@" -n "head -c ${n}MiB" "head -c $((n * mib)) $vob"
  done
  for n in 1 5; do
    set -- "$@" -n "tonvika-cli --streams --read-size $n" "$cli --code-csv $csv --streams --read-size $n $vob"
    if [ -n "${BASELINE:-}" ]; then
      set -- "$@" -n "baseline --read-size $n" "$BASELINE --code-csv $csv --read-size $n $vob"
    fi
  done
  set -- "$@" -n "ffprobe -show_streams" "ffprobe -v error -show_streams $vob"
  set -- "$@" -n "mediainfo" "mediainfo $vob"
  hyperfine -N --warmup 5 --min-runs "$runs" --style basic --export-json "$results/$name.json" "$@" >&2

  python3 - "$results/$name.json" "$vob" "$build" <<'PY'
import json
import os
import sys

path, vob, build = sys.argv[1], sys.argv[2], sys.argv[3]
runs = {r["command"]: r for r in json.load(open(path))["results"]}
ms = lambda name: runs[name]["mean"] * 1000
size = os.path.getsize(vob)

print("\n### %s (%d bytes, %.1f MB)\n" % (vob.replace(build, "BUILD", 1), size, size / 1e6))
print("| command | mean ms | σ ms | median ms | min ms | runs |")
print("|---|---:|---:|---:|---:|---:|")
for name, r in runs.items():
    print("| %s | %.2f | %.2f | %.2f | %.2f | %d |" % (
        name, r["mean"] * 1000, r["stddev"] * 1000, r["median"] * 1000, r["min"] * 1000,
        len(r["times"])))

base = ms("tonvika-cli --read-size 5")
print("\n| peer | peer / tonvika-cli at read size 5 | goal | |")
print("|---|---:|---:|---|")
for peer, goal in (("mediainfo", 10), ("ffprobe -show_streams", 20)):
    ratio = ms(peer) / base
    print("| %s | %.1f× | ≥ %d× | %s |" % (peer, ratio, goal, "met" if ratio >= goal else "NOT met"))

print("\n| read size | tonvika-cli ms | head -c ms | difference ms | goal ≤ 0.5 ms |")
print("|---:|---:|---:|---:|---|")
for n in (1, 5, 20):
    mine, head = ms("tonvika-cli --read-size %d" % n), ms("head -c %dMiB" % n)
    print("| %d MiB | %.2f | %.2f | %+.2f | %s |" % (
        n, mine, head, mine - head, "met" if mine - head <= 0.5 else "NOT met"))

print("\n| read size | --streams ms | head -c ms | difference ms | goal ≤ 1 ms |")
print("|---:|---:|---:|---:|---|")
for n in (1, 5):
    mine, head = ms("tonvika-cli --streams --read-size %d" % n), ms("head -c %dMiB" % n)
    print("| %d MiB | %.2f | %.2f | %+.2f | %s |" % (
        n, mine, head, mine - head, "met" if mine - head <= 1.0 else "NOT met"))

if "baseline --read-size 1" in runs:
    print("\n| read size | tonvika-cli ms | baseline ms | difference ms |")
    print("|---:|---:|---:|---:|")
    for n in (1, 5):
        mine, old = ms("tonvika-cli --read-size %d" % n), ms("baseline --read-size %d" % n)
        print("| %d MiB | %.2f | %.2f | %+.2f |" % (n, mine, old, mine - old))
PY
done
