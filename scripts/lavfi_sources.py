"""Deterministic ffmpeg lavfi audio sources for the test media."""
import subprocess


def channel_count(layout, rate):
    out = subprocess.run(
        ["ffprobe", "-v", "error", "-f", "lavfi", "-show_entries", "stream=channels",
         "-of", "csv=p=0", "anullsrc=channel_layout=%s:sample_rate=%s" % (layout, rate)],
        check=True, capture_output=True, text=True).stdout
    return int(out.split()[0])


def sine_graph(layout, rate, duration, frequency):
    """A sine of the given frequency on every channel of the layout."""
    routes = "|".join("c%d=c0" % c for c in range(channel_count(layout, rate)))
    return ("sine=frequency=%d:sample_rate=%s:duration=%s,pan=%s|%s"
            % (frequency, rate, duration, layout, routes))
