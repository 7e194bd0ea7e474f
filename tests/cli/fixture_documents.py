"""tonvika-cli's JSON documents for fixture media, shared by the scripts
that set them against what other tools recorded beside the same media."""
import json
import pathlib
import subprocess


def media_with(source, suffix):
    """Every medium of the fixtures and the samples with a record MEDIUM+suffix."""
    records = sorted(p for root in (source / "tests" / "fixtures", source / "samples") for p in root.rglob("*" + suffix))
    return [str(p)[: -len(suffix)] for p in records]


def documents(cli, source, media, *options):
    """One document per medium, in order."""
    code_csv = str(pathlib.Path(source) / "data" / "code.csv")
    out = subprocess.run([cli, "--code-csv", code_csv, "--json", *options, *media], capture_output=True, check=False)
    return json.loads(out.stdout)


def summary(compared, media, failures, what):
    """Prints the closing line; the exit status."""
    print(f"{compared} {what} compared on {len(media)} media, {failures} disagreements")
    if compared == 0:
        print("nothing was compared")
        return 1
    return 1 if failures else 0
