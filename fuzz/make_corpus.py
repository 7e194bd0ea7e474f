#!/usr/bin/env python3
"""Writes the seed corpora fuzz/corpus/<target>/ from the test fixtures.

Only small pieces are kept (file heads, single packs, frame headers), so the
committed seeds stay small; `make fuzz` copies them to a working corpus.
Run from the source root: python3 fuzz/make_corpus.py
"""
import hashlib
import pathlib
import shutil

ROOT = pathlib.Path(__file__).resolve().parent.parent
FIXTURES = ROOT / "tests" / "fixtures"
CORPUS = ROOT / "fuzz" / "corpus"
PACK = 2048
PS1_PACKS_PER_VOB = 4  # private stream 1 packs kept from each video object file
IFO_HEAD = 1024
RAW_HEAD = 2048

AC3_SYNC = bytes([0x0B, 0x77])
DTS_SYNC = bytes([0x7F, 0xFE, 0x80, 0x01])

# Header examples of the analyses: 19 frame bytes from the AC-3 sync word,
# eleven DTS bytes after the sync word.
AC3_EXAMPLES = [
    bytes.fromhex("0B7712341E40E1D840") + bytes(10),
    bytes.fromhex("0B770000144053FA584E2E") + bytes(8),
    bytes.fromhex("0B77000048370FFFECB1E1C05BA48A3CBAD580"),
    bytes.fromhex("0B7700001E50E0") + bytes(12),
]
DTS_EXAMPLES = [
    bytes.fromhex("FC3C3ED275E00A39800000"),
    bytes.fromhex("FE3C7DB277081D12ABC77A"),
]


def write(target, name, data):
    folder = CORPUS / target
    folder.mkdir(parents=True, exist_ok=True)
    digest = hashlib.sha1(data).hexdigest()[:8]
    (folder / f"{name}-{digest}").write_bytes(data)


def fixture_name(path):
    return "_".join(path.relative_to(ROOT).with_suffix("").parts[-4:]).replace("VIDEO_TS_", "")


def sub_stream(pack):
    """The sub-stream number of the pack's first private stream 1 packet."""
    at = pack.find(b"\x00\x00\x01\xbd")
    if at < 0 or at + 9 >= len(pack):
        return None
    number_at = at + 9 + pack[at + 8]
    return pack[number_at] if number_at < len(pack) else None


def private_stream_packs(vob):
    """The first two private stream 1 packs of each sub-stream, file order."""
    data = vob.read_bytes()
    seen = {}
    for start in range(0, len(data) - PACK + 1, PACK):
        pack = data[start:start + PACK]
        number = sub_stream(pack)
        if number is not None and seen.get(number, 0) < 2:
            seen[number] = seen.get(number, 0) + 1
            yield pack


def scan_seeds():
    for vob in sorted(list(FIXTURES.rglob("*.VOB")) + list(FIXTURES.rglob("*.vob"))
                      + list((ROOT / "samples").rglob("*.VOB"))):
        packs = list(private_stream_packs(vob))[:PS1_PACKS_PER_VOB]
        if packs:
            write("scan_fuzz", fixture_name(vob), b"".join(packs))


def raw_files(suffix):
    return sorted(FIXTURES.rglob(f"*.{suffix}"))


def frame_seeds():
    ac3_frames = [f.read_bytes() for f in raw_files("ac3")]
    ac3_frames = [d[d.find(AC3_SYNC):] for d in ac3_frames if AC3_SYNC in d] + AC3_EXAMPLES
    for k, frame in enumerate(ac3_frames):
        write("ac3_frame_fuzz", f"frame{k}", frame[4:19])
    dts_frames = [f.read_bytes() for f in raw_files("dts")]
    dts_headers = [d[d.find(DTS_SYNC) + 4:][:11] for d in dts_frames if DTS_SYNC in d]
    for k, header in enumerate(dts_headers + DTS_EXAMPLES):
        write("dts_frame_fuzz", f"header{k}", header)


def elementary_seeds():
    # First byte: bit 0 picks DTS, the other bits the search block size.
    for k, path in enumerate(raw_files("ac3")):
        write("elementary_file_fuzz", path.stem, bytes([(k * 14) & 0xFE]) + path.read_bytes()[:RAW_HEAD])
    for k, path in enumerate(raw_files("dts")):
        write("elementary_file_fuzz", path.stem, bytes([((k * 14) & 0xFE) | 1]) + path.read_bytes()[:RAW_HEAD])


def ifo_seeds():
    for ifo in sorted(list(FIXTURES.rglob("*.IFO")) + list((ROOT / "samples").rglob("*.IFO"))):
        write("ifo_audio_fuzz", fixture_name(ifo), ifo.read_bytes()[:IFO_HEAD])
    for text in [b"VTS_01_1.VOB", b"/dvd/VIDEO_TS/VIDEO_TS.VOB", b"C:\\DVD\\VTS_02_3.vob", b".vob",
                 "dir/\u30c6\u30b9\u30c8.VOB".encode()]:
        write("ifo_audio_fuzz", "path", text)


# Title sets whose IFOs pair entries and streams in different ways.
DECLARED_IFOS = ["mixed_ac3_dts_lpcm", "declared/swapped_streams", "declared/unavailable_entry",
                 "declared/per_kind_numbers"]


def declared_seeds():
    """IFO heads up to the end of the first program chain's audio control words."""
    for folder in DECLARED_IFOS:
        path = FIXTURES / folder / "VIDEO_TS" / "VTS_01_0.IFO"
        data = path.read_bytes()
        table = int.from_bytes(data[0xCC:0xD0], "big") * PACK
        first_chain = table + int.from_bytes(data[table + 12:table + 16], "big")
        write("ifo_declared_fuzz", fixture_name(path), data[:first_chain + 0x0C + 16])


def language_seeds():
    table = (ROOT / "data" / "code.csv").read_bytes()
    write("language_table_fuzz", "code_csv", table)
    write("language_table_fuzz", "code_csv_head", b"\n".join(table.split(b"\n")[:8]) + b"\n")


def main():
    shutil.rmtree(CORPUS, ignore_errors=True)
    scan_seeds()
    frame_seeds()
    elementary_seeds()
    ifo_seeds()
    declared_seeds()
    language_seeds()


if __name__ == "__main__":
    main()
