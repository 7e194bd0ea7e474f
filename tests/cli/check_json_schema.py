#!/usr/bin/python3
"""Validates what tonvika-cli --json prints of every committed medium against
docs/tonvika.schema.json (JSON Schema draft 2020-12), with each option that
changes the document's content, plus a file that cannot be opened and an
empty one. First it checks that the validator does reject a document with a
key missing, so that a validator that passes everything cannot pass here.

Usage: check_json_schema.py TONVIKA_CLI SOURCE_DIR
Exit status 0 valid, 1 invalid, 77 when python3-jsonschema is missing.
"""
import copy
import json
import pathlib
import shutil
import subprocess
import sys
import tempfile

try:
    import jsonschema
except ImportError:
    print("python3-jsonschema is not installed (scripts/install-deps.sh): skipped")
    sys.exit(77)

MEDIA_SUFFIXES = {".vob", ".ac3", ".dts"}


def media(source):
    """Every committed file medium, and every disc: an image, a folder."""
    found = []
    for root in (source / "tests" / "fixtures", source / "samples"):
        found += [p for p in root.rglob("*") if p.is_file() and p.suffix.lower() in MEDIA_SUFFIXES]
    discs = source / "tests" / "fixtures" / "disc"
    found += [p for p in discs.glob("*.iso")] + [p for p in discs.iterdir() if (p / "VIDEO_TS").is_dir()]
    return sorted(str(p) for p in found)


def run(cli, source, args):
    out = subprocess.run([cli, "--code-csv", str(source / "data" / "code.csv"), "--json", *args],
                         capture_output=True, check=False)
    return json.loads(out.stdout)


def main(argv):
    cli, source = argv[1], pathlib.Path(argv[2])
    schema = json.loads((source / "docs" / "tonvika.schema.json").read_text(encoding="utf-8"))
    jsonschema.Draft202012Validator.check_schema(schema)
    validator = jsonschema.Draft202012Validator(schema)

    files = media(source)
    with tempfile.TemporaryDirectory() as scratch:
        empty = pathlib.Path(scratch) / "empty.vob"
        empty.write_bytes(b"")
        # A disc whose third title set lost its VOB: that title set's error.
        broken = pathlib.Path(scratch) / "broken"
        shutil.copytree(source / "tests" / "fixtures" / "disc" / "three_title_sets", broken)
        (broken / "VIDEO_TS" / "VTS_03_1.VOB").unlink()
        extra = [str(empty), str(pathlib.Path(scratch) / "missing.vob"), str(broken)]
        documents = [run(cli, source, options + files + extra)
                     for options in ([], ["--sync-trace", "--lang", "en"], ["--read-size", "1", "--crlf"])]

    for mutate, what in ((lambda d: d[0]["slots"][0].pop("header"), "a slot without \"header\""),
                         (lambda d: next(o for o in d if "title_set" in o).pop("source"),
                          "a title set without \"source\""),
                         (lambda d: next(o for o in d if o.get("streams"))["streams"][0].pop("delay_ms"),
                          "a stream without \"delay_ms\""),
                         (lambda d: next(s for o in d for s in o.get("streams", [])
                                         if s["kind"] == "MPEG audio")["header"].pop("layer"),
                          "an MPEG audio header without \"layer\"")):
        changed = copy.deepcopy(documents[0])
        mutate(changed)
        if validator.is_valid(changed):
            print("the schema accepts " + what)
            return 1

    errors = 0
    for document in documents:
        for error in validator.iter_errors(document):
            errors += 1
            where = "/".join(str(p) for p in error.absolute_path)
            print(f"{where}: {error.message[:300]}")
    print(f"{len(files)} media, {len(documents)} documents, {errors} schema errors")
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
