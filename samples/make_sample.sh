#!/bin/sh
# Regenerates the bundled sample title set in samples/VIDEO_TS/ (what
# `make run` opens): VTS_01_1.VOB, cut to its first packs, with
#   audio stream 0: AC-3 5.1 448 kb/s 48 kHz, English  (sub-stream 0x80)
#   audio stream 1: DTS 5.1 768 kb/s 48 kHz, Japanese  (sub-stream 0x89)
#   audio stream 2: LPCM 16-bit 48 kHz stereo, French  (sub-stream 0xA2)
# and the whole VTS_01_0.IFO / VTS_01_0.BUP that dvdauthor wrote for it.
# Needs ffmpeg, dvdauthor and python3 (scripts/install-deps.sh media).
set -eu

here=$(cd "$(dirname "$0")" && pwd)
python3 "$here/../scripts/dvd_title_set.py" --out "$here" --min-dts-syncs 40 \
  --track "ac3 en 5.1(side) 48000 -b 448k" \
  --track "dts ja 5.1(side) 48000 -b 768k" \
  --track "lpcm16 fr stereo 48000"
python3 "$here/../tests/fixtures/check_substreams.py" "$here/VIDEO_TS/VTS_01_1.VOB"
