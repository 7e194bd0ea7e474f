#!/usr/bin/python3
"""Sets what tonvika-cli --extract writes against what ffmpeg took out of the
same streams when the fixtures were made (tests/fixtures/extracted.tsv, by
tests/fixtures/record_extracted.sh):

- AC-3, DTS, MPEG audio: the file, byte for byte, equals ffmpeg's `-c copy`
  output from its first sync word to the end of its last whole frame;
- LPCM: the WAV file's data chunk equals ffmpeg's pcm_s16le/pcm_s24le
  decode, and its header says the same format.

A line with a last column names a disc and its title (`disc/three_title_sets
--title-set 2`): the stream is extracted through the title's cells, from a
folder or an image. A title set in two files without one (A.VOB+B.VOB) is
extracted from the two joined in a file.

Usage: compare_extracted.py TONVIKA_CLI SOURCE_DIR
Exit status 0 when every stream matches, 1 otherwise.
"""
import hashlib
import pathlib
import struct
import subprocess
import sys
import tempfile


def wav_data(data):
    """The data chunk of a RIFF or RF64 WAV file, and its fmt chunk."""
    if data[:4] not in (b"RIFF", b"RF64") or data[8:12] != b"WAVE":
        raise ValueError("not a WAV file")
    at, fmt = 12, None
    while at + 8 <= len(data):
        chunk, size = data[at:at + 4], struct.unpack("<I", data[at + 4:at + 8])[0]
        if chunk == b"fmt ":
            fmt = data[at + 8:at + 8 + size]
        if chunk == b"data":
            if size == 0xFFFFFFFF:
                size = len(data) - at - 8
            return data[at + 8:at + 8 + size], fmt
        at += 8 + size + (size & 1)
    raise ValueError("no data chunk")


def joined(source, work):
    """The fixture VOB, or its title set's VOBs (A.VOB+B.VOB) joined in one file."""
    if "+" not in source.name:
        return source
    path = work / "joined.VOB"
    path.write_bytes(b"".join((source.parent / name).read_bytes() for name in source.name.split("+")))
    return path


def check(cli, fixtures, line, work):
    fields = line.rstrip("\n").split("\t")
    source, stream, kind, size, digest, frames = fields[:6]
    if len(fields) > 6:
        disc, *extra = fields[6].split()
        target = [*extra, str(fixtures / disc)]
        where = f"{fields[6]} {stream}"
    else:
        target = [str(joined(fixtures / source, work))]
        where = f"{source} {stream}"
    out = work / f"out{stream}"
    run = subprocess.run([cli, "--extract", stream, "-o", str(out), "--no-progress", *target],
                         capture_output=True, text=True)
    if run.returncode != 0:
        return [f"{where}: exit status {run.returncode}: {run.stderr.strip()}"]
    data = out.read_bytes()
    out.unlink()
    if kind == "lpcm":
        data, fmt = wav_data(data)
        if fmt is None:
            return [f"{where}: no fmt chunk"]
    problems = []
    if len(data) != int(size):
        problems.append(f"{where}: {len(data)} bytes, ffmpeg {size}")
    elif hashlib.sha256(data).hexdigest() != digest:
        problems.append(f"{where}: the bytes differ from ffmpeg's")
    return problems


def main():
    cli, root = sys.argv[1], pathlib.Path(sys.argv[2])
    fixtures = root / "tests" / "fixtures"
    lines = [l for l in (fixtures / "extracted.tsv").read_text(encoding="utf-8").splitlines()
             if l and not l.startswith("#")]
    problems = []
    with tempfile.TemporaryDirectory() as work:
        for line in lines:
            problems += check(cli, fixtures, line, pathlib.Path(work))
    for problem in problems:
        print(problem)
    print(f"{len(lines)} streams compared, {len(problems)} differ")
    return 1 if problems or not lines else 0


if __name__ == "__main__":
    sys.exit(main())
